#include "editor/calendar.h"

#include <QDate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <cmath>

#include "data/error.h"
#include "data/locale_jp.h"

namespace tamboro {
namespace {

constexpr const char* kNotConvertible = "日付に変換できない値が渡されました";

// The calendar covers the years 1 to 9999, as the date functions do.
const int32_t kFirstDay = dayNumber(1, 1, 1);
const int32_t kLastDay = dayNumber(9999, 12, 31);

int32_t dayOf(double dateTime) {
    int32_t day = 0, ms = 0;
    splitDateTime(dateTime, day, ms);
    return day;
}

int32_t today() {
    const QDate d = QDate::currentDate();
    return dayNumber(d.year(), d.month(), d.day());
}

// Held while the layout is rebuilt; clears the flag also when a step throws.
class RebuildGuard {
public:
    explicit RebuildGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~RebuildGuard() { flag_ = false; }
    RebuildGuard(const RebuildGuard&) = delete;
    RebuildGuard& operator=(const RebuildGuard&) = delete;

private:
    bool& flag_;
};

}  // namespace

TCalendar::TCalendar(QWidget* parent) : QFrame(parent), date_(today()) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
    updateCellSizes();
    LayOutMonth();
}

void TCalendar::setSelectedDate(double dateTime) {
    // A value no date function can decode would leave the grid meaningless.
    const int32_t day = dayOf(dateTime);
    if (std::isnan(dateTime) || day < kFirstDay || day > kLastDay) throw DataError(kNotConvertible);
    date_ = dateTime;
    LayOutMonth();
    emit changed();
}

int TCalendar::dateElement(int index) const {
    const CivilDate c = civilFromDayNumber(dayOf(date_));
    switch (index) {
        case 0: return c.year;
        case 1: return c.month;
        case 2: return c.day;
        default: return -1;
    }
}

void TCalendar::setDateElement(int index, int value) {
    if (value < 1) return;
    if (index == 1 && value > 12) return;
    if (index == 2 && value > MonthLength(year(), month())) return;
    if (index < 0 || index > 2 || value == dateElement(index)) return;
    CivilDate c = civilFromDayNumber(dayOf(date_));
    (index == 0 ? c.year : index == 1 ? c.month : c.day) = value;
    if (!isValidDate(c.year, c.month, c.day)) throw DataError(kNotConvertible);
    date_ = dayNumber(c.year, c.month, c.day);
    useCurrentDate_ = false;
    LayOutMonth();
    emit changed();
}

void TCalendar::setStartOfWeek(int value) {
    if (value < 0 || value > 6 || value == startOfWeek_) return;
    startOfWeek_ = value;
    LayOutMonth();
}

void TCalendar::setUseCurrentDate(bool value) {
    if (value == useCurrentDate_) return;
    useCurrentDate_ = value;
    if (value) {
        date_ = today();
        LayOutMonth();
    }
}

void TCalendar::setGridLineWidth(int value) {
    if (value < 0 || value == gridLineWidth_) return;
    gridLineWidth_ = value;
    updateCellSizes();
    update();
}

void TCalendar::StepMonth(int delta) {
    const CivilDate c = civilFromDayNumber(dayOf(date_));
    // One day past the month's edge lands in the neighbouring month.
    const int edgeDay = delta <= 0 ? 1 : MonthLength(c.year, c.month);
    const CivilDate n = civilFromDayNumber(dayNumber(c.year, c.month, edgeDay) + delta);
    const int length = MonthLength(n.year, n.month);
    const int day = c.day < length ? c.day : length;
    if (!isValidDate(n.year, n.month, day)) throw DataError(kNotConvertible);
    setSelectedDate(dayNumber(n.year, n.month, day));
}

QString TCalendar::DayText(int col, int row) const {
    if (col < 0 || col >= kColCount || row < 0 || row >= kRowCount) return {};
    if (row == 0) return QString::fromStdString(shortDayName((col + startOfWeek_) % 7));
    const int n = col + leadOffset_ + 7 * (row - 1);
    if (n < 1 || n > MonthLength(year(), month())) return {};
    return QString::number(n);
}

int TCalendar::MonthLength(int year, int month) { return daysInMonth(year, month); }

void TCalendar::LayOutMonth() {
    RebuildGuard guard(rebuilding_);
    const CivilDate c = civilFromDayNumber(dayOf(date_));
    const int firstWeekday = dayOfWeek(dayNumber(c.year, c.month, 1)) + 1;  // 1 = Sunday
    const int a = (firstWeekday - startOfWeek_ + 7) % 7;
    // a = 0: the first falls in the last column of week row 1, not a row above.
    leadOffset_ = a == 0 ? -5 : 2 - a;
    const int pos = c.day - leadOffset_;
    const int col = pos % 7;
    const int row = pos / 7 + 1;
    if (canSelect(col, row)) {
        col_ = col;
        row_ = row;
    }
    update();
}

