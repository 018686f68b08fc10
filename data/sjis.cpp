#include "data/sjis.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <array>
#include <memory>
#include <vector>

#include "data/error.h"

namespace tamboro {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Second bytes a double-byte character may have. A lead byte followed by
// anything else is a broken character: the lead alone is replaced and the
// following byte is read on its own, so a stray lead cannot swallow a quote
// or a line break.
constexpr bool isTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr openConverter() {
    UErrorCode err = U_ZERO_ERROR;
    ConverterPtr cnv(ucnv_open("windows-31j", &err));
    if (U_FAILURE(err) || !cnv)
        throw DataError(formatMessage("文字コード変換器 windows-31j を開けません (%s)", {u_errorName(err)}));
    return cnv;
}

// Decoding goes through tables filled once from ICU: decoding feeds the sort
// keys of every title, and a table lookup is far cheaper than a converter
// call per string. ICU's table for this code page is IBM's, which swaps the
// control codes 1A, 1C and 7F; Windows maps all of 00-7F to ASCII, so the
// ASCII range is taken as is rather than from ICU.
struct DecodeTables {
    std::array<char16_t, 256> single{};
    std::vector<char16_t> pair = std::vector<char16_t>(0x10000, kReplacement);

    DecodeTables() {
        ConverterPtr cnv = openConverter();
        UErrorCode err = U_ZERO_ERROR;
        // Stop rather than substitute so that "no mapping" is told apart
        // from a genuine mapping to a control code.
        ucnv_setToUCallBack(cnv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        auto decode = [&](const char* bytes, int len) -> char16_t {
            UChar out[4];
            UErrorCode e = U_ZERO_ERROR;
            int n = ucnv_toUChars(cnv.get(), out, 4, bytes, len, &e);
            return (U_SUCCESS(e) && n == 1) ? char16_t(out[0]) : kReplacement;
        };
        for (int b = 0; b < 256; ++b) {
            if (b < 0x80) {
                single[b] = char16_t(b);
            } else if (isLeadByte(static_cast<unsigned char>(b))) {
                single[b] = kReplacement;  // a lead byte on its own is broken
            } else {
                char c = static_cast<char>(b);
                single[b] = decode(&c, 1);
            }
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrailByte(static_cast<unsigned char>(trail))) continue;
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                pair[(lead << 8) | trail] = decode(bytes, 2);
            }
        }
    }
};

const DecodeTables& decodeTables() {
    static const DecodeTables tables;
    return tables;
}

// Calls emit(char16_t) for each character of a Shift-JIS text.
template <class Emit>
inline void decode(std::string_view sjis, Emit&& emit) {
    const DecodeTables& t = decodeTables();
    const auto* p = reinterpret_cast<const unsigned char*>(sjis.data());
    const size_t n = sjis.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            emit(char16_t(c));
            ++i;
        } else if (isLeadByte(c) && i + 1 < n && isTrailByte(p[i + 1])) {
            emit(t.pair[(c << 8) | p[i + 1]]);
            i += 2;
        } else {
            emit(t.single[c]);
            ++i;
        }
    }
}

// Encoding is rarer (source literals, files that declare UTF-8), so it uses
// the converter directly. Best-fit mappings are on: Japanese text from other
// systems writes the wave dash, minus, em dash and yen sign with the JIS
// code points (U+301C, U+2212, U+2014, U+00A5), which Windows maps to the
// same bytes as their code page 932 counterparts.
struct Encoder {
    ConverterPtr cnv = openConverter();
    std::u16string units;
    std::string bytes;

    Encoder() {
        UErrorCode err = U_ZERO_ERROR;
        ucnv_setFallback(cnv.get(), true);
        ucnv_setSubstChars(cnv.get(), "?", 1, &err);
        if (U_FAILURE(err))
            throw DataError(formatMessage("文字コード変換器を設定できません (%s)", {u_errorName(err)}));
    }

    // Appends the encoding of a run of non-ASCII UTF-8 bytes.
    void encodeRun(std::string_view utf8, std::string& out) {
        units.resize(utf8.size());
        int32_t len = 0;
        UErrorCode err = U_ZERO_ERROR;
        // Malformed UTF-8 becomes U+FFFD, which has no mapping and so ends
        // up as "?" like any other unmappable character.
        u_strFromUTF8WithSub(reinterpret_cast<UChar*>(units.data()), static_cast<int32_t>(units.size()), &len,
                             utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &err);
        if (U_FAILURE(err)) {
            out.append(utf8.size(), '?');
            return;
        }
        bytes.resize(static_cast<size_t>(len) * 2 + 2);
        err = U_ZERO_ERROR;
        int32_t n = ucnv_fromUChars(cnv.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                                    reinterpret_cast<const UChar*>(units.data()), len, &err);
        if (U_FAILURE(err)) {
            out.append(static_cast<size_t>(len), '?');
            return;
        }
        out.append(bytes.data(), static_cast<size_t>(n));
    }
};

Encoder& encoder() {
    thread_local Encoder enc;
    return enc;
}

// The same conversion for text that must not change on its way in (files
// that declare UTF-8): the converter stops at a character it cannot map
// instead of writing "?", and malformed UTF-8 is told, not replaced.
struct ExactEncoder {
    ConverterPtr cnv = openConverter();
    std::u16string units;
    std::vector<size_t> starts;  // per code point: its byte offset in the run
    std::vector<int32_t> unitAt; // per code point: its first UTF-16 unit
    std::string bytes;

