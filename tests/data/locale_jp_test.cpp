#include "data/locale_jp.h"

#include <gtest/gtest.h>

#include <cmath>

#include "data/error.h"

using namespace tamboro;

TEST(Calendar, LeapYearsAndMonthLengthsFollowTheGregorianRule) {
    for (int y : {1600, 2000, 2004}) EXPECT_TRUE(isLeapYear(y)) << y;
    for (int y : {1900, 2003, 2100}) EXPECT_FALSE(isLeapYear(y)) << y;
    const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(daysInMonth(2003, m), lengths[m - 1]) << m;
        EXPECT_EQ(daysInMonth(2004, m), lengths[m - 1] + (m == 2)) << m;
    }
    EXPECT_EQ(daysInMonth(1900, 2), 28);
    EXPECT_EQ(daysInMonth(2000, 2), 29);
    EXPECT_EQ(daysInMonth(2004, 0), 0);
    EXPECT_EQ(daysInMonth(2004, 13), 0);
    EXPECT_TRUE(isValidDate(9999, 12, 31));
    EXPECT_FALSE(isValidDate(2004, 2, 30) || isValidDate(0, 1, 1) || isValidDate(10000, 1, 1));
}

TEST(Calendar, KnownDaysHaveTheirNumbersAndShortDates) {
    struct Case { int y, m, d; int32_t n; const char* text; };
    const Case cases[] = {
        {1899, 12, 30, 0, "1899/12/30"},  {1899, 12, 31, 1, "1899/12/31"},     {1899, 12, 29, -1, "1899/12/29"},
        {1900, 1, 1, 2, "1900/01/01"},    {1900, 3, 1, 61, "1900/03/01"},  // 1900 has no 29 February
        {2004, 1, 5, 37991, "2004/01/05"}, {2004, 12, 25, 38346, "2004/12/25"}, {1, 1, 1, -693593, "0001/01/01"},
        {9999, 12, 31, 2958465, "9999/12/31"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dayNumber(c.y, c.m, c.d), c.n) << c.text;
        EXPECT_EQ(formatShortDate(c.n), c.text);
        EXPECT_EQ(parseShortDate(c.text), c.n) << c.text;
    }
}

TEST(Calendar, EveryDayFromYear1To9999RoundTripsAndFollowsTheLastOne) {
    CivilDate prev = civilFromDayNumber(-693594);
    EXPECT_EQ(prev.year, 0);
    for (int32_t d = -693593; d <= 2958465; ++d) {
        const CivilDate c = civilFromDayNumber(d);
        const bool nextInMonth = c.year == prev.year && c.month == prev.month && c.day == prev.day + 1;
        const bool nextMonth = c.day == 1 && prev.day == daysInMonth(prev.year, prev.month) &&
                               ((c.year == prev.year && c.month == prev.month + 1) ||
                                (c.year == prev.year + 1 && c.month == 1 && prev.month == 12));
        ASSERT_TRUE(nextInMonth || nextMonth) << d;
        ASSERT_EQ(dayNumber(c.year, c.month, c.day), d);
        prev = c;
    }
}

TEST(Calendar, DayOfWeekAndNames) {
    // 1899-12-30 was a Saturday (6); 0001-01-01 a Monday.
    const std::pair<int32_t, int> cases[] = {{0, 6}, {1, 0}, {-1, 5}, {-7, 6}, {38346, 6},
                                             {dayNumber(2000, 1, 1), 6}, {-693593, 1}};
    for (auto [day, dow] : cases) EXPECT_EQ(dayOfWeek(day), dow) << day;
    EXPECT_EQ(dayOfWeek(INT32_MIN), dayOfWeek(INT32_MIN + 7));
    EXPECT_EQ(shortDayName(dayOfWeek(38346)), "土");
    EXPECT_EQ(shortDayName(7), "");
    EXPECT_EQ(longMonthName(12), "12月");
    EXPECT_EQ(longMonthName(13), "");
}

