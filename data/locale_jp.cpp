#include "data/locale_jp.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tamboro {
namespace {

constexpr int64_t kMsPerDay = 86'400'000;
// Days from 1970-01-01 back to day 0 (1899-12-30).
constexpr int64_t kEpochOffset = 25'569;

// Proleptic Gregorian calendar, days relative to 1970-01-01 (H. Hinnant's
// era-based algorithms), in 64 bits so any int32 day number is safe.
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads 1..maxDigits decimal digits at pos.
bool readNumber(std::string_view s, size_t& pos, int maxDigits, int& value) {
    value = 0;
    int count = 0;
    while (pos < s.size() && isDigit(s[pos]) && count < maxDigits) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++count;
    }
    return count > 0 && (pos >= s.size() || !isDigit(s[pos]));
}

// Reads "h:mm" or "h:mm:ss" filling the whole text.
std::optional<int32_t> parseTime(std::string_view s) {
    size_t pos = 0;
    int h = 0, m = 0, sec = 0;
    if (!readNumber(s, pos, 2, h) || pos >= s.size() || s[pos] != ':') return std::nullopt;
    ++pos;
    if (!readNumber(s, pos, 2, m)) return std::nullopt;
    if (pos < s.size()) {
        if (s[pos] != ':') return std::nullopt;
        ++pos;
        if (!readNumber(s, pos, 2, sec) || pos != s.size()) return std::nullopt;
    }
    if (h > 23 || m > 59 || sec > 59) return std::nullopt;
    return static_cast<int32_t>((h * 3600 + m * 60 + sec) * 1000);
}

// Digits of a non-negative whole amount, grouped by three with commas.
std::string groupThousands(const std::string& digits) {
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    const size_t lead = digits.size() % 3;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (i - lead) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

// Yen has no minor unit: amounts are rounded half away from zero. Returns the
// digits of the magnitude and whether the rounded amount is negative (never
// for an amount that rounds to zero, so there is no "-¥0").
bool roundedYen(double value, std::string& digits) {
    const double r = std::round(value);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.0f", std::fabs(r));
    digits = buf;
    return r < 0;
}

constexpr std::string_view kYen = "\xC2\xA5";                // U+00A5
constexpr std::string_view kFullWidthYen = "\xEF\xBF\xA5";   // U+FFE5

bool skipYen(std::string_view s, size_t& pos) {
    for (std::string_view sign : {kYen, kFullWidthYen, std::string_view("\\")}) {
        if (s.substr(pos, sign.size()) == sign) {
            pos += sign.size();
            return true;
        }
    }
    return false;
}

}  // namespace

