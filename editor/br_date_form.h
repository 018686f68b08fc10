#pragma once
#include <QDialog>

class QCalendarWidget;

namespace tamboro {

// The date picker: a window that needs a date calls SetDate with a starting
// date (a day number, the time as a fraction), shows it modally and, only
// when it returned Accepted, reads GetDate.
class TBrDateForm : public QDialog {
    Q_OBJECT
public:
    explicit TBrDateForm(QWidget* parent = nullptr);

    void SetDate(double dateTime);
    // The picked day; when the day was not changed, the starting value with
    // its time of day.
    double GetDate() const;

private:
    QCalendarWidget* calendar_;
    double start_ = 0;
};

}  // namespace tamboro
