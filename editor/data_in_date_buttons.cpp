// The record editor's calendar buttons beside the purchase and release dates.
#include <QDate>
#include <QLineEdit>
#include <QToolButton>

#include "controls/button_pictures.h"
#include "controls/form_parts.h"
#include "controls/message_boxes.h"
#include "data/data_module.h"
#include "data/locale_jp.h"
#include "editor/br_date_form.h"
#include "editor/data_in_form.h"

namespace tamboro {
namespace {

QToolButton* calendarButton(QWidget* beside, const char* name) {
    auto* b = named(new QToolButton(beside->parentWidget()), name,
                    QRect(beside->geometry().right() + 2, beside->y(), 22, beside->height()));
    b->setIcon(buttonPicture(ButtonPicture::Calendar));
    b->setToolTip(QStringLiteral("Calendar"));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

void TFDataIn::buildDateButtons() {
    auto* purchase = findChild<QLineEdit*>(QStringLiteral("EKounyuu"));
    auto* release = findChild<QLineEdit*>(QStringLiteral("EHatsubaiDate"));
    connect(calendarButton(purchase, "PopupCalBtn"), &QToolButton::clicked, this, [this] { PopupCalBtnClick(); });
    connect(calendarButton(release, "PopupCalBtn2"), &QToolButton::clicked, this, [this] { PopupCalBtn2Click(); });
}

void TFDataIn::PopupCalBtnClick() { pickDate(fld::PurchaseDate, "EKounyuu"); }

void TFDataIn::PopupCalBtn2Click() { pickDate(fld::ReleaseDate, "EHatsubaiDate"); }

void TFDataIn::pickDate(std::string_view field, const char* editName) {
    if (!dateForm_) return;
    guarded([&] {
        Table& titles = dm_.CDvd;
        const Field f = titles.fieldU8(field);
        double start = f.isNull() ? 0 : f.asDateTime();
        if (start <= 0) {
            const QDate today = QDate::currentDate();
            start = dayNumber(today.year(), today.month(), today.day());
        }
        dateForm_->SetDate(start);
        if (dateForm_->exec() != QDialog::Accepted) return;
        if (titles.state() == TableState::Browse) titles.edit();
        titles.fieldU8(field).setDateTime(dateForm_->GetDate());
        findChild<QLineEdit*>(QString::fromLatin1(editName))->selectAll();
    });
}

}  // namespace tamboro