bool isLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int daysInMonth(int year, int month) {
    static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return kLengths[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

bool isValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && day >= 1 && day <= daysInMonth(year, month);
}

int32_t dayNumber(int year, int month, int day) {
    return static_cast<int32_t>(daysFromCivil(year, month, day) + kEpochOffset);
}

CivilDate civilFromDayNumber(int32_t day) {
    int64_t z = static_cast<int64_t>(day) - kEpochOffset + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    CivilDate c;
    c.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    c.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    c.year = static_cast<int>(yoe + era * 400 + (c.month <= 2 ? 1 : 0));
    return c;
}

int dayOfWeek(int32_t day) {
    // Day 0 was a Saturday.
    int64_t r = (static_cast<int64_t>(day) + 6) % 7;
    return static_cast<int>(r < 0 ? r + 7 : r);
}

std::string formatShortDate(int32_t day) {
    const CivilDate c = civilFromDayNumber(day);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", c.year, c.month, c.day);
    return buf;
}

std::optional<int32_t> parseShortDate(std::string_view text) {
    const std::string_view s = trim(text);
    size_t pos = 0;
    int y = 0, m = 0, d = 0;
    if (!readNumber(s, pos, 4, y) || pos >= s.size() || s[pos] != '/') return std::nullopt;
    ++pos;
    if (!readNumber(s, pos, 2, m) || pos >= s.size() || s[pos] != '/') return std::nullopt;
    ++pos;
    if (!readNumber(s, pos, 2, d) || pos != s.size()) return std::nullopt;
    if (!isValidDate(y, m, d)) return std::nullopt;
    return dayNumber(y, m, d);
}

std::string formatLongTime(int32_t msOfDay) {
    if (msOfDay < 0) msOfDay = 0;
    if (msOfDay >= kMsPerDay) msOfDay = static_cast<int32_t>(kMsPerDay - 1);
    const int32_t secs = msOfDay / 1000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", secs / 3600, secs / 60 % 60, secs % 60);
    return buf;
}

void splitDateTime(double dateTime, int32_t& day, int32_t& msOfDay) {
    // Out-of-range values (which no valid field holds) are clamped rather than
    // converted with undefined behaviour.
    constexpr double kMin = std::numeric_limits<int32_t>::min() + 1.0;
    constexpr double kMax = std::numeric_limits<int32_t>::max() - 1.0;
    if (std::isnan(dateTime)) dateTime = 0;
    if (dateTime < kMin) dateTime = kMin;
    if (dateTime > kMax) dateTime = kMax;
    // The whole part is the day; the fraction's magnitude is the time of day,
    // also for dates before day 0 (-1.25 is 1899-12-29 06:00).
    const double whole = std::trunc(dateTime);
    int64_t d = static_cast<int64_t>(whole);
    int64_t ms = std::llround(std::fabs(dateTime - whole) * static_cast<double>(kMsPerDay));
    if (ms >= kMsPerDay) {  // rounded up to the next midnight
        ms -= kMsPerDay;
        ++d;
    }
    day = static_cast<int32_t>(d);
    msOfDay = static_cast<int32_t>(ms);
}

double joinDateTime(int32_t day, int32_t msOfDay) {
    const double frac = static_cast<double>(msOfDay) / static_cast<double>(kMsPerDay);
    return day < 0 ? day - frac : day + frac;
}

std::string formatDateTime(double dateTime) {
    int32_t day = 0, ms = 0;
    splitDateTime(dateTime, day, ms);
    std::string out = formatShortDate(day);
    if (ms != 0) {
        out.push_back(' ');
        out += formatLongTime(ms);
    }
    return out;
}

std::optional<double> parseDateTime(std::string_view text) {
    const std::string_view s = trim(text);
    size_t split = 0;
    while (split < s.size() && !isBlank(s[split])) ++split;
    const auto day = parseShortDate(s.substr(0, split));
    if (!day) return std::nullopt;
    const std::string_view rest = trim(s.substr(split));
    if (rest.empty()) return joinDateTime(*day, 0);
    const auto ms = parseTime(rest);
    if (!ms) return std::nullopt;
    return joinDateTime(*day, *ms);
}

std::string formatCurrencyDisplay(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-\xC2\xA5\xE2\x88\x9E" : "\xC2\xA5\xE2\x88\x9E";
    std::string digits;
    const bool negative = roundedYen(value, digits);
    std::string out = negative ? "-" : "";
    out += kYen;
    out += groupThousands(digits);
    return out;
}

std::string formatCurrencyEdit(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    std::string digits;
    const bool negative = roundedYen(value, digits);
    return negative ? "-" + digits : digits;
}

std::optional<double> parseCurrency(std::string_view text) {
    const std::string_view s = trim(text);
    std::string clean;  // sign, digits, point and exponent only
    size_t pos = 0;
    bool yen = skipYen(s, pos);
    if (pos < s.size() && (s[pos] == '-' || s[pos] == '+')) {
        if (s[pos] == '-') clean.push_back('-');
        ++pos;
    }
    if (!yen) skipYen(s, pos);  // "-¥1,980" as well as "¥-1,980"

    // Integer part; a comma is a thousands separator only between digits.
    size_t digits = 0;
    while (pos < s.size()) {
        if (isDigit(s[pos])) {
            clean.push_back(s[pos++]);
            ++digits;
        } else if (s[pos] == ',' && digits > 0 && pos + 1 < s.size() && isDigit(s[pos + 1])) {
            ++pos;
        } else {
            break;
        }
    }
    if (pos < s.size() && s[pos] == '.') {
        clean.push_back(s[pos++]);
        while (pos < s.size() && isDigit(s[pos])) {
            clean.push_back(s[pos++]);
            ++digits;
        }
    }
    if (digits == 0) return std::nullopt;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        clean.push_back(s[pos++]);
        if (pos < s.size() && (s[pos] == '-' || s[pos] == '+')) clean.push_back(s[pos++]);
        size_t expDigits = 0;
        while (pos < s.size() && isDigit(s[pos])) {
            clean.push_back(s[pos++]);
            ++expDigits;
        }
        if (expDigits == 0) return std::nullopt;
    }
    if (pos != s.size()) return std::nullopt;

    double value = 0;
    const auto [end, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (ec != std::errc() || end != clean.data() + clean.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string longMonthName(int month) {
    if (month < 1 || month > 12) return {};
    return std::to_string(month) + "月";
}

std::string shortDayName(int dayOfWeek) {
    static constexpr const char* kNames[7] = {"日", "月", "火", "水", "木", "金", "土"};
    if (dayOfWeek < 0 || dayOfWeek > 6) return {};
    return kNames[dayOfWeek];
}

}  // namespace tamboro
