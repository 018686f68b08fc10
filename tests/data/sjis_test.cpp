#include "data/sjis.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <string>
#include <tuple>
#include <vector>

using namespace tamboro;

namespace {

std::u16string utf16Of(std::string_view utf8) {
    std::u16string out(utf8.size() + 1, u'\0');
    int32_t len = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strFromUTF8(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &len, utf8.data(),
                  static_cast<int32_t>(utf8.size()), &err);
    EXPECT_TRUE(U_SUCCESS(err));
    out.resize(static_cast<size_t>(len));
    return out;
}

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}

}  // namespace

TEST(ShiftJis, MapsCodePage932SpecialsAndTakesJisFormsFromOtherSystems) {
    // The Microsoft forms both ways, not the JIS ones; "予" ends in the
    // backslash code; half-width katakana are single bytes.
    const std::pair<const char*, std::string> bothWays[] = {
        {"\uFF5E", bytes({0x81, 0x60})}, {"\uFF0D", bytes({0x81, 0x7C})}, {"\\", "\\"}, {"~", "~"},
        {"予", bytes({0x97, 0x5C})},     {"ｱﾝ", bytes({0xB1, 0xDD})},
    };
    for (const auto& [utf8, sjis] : bothWays) {
        EXPECT_EQ(toSjis(utf8), sjis) << utf8;
        EXPECT_EQ(toUtf8(sjis), utf8) << utf8;
    }
    EXPECT_EQ(toSjis("\u301C"), bytes({0x81, 0x60}));  // wave dash
    EXPECT_EQ(toSjis("\u2212"), bytes({0x81, 0x7C}));  // minus sign
    EXPECT_EQ(toSjis("\u00A5"), "\\");                 // yen sign
    const std::string mixed = "スター・ウォーズ ﾊﾘｰ･ﾎﾟｯﾀｰ 予告編～第2章 \\1,980 Ⅳ ①";
    EXPECT_EQ(toUtf8(toSjis(mixed)), mixed);
}

TEST(ShiftJis, AsciiIncludingControlCodesPassesThroughUnchanged) {
    std::string all;
    for (int b = 0; b < 0x80; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(toUtf8(all), all);
    EXPECT_EQ(toSjis(all), all);
    std::u16string wide;
    toUtf16(all, wide);
    ASSERT_EQ(wide.size(), all.size());
    for (size_t i = 0; i < all.size(); ++i) EXPECT_EQ(wide[i], char16_t(i));
}

// Every single- and double-byte code: decoded as ICU's windows-31j decodes it,
// and every mapped character back to two bytes of the same character.
TEST(ShiftJis, EveryCodeDecodesAsTheIcuConverterAndRoundTrips) {
    for (int b = 0xA1; b <= 0xDF; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(toSjis(toUtf8(one)), one) << std::hex << b;
    }
    UErrorCode err = U_ZERO_ERROR;
    UConverter* cnv = ucnv_open("windows-31j", &err);
    ASSERT_TRUE(U_SUCCESS(err));
    int mapped = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string ch = bytes({lead, trail});
            UChar ref[4];
            UErrorCode e = U_ZERO_ERROR;
            const int32_t n = ucnv_toUChars(cnv, ref, 4, ch.data(), 2, &e);
            std::u16string ours;
            toUtf16(ch, ours);
            ASSERT_EQ(ours.size(), 1u);
            if (n != 1 || ref[0] == 0xFFFD || ref[0] == 0x1A) {
                EXPECT_EQ(ours[0], u'\uFFFD') << std::hex << lead << ' ' << trail;
                continue;
            }
            EXPECT_EQ(ours[0], ref[0]) << std::hex << lead << ' ' << trail;
            ++mapped;
            // Duplicated characters (NEC and IBM extensions) come back in
            // their preferred form, which must still be the same character.
            const std::string utf8 = toUtf8(ch);
            const std::string back = toSjis(utf8);
            ASSERT_EQ(back.size(), 2u) << std::hex << lead << ' ' << trail;
            EXPECT_EQ(toUtf8(back), utf8) << std::hex << lead << ' ' << trail;
        }
    }
    ucnv_close(cnv);
    EXPECT_GT(mapped, 7000);  // JIS X 0208 plus the Microsoft extensions
}