TEST(ShortDate, ParsesOneOrTwoDigitMonthAndDayAndSurroundingBlanks) {
    for (const char* text : {"2004/1/5", "2004/01/5", "  2004/1/05\t"})
        EXPECT_EQ(parseShortDate(text), dayNumber(2004, 1, 5)) << text;
    EXPECT_EQ(parseShortDate("2000/2/29"), dayNumber(2000, 2, 29));
    EXPECT_EQ(parseShortDate("1/1/1"), -693593);
}

TEST(ShortDate, RejectsInvalidDatesAndJunk) {
    for (const char* text :
         {"", "   ", "2004/13/01", "2004/02/30", "1900/02/29", "2004/0/1", "2004/1/0", "0/1/1", "10000/1/1",
          "2004-12-25", "2004/12/25x", "x2004/12/25", "2004//25", "2004/12", "2004/12/25/1", "2004/001/05",
          "2004/1/005", "+2004/1/1", "2004 /1/1", "2004/ 1/1", "abc", "2004/12/25 10:00"}) {
        EXPECT_FALSE(parseShortDate(text).has_value()) << '"' << text << '"';
    }
}

TEST(ShortDate, FormatAndParseRoundTrip) {
    for (int32_t d = -693593; d <= 2958465; d += 997) EXPECT_EQ(parseShortDate(formatShortDate(d)), d);
}

TEST(DateTime, FormatsTimeUnpaddedAndMidnightAsTheDateAlone) {
    EXPECT_EQ(formatLongTime(0), "0:00:00");
    EXPECT_EQ(formatLongTime((9 * 3600 + 5 * 60 + 3) * 1000), "9:05:03");
    EXPECT_EQ(formatLongTime(86'399'999), "23:59:59");
    EXPECT_EQ(formatDateTime(38346.0), "2004/12/25");
    EXPECT_EQ(formatDateTime(38346.5), "2004/12/25 12:00:00");
    EXPECT_EQ(formatDateTime(0.0), "1899/12/30");
    // Before day 0 the fraction is still the time of that day.
    EXPECT_EQ(formatDateTime(-1.25), "1899/12/29 6:00:00");
    // A value a hair short of midnight rounds to the next day's midnight.
    EXPECT_EQ(formatDateTime(38346.0 + 0.9999999999), "2004/12/26");
}

TEST(DateTime, ParsesDateWithOptionalTime) {
    EXPECT_EQ(parseDateTime("2004/12/25"), 38346.0);
    EXPECT_EQ(parseDateTime(" 2004/12/25  9:05 "), joinDateTime(38346, (9 * 3600 + 5 * 60) * 1000));
    EXPECT_EQ(parseDateTime("2004/12/25 9:05:03"), joinDateTime(38346, (9 * 3600 + 5 * 60 + 3) * 1000));
    EXPECT_EQ(parseDateTime("2004/12/25 23:59:59"), joinDateTime(38346, 86'399'000));
    for (const char* text : {"", "2004/12/25 24:00", "2004/12/25 9:60", "2004/12/25 9:05:60", "2004/12/25 9",
                             "2004/12/25 9:05:03:01", "2004/12/25 junk", "2004/02/30 9:00", "9:05", "2004/12/25 :05",
                             "2004/12/25 9:"}) {
        EXPECT_FALSE(parseDateTime(text).has_value()) << '"' << text << '"';
    }
    const double dt = joinDateTime(38346, 12'345'000);
    EXPECT_EQ(parseDateTime(formatDateTime(dt)), dt);
}

