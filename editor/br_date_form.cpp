#include "editor/br_date_form.h"

#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "controls/app_font.h"
#include "controls/message_boxes.h"
#include "data/error.h"
#include "data/locale_jp.h"
#include "data/messages.h"
#include "editor/calendar.h"

namespace tamboro {

double startDateFor(const QString& shown) {
    if (shown.isEmpty()) {
        const QDate today = QDate::currentDate();
        return dayNumber(today.year(), today.month(), today.day());
    }
    if (const std::optional<double> value = parseDateTime(shown.toStdString())) return *value;
    throw DataError(formatMessage(msg::kNotDateTime, {shown.toStdString()}));
}
namespace {

QToolButton* monthButton(QWidget* parent, const char* name, Qt::ArrowType arrow, const QRect& geometry) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setArrowType(arrow);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(geometry);
    return b;
}

QPushButton* modalButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    return b;
}

}  // namespace

// Escape does not close it; the close box ends it like Cancel.
TBrDateForm::TBrDateForm(QWidget* parent) : TFixedDialog(QSize(453, 275), CloseBox::Ends, parent) {
    setObjectName(QStringLiteral("BrDateForm"));
    setWindowTitle(QStringLiteral("日付選択"));
    setFont(appFont(15));
    QPalette pal = palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) pal.setColor(role, Qt::black);
    setPalette(pal);
    setDesignedPosition(QPoint(76, 55));

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 437, 218);

    PrevMonthBtn = monthButton(this, "PrevMonthBtn", Qt::UpArrow, QRect(28, 15, 28, 28));
    NextMonthBtn = monthButton(this, "NextMonthBtn", Qt::DownArrow, QRect(397, 15, 28, 28));
    TitleLabel = new QLabel(this);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    TitleLabel->setAlignment(Qt::AlignCenter);
    QFont bold = font();
    bold.setBold(true);
    TitleLabel->setFont(bold);
    TitleLabel->setGeometry(60, 15, 333, 28);

    Calendar1 = new TCalendar(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setGeometry(28, 50, 397, 166);
    QPalette calPal = Calendar1->palette();
    calPal.setColor(QPalette::Base, calPal.color(QPalette::ToolTipBase));
    Calendar1->setPalette(calPal);
    Calendar1->setStartOfWeek(0);
    Calendar1->setUseCurrentDate(false);

    OkBtn = modalButton(this, "OkBtn", QStringLiteral("&OK"), QRect(276, 237, 80, 30));
    OkBtn->setDefault(true);
    CancelBtn = modalButton(this, "CancelBtn", QStringLiteral("&Cancel"), QRect(365, 237, 80, 30));
    setTabOrder(Calendar1, OkBtn);
    setTabOrder(OkBtn, CancelBtn);

    connect(Calendar1, &TCalendar::changed, this, &TBrDateForm::Calendar1Change);
    connect(PrevMonthBtn, &QToolButton::clicked, this, &TBrDateForm::PrevMonthBtnClick);
    connect(NextMonthBtn, &QToolButton::clicked, this, &TBrDateForm::NextMonthBtnClick);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    Calendar1Change();
}

void TBrDateForm::SetDate(double dateTime) { Calendar1->setSelectedDate(dateTime); }

double TBrDateForm::GetDate() const { return Calendar1->selectedDate(); }

void TBrDateForm::Calendar1Change() {
    TitleLabel->setText(QStringLiteral("%1, %2")
                            .arg(QString::fromStdString(longMonthName(Calendar1->month())))
                            .arg(Calendar1->year(), 4, 10, QLatin1Char('0')));
}

void TBrDateForm::PrevMonthBtnClick() { stepMonth(-1); }

void TBrDateForm::NextMonthBtnClick() { stepMonth(1); }

void TBrDateForm::stepMonth(int delta) {
    // Only stepping past the years 1 and 9999 fails; the error must not
    // unwind through the button's signal.
    try {
        Calendar1->StepMonth(delta);
    } catch (const DataError& e) {
        ShowDefaultError(e);
    }
}

void TBrDateForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Calendar1->setFocus();
}

}  // namespace tamboro