bool TCalendar::canSelect(int col, int row) const {
    if (row < 1 || row >= kRowCount || col < 0 || col >= kColCount) return false;
    if (readOnly_ && !rebuilding_) return false;
    return !DayText(col, row).isEmpty();
}

bool TCalendar::moveSelection(int col, int row) {
    if (!canSelect(col, row)) return false;
    col_ = col;
    row_ = row;
    update();
    const QString text = DayText(col_, row_);
    if (!text.isEmpty()) setDay(text.toInt());
    return true;
}

QRect TCalendar::cellRect(int col, int row) const {
    const QRect area = contentsRect();
    return {area.left() + col * (colWidth_ + gridLineWidth_), area.top() + row * (rowHeight_ + gridLineWidth_),
            colWidth_, rowHeight_};
}

bool TCalendar::cellAt(const QPoint& pos, int& col, int& row) const {
    const QRect area = contentsRect();
    const int x = pos.x() - area.left();
    const int y = pos.y() - area.top();
    const int colStep = colWidth_ + gridLineWidth_;
    const int rowStep = rowHeight_ + gridLineWidth_;
    if (x < 0 || y < 0 || colStep <= 0 || rowStep <= 0) return false;
    col = x / colStep;
    row = y / rowStep;
    return col < kColCount && row < kRowCount;
}

void TCalendar::updateCellSizes() {
    const QRect area = contentsRect();
    const int lines = 6 * gridLineWidth_;
    colWidth_ = std::max(0, (area.width() - lines) / 7);
    rowHeight_ = std::max(0, (area.height() - lines) / 7);
}

void TCalendar::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    updateCellSizes();
}

void TCalendar::drawCell(QPainter& p, int col, int row) {
    const QRect r = cellRect(col, row);
    const bool fixed = row == 0;
    const bool selected = !fixed && col == col_ && row == row_;
    QColor textColor = palette().color(QPalette::Text);
    if (fixed) {
        p.fillRect(r, palette().color(QPalette::Button));
        textColor = palette().color(QPalette::ButtonText);
    } else if (selected) {
        // Highlighted also while focused, so the picked day always stands out.
        p.fillRect(r, palette().color(QPalette::Highlight));
        textColor = palette().color(QPalette::HighlightedText);
    }
    const QString text = DayText(col, row);
    if (!text.isEmpty()) {
        const QFontMetrics fm(font());
        // Centred both ways, each offset halved towards zero.
        const int x = r.left() + (r.width() - fm.horizontalAdvance(text)) / 2;
        const int y = r.top() + (r.height() - fm.height()) / 2;
        p.save();
        p.setClipRect(r);
        p.setPen(textColor);
        p.drawText(x, y + fm.ascent(), text);
        p.restore();
    }
    if (selected && hasFocus()) {
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = r;
        opt.backgroundColor = palette().color(QPalette::Highlight);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }
}

void TCalendar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect area = contentsRect();
    p.fillRect(area, palette().color(QPalette::Base));
    if (gridLineWidth_ > 0) {
        const QColor line = palette().color(QPalette::Mid);
        const int right = area.left() + kColCount * (colWidth_ + gridLineWidth_);
        const int bottom = area.top() + kRowCount * (rowHeight_ + gridLineWidth_);
        for (int c = 0; c < kColCount; ++c) {
            const QRect cell = cellRect(c, 0);
            p.fillRect(QRect(cell.right() + 1, area.top(), gridLineWidth_, bottom - area.top()), line);
        }
        for (int r = 0; r < kRowCount; ++r) {
            const QRect cell = cellRect(0, r);
            p.fillRect(QRect(area.left(), cell.bottom() + 1, right - area.left(), gridLineWidth_), line);
        }
    }
    for (int r = 0; r < kRowCount; ++r)
        for (int c = 0; c < kColCount; ++c) drawCell(p, c, r);
    drawFrame(&p);
}

void TCalendar::mousePressEvent(QMouseEvent* e) {
    int col = 0, row = 0;
    if (e->button() == Qt::LeftButton && cellAt(e->position().toPoint(), col, row)) moveSelection(col, row);
    e->accept();
}

void TCalendar::mouseMoveEvent(QMouseEvent* e) {
    // Dragging with the button held moves the selection along, as a click would.
    int col = 0, row = 0;
    if ((e->buttons() & Qt::LeftButton) && cellAt(e->position().toPoint(), col, row) &&
        (col != col_ || row != row_))
        moveSelection(col, row);
    e->accept();
}

void TCalendar::keyPressEvent(QKeyEvent* e) {
    int col = col_, row = row_;
    switch (e->key()) {
        case Qt::Key_Left: --col; break;
        case Qt::Key_Right: ++col; break;
        case Qt::Key_Up: --row; break;
        case Qt::Key_Down: ++row; break;
        case Qt::Key_Home: col = 0; break;
        case Qt::Key_End: col = kColCount - 1; break;
        default: QFrame::keyPressEvent(e); return;
    }
    // A key that would leave the month or the grid leaves the selection where it is.
    moveSelection(col, row);
    e->accept();
}

}  // namespace tamboro
