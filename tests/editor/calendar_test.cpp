#include <QDate>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "data/error.h"
#include "data/locale_jp.h"
#include "editor/calendar.h"

using namespace tamboro;

namespace {

double date(int y, int m, int d) { return dayNumber(y, m, d); }
double date(const QDate& d) { return dayNumber(d.year(), d.month(), d.day()); }

QPoint selected(const TCalendar& c) { return {c.col(), c.row()}; }

// The cell that shows day n of the current month.
QPoint cellOfDay(const TCalendar& c, int n) {
    for (int row = 1; row < TCalendar::kRowCount; ++row)
        for (int col = 0; col < TCalendar::kColCount; ++col)
            if (c.DayText(col, row) == QString::number(n)) return {col, row};
    return {-1, -1};
}

void click(TCalendar& c, QPoint cell) {
    QTest::mouseClick(&c, Qt::LeftButton, {}, c.cellRect(cell.x(), cell.y()).center());
}

}  // namespace

class CalendarTest : public QObject {
    Q_OBJECT

private slots:
    void monthLengthFollowsLeapRule() {
        QCOMPARE(TCalendar::MonthLength(1900, 2), 28);
        QCOMPARE(TCalendar::MonthLength(2000, 2), 29);
        QCOMPARE(TCalendar::MonthLength(2004, 2), 29);
        QCOMPARE(TCalendar::MonthLength(2003, 2), 28);
        QCOMPARE(TCalendar::MonthLength(2004, 4), 30);
    }

    void stepMonthKeepsDayWherePossible_data() {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<int>("delta");
        QTest::addColumn<QDate>("to");
        QTest::newRow("31 Jan 2004 forward") << QDate(2004, 1, 31) << 1 << QDate(2004, 2, 29);
        QTest::newRow("31 Jan 2003 forward") << QDate(2003, 1, 31) << 1 << QDate(2003, 2, 28);
        QTest::newRow("1 Jan back") << QDate(2004, 1, 1) << -1 << QDate(2003, 12, 1);
        QTest::newRow("15 Jan back") << QDate(2004, 1, 15) << -1 << QDate(2003, 12, 15);
        QTest::newRow("31 Mar back") << QDate(2004, 3, 31) << -1 << QDate(2004, 2, 29);
        QTest::newRow("31 Dec forward") << QDate(2004, 12, 31) << 1 << QDate(2005, 1, 31);
    }
    void stepMonthKeepsDayWherePossible() {
        QFETCH(QDate, from);
        QFETCH(int, delta);
        QFETCH(QDate, to);
        TCalendar c;
        c.setSelectedDate(date(from) + 0.75);  // the time of day does not survive a step
        QSignalSpy spy(&c, &TCalendar::changed);
        c.StepMonth(delta);
        QCOMPARE(c.selectedDate(), date(to));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(c.DayText(c.col(), c.row()), QString::number(to.day()));
    }

