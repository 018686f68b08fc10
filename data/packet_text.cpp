#include "data/packet_text.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "data/locale_jp.h"

namespace tamboro {

void appendUtf8(uint32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string describeProblem(const Utf8Problem& problem) {
    if (problem.codePoint < 0) return "expected UTF-8 text";
    char cp[16];
    std::snprintf(cp, sizeof cp, "U+%04X", static_cast<unsigned>(problem.codePoint));
    return "expected characters Shift-JIS can hold, not " + std::string(cp);
}

std::optional<TextError> decodeAttributeText(std::string_view v, bool utf8, bool toSjis, std::string& out) {
    const bool convert = utf8 && toSjis;
    std::string u;  // one referenced character in UTF-8
    for (size_t i = 0; i < v.size();) {
        size_t amp = v.find('&', i);
        if (amp == std::string_view::npos) amp = v.size();
        if (convert) {
            if (auto p = appendSjisExact(v.substr(i, amp - i), out))
                return TextError{i + p->offset, describeProblem(*p)};
        } else {
            out.append(v.data() + i, amp - i);
        }
        if (amp == v.size()) break;
        size_t semi = v.find(';', amp);
        if (semi == std::string_view::npos || semi - amp > 12) return TextError{amp, "expected ';' to end the reference"};
        std::string_view ref = v.substr(amp + 1, semi - amp - 1);
        if (ref == "lt") out.push_back('<');
        else if (ref == "gt") out.push_back('>');
        else if (ref == "amp") out.push_back('&');
        else if (ref == "apos") out.push_back('\'');
        else if (ref == "quot") out.push_back('"');
        else if (ref.size() >= 2 && ref[0] == '#') {
            bool hex = ref[1] == 'x' || ref[1] == 'X';
            std::string_view digits = ref.substr(hex ? 2 : 1);
            uint32_t cp = 0;
            auto [q, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
            if (digits.empty() || ec != std::errc() || q != digits.data() + digits.size() || cp == 0 ||
                cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
                return TextError{amp, "expected a valid character reference"};
            if (cp < 0x80) {
                out.push_back(static_cast<char>(cp));
            } else if (utf8 && !toSjis) {
                appendUtf8(cp, out);  // stays UTF-8, as the text around it
            } else {
                u.clear();
                appendUtf8(cp, u);
                if (auto p = appendSjisExact(u, out)) return TextError{amp, describeProblem(*p)};
            }
        } else {
            return TextError{amp, "expected a known entity reference"};
        }
        i = semi + 1;
    }
    return std::nullopt;
}

namespace {

bool readDigits(std::string_view s, size_t& pos, size_t count, int& out) {
    if (pos + count > s.size()) return false;
    int v = 0;
    for (size_t i = 0; i < count; ++i) {
        char c = s[pos + i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    pos += count;
    out = v;
    return true;
}

}  // namespace

// "yyyymmdd" optionally followed by "Thh:mm:" and five digits of seconds
// times 1000 plus milliseconds (two-digit seconds, with an optional
// fraction, are taken too). Day number and milliseconds of the day.
bool parseStamp(std::string_view s, int32_t& day, int32_t& ms) {
    size_t pos = 0;
    int y, m, d;
    if (!readDigits(s, pos, 4, y) || !readDigits(s, pos, 2, m) || !readDigits(s, pos, 2, d)) return false;
    if (!isValidDate(y, m, d)) return false;
    day = dayNumber(y, m, d);
    ms = 0;
    if (pos == s.size()) return true;
    if (s[pos++] != 'T') return false;
    int hh, mm;
    size_t hstart = pos;
    while (pos < s.size() && pos - hstart < 2 && s[pos] >= '0' && s[pos] <= '9') ++pos;
    if (pos == hstart) return false;
    hh = 0;
    for (size_t i = hstart; i < pos; ++i) hh = hh * 10 + (s[i] - '0');
    if (pos >= s.size() || s[pos++] != ':' || !readDigits(s, pos, 2, mm)) return false;
    if (pos >= s.size() || s[pos++] != ':') return false;
    size_t sstart = pos;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - sstart < 5) ++pos;
    size_t len = pos - sstart;
    int secField = 0;
    for (size_t i = sstart; i < pos; ++i) secField = secField * 10 + (s[i] - '0');
    int msOfMinute;
    if (len == 5) {
        msOfMinute = secField;
    } else if (len == 1 || len == 2) {
        msOfMinute = secField * 1000;
        if (pos < s.size() && s[pos] == '.') {
            ++pos;
            int scale = 100, frac = 0;
            size_t fstart = pos;
            while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
                if (scale > 0) frac += (s[pos] - '0') * scale;
                scale /= 10;
                ++pos;
            }
            if (pos == fstart) return false;
            msOfMinute += frac;
        }
    } else {
        return false;
    }
    if (pos != s.size() || hh > 23 || mm > 59 || msOfMinute >= 60000) return false;
    ms = (hh * 60 + mm) * 60000 + msOfMinute;
    return true;
}

void appendInt(int64_t v, std::string& out) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

namespace {

void append2(int v, std::string& out) {
    out.push_back(static_cast<char>('0' + v / 10 % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

}  // namespace

void appendDate(int32_t day, std::string& out) {
    CivilDate c = civilFromDayNumber(day);
    char buf[16];
    int y = c.year;
    if (y >= 0 && y <= 9999) {
        buf[0] = static_cast<char>('0' + y / 1000);
        buf[1] = static_cast<char>('0' + y / 100 % 10);
        buf[2] = static_cast<char>('0' + y / 10 % 10);
        buf[3] = static_cast<char>('0' + y % 10);
        out.append(buf, 4);
    } else {
        appendInt(y, out);  // no valid date has such a year; keep the value visible
    }
    append2(c.month, out);
    append2(c.day, out);
}

void appendDateTime(double v, std::string& out) {
    int32_t day = 0, ms = 0;
    splitDateTime(v, day, ms);
    appendDate(day, out);
    if (ms == 0) return;
    out.push_back('T');
    append2(ms / 3600000, out);
    out.push_back(':');
    append2(ms / 60000 % 60, out);
    out.push_back(':');
    int s = ms % 60000;
    char buf[5];
    for (int i = 4; i >= 0; --i, s /= 10) buf[i] = static_cast<char>('0' + s % 10);
    out.append(buf, 5);
}

// C's %.16g, without the locale's decimal point.
void appendReal(double v, std::string& out) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 16);
    out.append(buf, r.ptr);
}

}  // namespace tamboro
