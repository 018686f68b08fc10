#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The Japanese locale's formats. Dates are day numbers counted from
// 1899-12-30 (day 0); date-times add the time of day as a fraction.
// All texts here are ASCII or UTF-8 as stated; callers convert as needed.
namespace tamboro {

struct CivilDate {
    int year = 1899, month = 12, day = 30;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);         // 1..12; 0 for a bad month
bool isValidDate(int year, int month, int day);  // year 1..9999
int32_t dayNumber(int year, int month, int day);  // day 0 = 1899-12-30
CivilDate civilFromDayNumber(int32_t day);
int dayOfWeek(int32_t day);  // 0 = Sunday .. 6 = Saturday

// "2004/12/25": four-digit year, two-digit month and day.
std::string formatShortDate(int32_t day);
// Reads "yyyy/m/d" (one- or two-digit month and day, blanks around allowed).
std::optional<int32_t> parseShortDate(std::string_view text);

// Time of day as milliseconds since midnight.
// "9:05:03": hour without padding, minutes and seconds two digits.
std::string formatLongTime(int32_t msOfDay);
// Date-time: short date, a blank, long time; midnight shows the date alone.
std::string formatDateTime(double dateTime);
// Reads a date, optionally followed by blank(s) and "h:mm[:ss]".
std::optional<double> parseDateTime(std::string_view text);

// Splits a date-time value into day number and milliseconds of the day,
// rounded to the nearest millisecond.
void splitDateTime(double dateTime, int32_t& day, int32_t& msOfDay);
double joinDateTime(int32_t day, int32_t msOfDay);

// Currency display "¥1,980" (UTF-8 yen sign, no decimals; "-¥1,980" if negative).
std::string formatCurrencyDisplay(double value);
// Currency edit text "1980" (no separators, no decimals).
std::string formatCurrencyEdit(double value);
// Reads a currency text: optional yen sign, thousands separators, decimals.
std::optional<double> parseCurrency(std::string_view text);

// "1月" … "12月" (UTF-8), month 1..12.
std::string longMonthName(int month);
// "日" … "土" (UTF-8), day of week 0 = Sunday.
std::string shortDayName(int dayOfWeek);

}  // namespace tamboro