    ExactEncoder() {
        UErrorCode err = U_ZERO_ERROR;
        ucnv_setFallback(cnv.get(), true);
        ucnv_setFromUCallBack(cnv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        if (U_FAILURE(err))
            throw DataError(formatMessage("文字コード変換器を設定できません (%s)", {u_errorName(err)}));
    }

    bool convert(const char16_t* u, int32_t len, std::string* out) {
        bytes.resize(static_cast<size_t>(len) * 2 + 2);
        UErrorCode err = U_ZERO_ERROR;
        ucnv_resetFromUnicode(cnv.get());
        int32_t n = ucnv_fromUChars(cnv.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                                    reinterpret_cast<const UChar*>(u), len, &err);
        if (U_FAILURE(err)) return false;
        if (out) out->append(bytes.data(), static_cast<size_t>(n));
        return true;
    }

    // A run of non-ASCII UTF-8 bytes starting at offset base of the text.
    std::optional<Utf8Problem> encodeRun(std::string_view utf8, size_t base, std::string& out) {
        units.clear();
        starts.clear();
        unitAt.clear();
        const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
        const auto n = static_cast<int32_t>(utf8.size());
        for (int32_t i = 0; i < n;) {
            const int32_t start = i;
            UChar32 c;
            U8_NEXT(s, i, n, c);
            if (c < 0) return Utf8Problem{base + static_cast<size_t>(start), -1};
            starts.push_back(static_cast<size_t>(start));
            unitAt.push_back(static_cast<int32_t>(units.size()));
            if (U_IS_BMP(c)) {
                units.push_back(static_cast<char16_t>(c));
            } else {
                units.push_back(static_cast<char16_t>(U16_LEAD(c)));
                units.push_back(static_cast<char16_t>(U16_TRAIL(c)));
            }
        }
        if (convert(units.data(), static_cast<int32_t>(units.size()), &out)) return std::nullopt;
        // Rare: find the character at fault, one at a time.
        for (size_t k = 0; k < starts.size(); ++k) {
            const int32_t from = unitAt[k];
            const int32_t to = k + 1 < unitAt.size() ? unitAt[k + 1] : static_cast<int32_t>(units.size());
            if (!convert(units.data() + from, to - from, nullptr)) {
                UChar32 c;
                U16_GET_UNSAFE(units.data(), from, c);
                return Utf8Problem{base + starts[k], c};
            }
        }
        return Utf8Problem{base, -1};  // not reached: some character failed
    }
};

void appendUtf8(char16_t u, std::string& out) {
    if (u < 0x80) {
        out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (u >> 6)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
        // The code page maps into the BMP only, so no surrogates arrive here.
        out.push_back(static_cast<char>(0xE0 | (u >> 12)));
        out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
}

}  // namespace

std::string toUtf8(std::string_view sjis) {
    std::string out;
    out.reserve(sjis.size() + sjis.size() / 2);
    decode(sjis, [&](char16_t u) { appendUtf8(u, out); });
    return out;
}

std::string toSjis(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    Encoder& enc = encoder();
    size_t i = 0;
    while (i < utf8.size()) {
        // ASCII is copied byte for byte (see the note on control codes above).
        size_t j = i;
        while (j < utf8.size() && static_cast<unsigned char>(utf8[j]) < 0x80) ++j;
        out.append(utf8.data() + i, j - i);
        i = j;
        while (j < utf8.size() && static_cast<unsigned char>(utf8[j]) >= 0x80) ++j;
        if (j > i) enc.encodeRun(utf8.substr(i, j - i), out);
        i = j;
    }
    return out;
}

std::optional<Utf8Problem> appendSjisExact(std::string_view utf8, std::string& out) {
    thread_local ExactEncoder enc;
    size_t i = 0;
    while (i < utf8.size()) {
        size_t j = i;
        while (j < utf8.size() && static_cast<unsigned char>(utf8[j]) < 0x80) ++j;
        out.append(utf8.data() + i, j - i);
        i = j;
        while (j < utf8.size() && static_cast<unsigned char>(utf8[j]) >= 0x80) ++j;
        if (j > i) {
            if (auto problem = enc.encodeRun(utf8.substr(i, j - i), i, out)) return problem;
        }
        i = j;
    }
    return std::nullopt;
}

std::string cutToBytes(std::string_view sjis, size_t n) {
    if (sjis.size() <= n) return std::string(sjis);
    size_t i = 0;
    while (i < n) {
        const size_t len = isLeadByte(static_cast<unsigned char>(sjis[i])) ? 2 : 1;
        if (i + len > n) break;
        i += len;
    }
    return std::string(sjis.substr(0, i));
}

void toUtf16(std::string_view sjis, std::u16string& out) {
    // Every byte yields at most one UTF-16 unit.
    const size_t start = out.size();
    out.resize(start + sjis.size());
    char16_t* dst = out.data() + start;
    decode(sjis, [&](char16_t u) { *dst++ = u; });
    out.resize(static_cast<size_t>(dst - out.data()));
}

}  // namespace tamboro