TEST(ShiftJis, BrokenOrUnmappedTextBecomesReplacementsOneByOne) {
    const std::pair<std::string, const char*> toUtf8Cases[] = {
        {bytes({0x85, 0x40}), "\uFFFD"},  // valid shape, no character
        {bytes({0x80}), "\uFFFD"}, {bytes({0xA0}), "\uFFFD"}, {bytes({0xFD, 0xFE, 0xFF}), "\uFFFD\uFFFD\uFFFD"},
        {bytes({'a', 0x88}), "a\uFFFD"},  // lead byte cut off at the end
        // A lead byte followed by a byte that cannot be a second byte loses
        // only itself: the quote or line break after it survives.
        {bytes({0x88, '\'', 'x'}), "\uFFFD'x"}, {bytes({0x88, '\n'}), "\uFFFD\n"}, {bytes({0x88, 0x7F}), "\uFFFD\x7F"},
    };
    for (const auto& [sjis, utf8] : toUtf8Cases) EXPECT_EQ(toUtf8(sjis), utf8);
    const std::pair<const char*, const char*> toSjisCases[] = {
        {"a\U0001F600b", "a?b"} /* one mark per character */, {"한글", "??"}, {"x\xFFy", "x?y"},
        {"x\xE3\x81", "x?"} /* truncated sequence */, {"\uFFFD", "?"}, {"", ""},
    };
    for (auto [utf8, sjis] : toSjisCases) EXPECT_EQ(toSjis(utf8), sjis) << utf8;
}

// The strict form for files that declare UTF-8: the same bytes as toSjis
// where everything converts, else the first character at fault.
TEST(ShiftJis, ExactConversionNamesTheFirstCharacterItCannotTake) {
    const std::tuple<std::string, size_t, int32_t> refused[] = {
        {"東京Wars\U0001F600é", 10, 0x1F600}, {"\uFFFD", 0, 0xFFFD}, {"日\xE3\x81", 3, -1} /* cut short */,
        {"\xC0\xAF", 0, -1} /* overlong */, {"\xED\xA0\x80", 0, -1} /* an encoded surrogate */,
    };
    for (const auto& [utf8, offset, codePoint] : refused) {
        std::string out;
        auto problem = appendSjisExact(utf8, out);
        ASSERT_TRUE(problem) << utf8;
        EXPECT_EQ(std::pair(problem->offset, problem->codePoint), std::pair(offset, codePoint)) << utf8;
    }
    const std::string fine = "ASCII\x01 スター ﾊﾘｰ ①Ⅳ \u301C\u2212\u00A5";
    std::string out = "keep";
    EXPECT_FALSE(appendSjisExact(fine, out));
    EXPECT_EQ(out, "keep" + toSjis(fine));
}

TEST(ShiftJis, LeadByteRangesAreExact) {
    for (int b = 0; b < 256; ++b) {
        const bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(isLeadByte(static_cast<unsigned char>(b)), expected) << std::hex << b;
    }
}

TEST(ShiftJis, CutNeverSplitsDoubleByteCharacterAndKeepsTextThatFits) {
    // ASCII, kanji, half-width katakana, a kanji whose second byte is itself a
    // lead-byte value (亜 = 88 9F), full-width letters and a trailing ASCII.
    const std::vector<std::string> chars = {"A", "漢", "ｶ", "亜", "亜", "ｰ", "Ｂ", "字", "z"};
    std::string text;
    std::vector<size_t> boundaries = {0};
    for (const auto& c : chars) {
        text += toSjis(c);
        boundaries.push_back(text.size());
    }
    ASSERT_EQ(text.size(), 14u);
    for (size_t n = 0; n <= text.size() + 2; ++n) {
        size_t expected = 0;
        for (size_t b : boundaries)
            if (b <= n) expected = b;
        const std::string cut = cutToBytes(text, n);
        EXPECT_EQ(cut, text.substr(0, expected)) << "n=" << n;
        EXPECT_EQ(toUtf8(cut).find("\uFFFD"), std::string::npos) << "n=" << n;
    }
    // A text already cut short by a foreign writer keeps its bytes unchanged.
    const std::string broken = bytes({'a', 0x88});
    EXPECT_EQ(cutToBytes(broken, 2), broken);
    EXPECT_EQ(cutToBytes(broken, 1), "a");
    EXPECT_EQ(cutToBytes("", 5), "");
}

TEST(ShiftJis, ToUtf16AppendsAndMatchesUtf8) {
    const std::string sjis = toSjis("Abc 日本語 ｶﾀｶﾅ ～");
    std::u16string out = u"keep:";
    toUtf16(sjis, out);
    EXPECT_EQ(out, u"keep:" + utf16Of(toUtf8(sjis)));
    std::u16string empty;
    toUtf16("", empty);
    EXPECT_TRUE(empty.empty());
    // Broken input shrinks the output correctly too.
    std::u16string broken;
    toUtf16(bytes({0x88, '\'', 0x85, 0x40, 0x81}), broken);
    EXPECT_EQ(broken, u"\uFFFD'\uFFFD\uFFFD");
}
