#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Shift-JIS (Microsoft code page 932) services. The catalogue holds all text as
// Shift-JIS bytes; UTF-8 appears only at the edges (source literals, Qt, CLI).
namespace tamboro {

// True for a byte that starts a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Shift-JIS bytes to UTF-8. Bytes without a mapping become U+FFFD.
std::string toUtf8(std::string_view sjis);

// UTF-8 to Shift-JIS bytes. Characters without a mapping become "?".
std::string toSjis(std::string_view utf8);

// Where UTF-8 text could not be converted exactly: the offset of the first
// byte of the character, and its code point, or -1 when the bytes there are
// not UTF-8.
struct Utf8Problem {
    size_t offset = 0;
    int32_t codePoint = -1;
};

// UTF-8 to Shift-JIS, appended to out, refusing instead of substituting: the
// first character that is not UTF-8 or has no Shift-JIS form stops it.
// Characters that the code page holds under another code point (the JIS
// wave dash, minus and yen sign) are taken as toSjis takes them.
std::optional<Utf8Problem> appendSjisExact(std::string_view utf8, std::string& out);

// UTF-8 literal to Shift-JIS; for source literals, converted once where used.
inline std::string sj(std::string_view utf8) { return toSjis(utf8); }

// Cuts a Shift-JIS text to at most n bytes without splitting a double-byte
// character: a cut that would split one drops its lead byte as well.
std::string cutToBytes(std::string_view sjis, size_t n);

// Shift-JIS to UTF-16 (for ICU); appends to out.
void toUtf16(std::string_view sjis, std::u16string& out);

}  // namespace tamboro