TEST(DateTime, SplitAndJoinRoundTripAndSurviveValuesNoFieldHolds) {
    for (int32_t day : {-693593, -2, -1, 0, 1, 38346, 2958465})
        for (int32_t ms : {0, 1, 999, 43'200'000, 86'399'999}) {
            int32_t d = 0, m = 0;
            splitDateTime(joinDateTime(day, ms), d, m);
            EXPECT_EQ(d, day) << day << ' ' << ms;
            EXPECT_EQ(m, ms) << day << ' ' << ms;
        }
    int32_t d = 1, m = 1;
    splitDateTime(std::nan(""), d, m);
    EXPECT_EQ(d, 0);
    EXPECT_EQ(m, 0);
    splitDateTime(1e300, d, m);
    EXPECT_GT(d, 0);
    splitDateTime(-1e300, d, m);
    EXPECT_LT(d, 0);
    EXPECT_FALSE(formatDateTime(-1e300).empty());
}

TEST(Currency, DisplayHasYenSignSeparatorsAndRoundsHalfAwayFromZero) {
    const std::pair<double, const char*> display[] = {
        {1980, "¥1,980"}, {0, "¥0"}, {999, "¥999"}, {1000, "¥1,000"}, {100000, "¥100,000"},
        {1234567, "¥1,234,567"}, {-1980, "-¥1,980"}, {1e15, "¥1,000,000,000,000,000"}, {0.5, "¥1"},
        {2.5, "¥3"} /* not banker's rounding */, {1980.4, "¥1,980"}, {999.5, "¥1,000"}, {-2.5, "-¥3"},
        {-0.4, "¥0"} /* no negative zero */,
    };
    for (auto [v, text] : display) EXPECT_EQ(formatCurrencyDisplay(v), text) << v;
    const std::pair<double, const char*> edit[] = {{-0.4, "0"}, {1980, "1980"}, {1234567, "1234567"}, {-5, "-5"},
                                                   {12.5, "13"}};
    for (auto [v, text] : edit) EXPECT_EQ(formatCurrencyEdit(v), text) << v;
}

TEST(Currency, ParsesPlainAndDisplayForms) {
    const std::pair<const char*, double> cases[] = {
        {"1980", 1980}, {"¥1,980", 1980}, {"1,980", 1980}, {" 1,234,567 ", 1234567}, {"-5", -5},
        {"-¥1,980", -1980}, {"¥-1,980", -1980}, {"￥500", 500}, {"\\500", 500} /* the yen sign in Shift-JIS */,
        {"12.5", 12.5}, {".5", 0.5}, {"1e3", 1000}, {"2E-1", 0.2}, {"0", 0},
    };
    for (auto [text, v] : cases) EXPECT_EQ(parseCurrency(text), v) << text;
}

TEST(Currency, RejectsJunk) {
    for (const char* text : {"", " ", "¥", "-", "abc", "12a", "1,", ",1", "1,,000", "1.2.3", "1980円", "1e", "1e+",
                             "1e999", "- 5", "--5", "¥¥5", "5-", "1 000", "0x10", "nan", "inf"}) {
        EXPECT_FALSE(parseCurrency(text).has_value()) << '"' << text << '"';
    }
}

TEST(Currency, DisplayTextReadsBackAsTheRoundedAmount) {
    for (double v : {0.0, 7.0, 1980.0, -1980.0, 123456789.0, 2.5, -0.5})
        EXPECT_EQ(parseCurrency(formatCurrencyDisplay(v)), std::round(v)) << v;
}

TEST(MessageText, FillsPlaceholdersInOrder) {
    EXPECT_EQ(formatMessage("'%s' は項目 '%s' に適した整数値ではありません", {"abc", "CODE"}),
              "'abc' は項目 'CODE' に適した整数値ではありません");
    // An argument holding "%s" is inserted literally, not expanded again.
    EXPECT_EQ(formatMessage("%s-%s", {"%s", "x"}), "%s-x");
    EXPECT_EQ(formatMessage("%s and %s", {"one"}), "one and %s");
    EXPECT_EQ(formatMessage("none", {"unused"}), "none");
    EXPECT_EQ(formatMessage("%s", {""}), "");
}
