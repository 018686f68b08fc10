#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The text forms of values in data packets, shared by reader and writer.
namespace tamboro {

// Appends the code point in UTF-8.
void appendUtf8(uint32_t codePoint, std::string& out);

// Reads "yyyymmdd", optionally followed by "Thh:mm:" and five digits of
// seconds times 1000 plus milliseconds (two-digit seconds, with an optional
// fraction, are taken too), into a day number and milliseconds of the day.
bool parseStamp(std::string_view text, int32_t& day, int32_t& msOfDay);

// Decimal integer.
void appendInt(int64_t v, std::string& out);
// Date as eight digits yyyymmdd.
void appendDate(int32_t day, std::string& out);
// The date, then "Thh:mm:" and five digits of seconds*1000+ms unless midnight.
void appendDateTime(double dateTime, std::string& out);
// As C's %.16g writes it, with "." whatever the locale.
void appendReal(double v, std::string& out);

}  // namespace tamboro
