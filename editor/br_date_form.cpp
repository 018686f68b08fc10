#include "editor/br_date_form.h"

#include <QCalendarWidget>
#include <QDate>
#include <QPushButton>
#include <cmath>

#include "controls/app_font.h"

namespace tamboro {
namespace {

// Day numbers count from 1899-12-30.
const QDate kDayZero(1899, 12, 30);

}  // namespace

TBrDateForm::TBrDateForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("BrDateForm"));
    setWindowTitle(QStringLiteral("日付選択"));
    setFont(appFont(15));
    setFixedSize(453, 275);
    move(76, 55);

    calendar_ = new QCalendarWidget(this);
    calendar_->setObjectName(QStringLiteral("Calendar1"));
    calendar_->setGeometry(8, 8, 437, 216);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BOk"));
    ok->setGeometry(264, 234, 87, 31);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("BCancel"));
    cancel->setGeometry(358, 234, 87, 31);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TBrDateForm::SetDate(double dateTime) {
    start_ = dateTime;
    calendar_->setSelectedDate(kDayZero.addDays(static_cast<qint64>(std::floor(dateTime))));
}

double TBrDateForm::GetDate() const {
    const double day = static_cast<double>(kDayZero.daysTo(calendar_->selectedDate()));
    return day == std::floor(start_) ? start_ : day;
}

}  // namespace tamboro
