#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/sjis.h"

// The text forms of values in data packets, shared by reader and writer.
namespace tamboro {

// Appends the code point in UTF-8.
void appendUtf8(uint32_t codePoint, std::string& out);

// What is wrong with a text of the packet ("expected ..."), and where in it.
struct TextError {
    size_t offset = 0;
    std::string expected;
};

// Decodes the entity and character references of an attribute's raw value
// into out. In a UTF-8 packet (utf8) the text becomes Shift-JIS when toSjis
// is set and stays UTF-8 otherwise; a Shift-JIS packet's text is kept as
// its bytes, a referenced character beyond ASCII becoming Shift-JIS. Text
// that Shift-JIS cannot hold is an error, not a "?": it would be lost at the
// next save.
std::optional<TextError> decodeAttributeText(std::string_view raw, bool utf8, bool toSjis, std::string& out);

// "expected UTF-8 text" or "expected characters Shift-JIS can hold, not U+..."
std::string describeProblem(const Utf8Problem& problem);

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