    // In 2004 February starts on a Sunday, March on a Monday, May on a
    // Saturday, October (31 days) on a Friday.
    void firstDayLandsInItsWeekdayColumn_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("startOfWeek");
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<int>("leadOffset");
        QTest::newRow("Sunday in column 0") << QDate(2004, 2, 1) << 0 << QPoint(0, 1) << 1;
        QTest::newRow("Saturday in column 6") << QDate(2004, 5, 1) << 0 << QPoint(6, 1) << -5;
        QTest::newRow("Monday first: Monday") << QDate(2004, 3, 1) << 1 << QPoint(0, 1) << 1;
        QTest::newRow("Monday first: Sunday") << QDate(2004, 2, 1) << 1 << QPoint(6, 1) << -5;
        QTest::newRow("31st of October in row 6") << QDate(2004, 10, 31) << 0 << QPoint(0, 6) << -4;
    }
    void firstDayLandsInItsWeekdayColumn() {
        QFETCH(QDate, day);
        QFETCH(int, startOfWeek);
        QFETCH(QPoint, cell);
        QFETCH(int, leadOffset);
        TCalendar c;
        c.setStartOfWeek(startOfWeek);
        c.setSelectedDate(date(day));
        QCOMPARE(c.leadOffset(), leadOffset);
        QCOMPARE(selected(c), cell);
        QCOMPARE(c.DayText(cell.x(), cell.y()), QString::number(day.day()));
    }

    void headerFollowsStartOfWeekQuietly() {
        TCalendar c;
        c.setSelectedDate(date(2004, 12, 15));
        QCOMPARE(c.DayText(0, 0), QStringLiteral("日"));
        QCOMPARE(c.DayText(6, 0), QStringLiteral("土"));
        QSignalSpy spy(&c, &TCalendar::changed);
        c.setStartOfWeek(1);
        QCOMPARE(c.DayText(0, 0), QStringLiteral("月"));
        QCOMPARE(c.DayText(6, 0), QStringLiteral("日"));
        QCOMPARE(c.DayText(c.col(), c.row()), QStringLiteral("15"));
        QCOMPARE(spy.count(), 0);
    }

    void clickPicksOnlyDaysOfTheMonth() {
        TCalendar c;
        c.show();
        const double start = date(2004, 12, 15) + 0.5;  // 1st in column 3, 31st in column 5 of row 5
        c.setSelectedDate(start);
        QSignalSpy spy(&c, &TCalendar::changed);
        for (QPoint blank : {QPoint(0, 1), QPoint(6, 5), QPoint(3, 6), QPoint(2, 0)}) click(c, blank);
        click(c, cellOfDay(c, 15));  // the selected day: no change, the time kept
        QCOMPARE(c.selectedDate(), start);
        QCOMPARE(selected(c), cellOfDay(c, 15));
        QCOMPARE(spy.count(), 0);
        QVERIFY(c.useCurrentDate());

        click(c, cellOfDay(c, 20));
        QCOMPARE(c.selectedDate(), date(2004, 12, 20));
        QCOMPARE(selected(c), cellOfDay(c, 20));
        QCOMPARE(spy.count(), 1);
        QVERIFY(!c.useCurrentDate());
    }

    void arrowKeysStayInsideTheMonthAndRespectReadOnly() {
        TCalendar c;
        c.show();
        c.setSelectedDate(date(2004, 12, 31));
        QTest::keyClick(&c, Qt::Key_Right);  // blank cells
        QTest::keyClick(&c, Qt::Key_Down);
        QCOMPARE(c.selectedDate(), date(2004, 12, 31));
        QTest::keyClick(&c, Qt::Key_Up);
        QTest::keyClick(&c, Qt::Key_Left);
        QCOMPARE(c.selectedDate(), date(2004, 12, 23));

        c.setReadOnly(true);
        QTest::keyClick(&c, Qt::Key_Left);
        click(c, cellOfDay(c, 5));
        QCOMPARE(c.selectedDate(), date(2004, 12, 23));
        c.setSelectedDate(date(2004, 12, 5));  // the program still moves it
        QCOMPARE(selected(c), cellOfDay(c, 5));
    }

    void elementSettersIgnoreOutOfRangeValues() {
        TCalendar c;
        c.setSelectedDate(date(2004, 4, 15));
        QSignalSpy spy(&c, &TCalendar::changed);
        for (int v : {0, 31, 15}) c.setDay(v);  // April has 30 days; 15 is the day already
        for (int v : {0, 13}) c.setMonth(v);
        c.setYear(-1);
        QCOMPARE(c.selectedDate(), date(2004, 4, 15));
        QCOMPARE(spy.count(), 0);
        c.setYear(2005);
        c.setMonth(6);
        QCOMPARE(c.selectedDate(), date(2005, 6, 15));
        QCOMPARE(spy.count(), 2);
    }

    void elementSettersRejectDaysTheMonthLacks() {
        TCalendar c;
        QSignalSpy spy(&c, &TCalendar::changed);
        const double march31 = date(2004, 3, 31) + 0.25;
        c.setSelectedDate(march31);
        try {
            c.setMonth(4);
            QFAIL("no error");
        } catch (const DataError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("日付に変換できない値が渡されました"));
        }
        QCOMPARE(c.selectedDate(), march31);
        c.setSelectedDate(date(2004, 2, 29));
        QVERIFY_THROWS_EXCEPTION(DataError, c.setYear(2003));
        QVERIFY_THROWS_EXCEPTION(DataError, c.setYear(10000));
        QVERIFY_THROWS_EXCEPTION(DataError, c.setSelectedDate(std::nan("")));
        QCOMPARE(c.selectedDate(), date(2004, 2, 29));
        QCOMPARE(spy.count(), 2);  // the two successful sets only
        QVERIFY(c.useCurrentDate());
    }

    void useCurrentDateJumpsToTodayQuietly() {
        TCalendar c;
        const double today = date(QDate::currentDate());
        QCOMPARE(c.selectedDate(), today);
        c.setSelectedDate(date(2004, 12, 15));
        c.setUseCurrentDate(false);
        QCOMPARE(c.selectedDate(), date(2004, 12, 15));
        QSignalSpy spy(&c, &TCalendar::changed);
        c.setUseCurrentDate(true);
        QCOMPARE(c.selectedDate(), today);
        QCOMPARE(selected(c), cellOfDay(c, QDate::currentDate().day()));
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_MAIN(CalendarTest)
#include "calendar_test.moc"
