#pragma once
#include <QFrame>
#include <QString>

class QPainter;

namespace tamboro {

// A month shown as a grid of seven columns: one fixed row of day names and
// six week rows. The user picks a day by clicking it or moving onto it with
// the arrow keys; only cells that hold a day of the shown month take the
// selection. Dates are day numbers from 1899-12-30, the time as a fraction.
class TCalendar : public QFrame {
    Q_OBJECT
    Q_PROPERTY(double SelectedDate READ selectedDate WRITE setSelectedDate)
    Q_PROPERTY(int Day READ day WRITE setDay)
    Q_PROPERTY(int Month READ month WRITE setMonth)
    Q_PROPERTY(int Year READ year WRITE setYear)
    Q_PROPERTY(int StartOfWeek READ startOfWeek WRITE setStartOfWeek)
    Q_PROPERTY(bool UseCurrentDate READ useCurrentDate WRITE setUseCurrentDate)
    Q_PROPERTY(bool ReadOnly READ readOnly WRITE setReadOnly)
    Q_PROPERTY(int GridLineWidth READ gridLineWidth WRITE setGridLineWidth)
public:
    static constexpr int kColCount = 7;
    static constexpr int kRowCount = 7;

    // Shows today's month with today selected.
    explicit TCalendar(QWidget* parent = nullptr);

    double selectedDate() const { return date_; }
    // Stores the value, rebuilds the layout and emits changed(). Throws
    // DataError for a value outside the years 1 to 9999, keeping the date.
    void setSelectedDate(double dateTime);

    // Elements of the selected date. Setting one to a value out of range is
    // ignored; setting Month or Year so that the day does not exist throws
    // DataError and keeps the date. A real change drops the time of day,
    // clears UseCurrentDate and emits changed().
    int day() const { return dateElement(2); }
    int month() const { return dateElement(1); }
    int year() const { return dateElement(0); }
    void setDay(int value) { setDateElement(2, value); }
    void setMonth(int value) { setDateElement(1, value); }
    void setYear(int value) { setDateElement(0, value); }

    // Weekday of column 0, 0 = Sunday .. 6 = Saturday.
    int startOfWeek() const { return startOfWeek_; }
    void setStartOfWeek(int value);
    // Turning it on jumps to today (without emitting changed()).
    bool useCurrentDate() const { return useCurrentDate_; }
    void setUseCurrentDate(bool value);
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool value) { readOnly_ = value; }
    int gridLineWidth() const { return gridLineWidth_; }
    void setGridLineWidth(int value);

    // Day number that column 0 of week row 1 would hold (-5 .. 1).
    int leadOffset() const { return leadOffset_; }
    // The selected cell; row 0 is the day-name header.
    int col() const { return col_; }
    int row() const { return row_; }
    int colWidth() const { return colWidth_; }
    int rowHeight() const { return rowHeight_; }
    // The cell's rectangle in widget coordinates.
    QRect cellRect(int col, int row) const;

    // Moves by one month, keeping the day where the new month has it.
    void StepMonth(int delta);
    void StepBack() { StepMonth(-1); }
    void StepForward() { StepMonth(1); }
    // Day name in row 0, the day's number in week rows, empty outside the month.
    QString DayText(int col, int row) const;
    static int MonthLength(int year, int month);

    // Moves the selection as the user would (mouse or arrow keys): refused
    // on an empty cell, on the header and while read-only; a moved selection
    // sets Day. Returns whether the selection moved.
    bool moveSelection(int col, int row);

    QSize sizeHint() const override { return {397, 166}; }

signals:
    // After every announced change of the selected date.
    void changed();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    int dateElement(int index) const;
    void setDateElement(int index, int value);
    // Recomputes LeadOffset and puts the selection on the selected day.
    void LayOutMonth();
    bool canSelect(int col, int row) const;
    bool cellAt(const QPoint& pos, int& col, int& row) const;
    void updateCellSizes();
    void drawCell(QPainter& p, int col, int row);

    double date_ = 0;
    int leadOffset_ = 1;
    bool readOnly_ = false;
    int startOfWeek_ = 0;
    bool rebuilding_ = false;
    bool useCurrentDate_ = true;
    int gridLineWidth_ = 1;
    int col_ = 0;
    int row_ = 1;
    int colWidth_ = 0;
    int rowHeight_ = 0;
};

}  // namespace tamboro
