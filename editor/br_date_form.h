#pragma once
#include "controls/fixed_dialog.h"

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace tamboro {

class TCalendar;

// Where a picker shown for an edit starts: the date the edit shows, today
// when it is empty. Throws DataError naming a text that is no date.
double startDateFor(const QString& shown);

// The date picker: a window that needs a date calls SetDate with a starting
// date (a day number, the time as a fraction), shows it modally and, only
// when it returned Accepted, reads GetDate.
class TBrDateForm : public TFixedDialog {
    Q_OBJECT
public:
    explicit TBrDateForm(QWidget* parent = nullptr);

    // Shows the date's month with the day selected. Throws DataError for a
    // value outside the years 1 to 9999.
    void SetDate(double dateTime);
    // The picked day without a time of day; the value given to SetDate, time
    // included, while the user has neither picked another day nor stepped
    // the month.
    double GetDate() const;

    TCalendar* calendar() const { return Calendar1; }

protected:
    void showEvent(QShowEvent* e) override;

private slots:
    void Calendar1Change();
    void PrevMonthBtnClick();
    void NextMonthBtnClick();

private:
    void stepMonth(int delta);

    QFrame* Bevel1;
    QLabel* TitleLabel;
    QToolButton* PrevMonthBtn;
    QToolButton* NextMonthBtn;
    TCalendar* Calendar1;
    QPushButton* OkBtn;
    QPushButton* CancelBtn;
};

}  // namespace tamboro
