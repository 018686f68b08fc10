#include "data/collation.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <string>
#include <vector>

#include "data/sjis.h"

using namespace tamboro;

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

std::string key(std::string_view sjis) {
    std::string k;
    appendSortKey(sjis, k);
    return k;
}

int compareKeys(const std::string& a, const std::string& b) { return sign(a.compare(b)); }

// Titles and names in the shapes a collection holds (UTF-8, converted once).
std::vector<std::string> sampleTexts() {
    const char* utf8[] = {
        "", " ", "a", "A", "ab", "Ab", "aB", "abc", "abd", "ABC", "ａｂｃ", "ＡＢＣ", "abc1", "abc10", "abc2",
        "Star Wars", "STAR WARS", "star wars", "Starship", "ｓｔａｒ", "あ", "ア", "ｱ", "ぁ", "い", "か", "が",
        "カ", "ｶﾞ", "日本", "にほん", "ニホン", "千と千尋の神隠し", "スター・ウォーズ", "ｽﾀｰ･ｳｫｰｽﾞ", "予告", "～",
        "Ωmega", "ωmega", "Дом", "дом", "1", "１", "10", "-", "'", "\\", "表示", "Ⅳ",
    };
    std::vector<std::string> out;
    for (const char* s : utf8) out.push_back(toSjis(s));
    // Code page duplicates: one kanji in the NEC and the IBM rows, and a
    // compatibility ideograph next to its unified form (隆).
    out.push_back("\xED\x40");
    out.push_back("\xFA\x5C");
    out.push_back("\xFB\xE9");
    out.push_back(toSjis("隆"));
    return out;
}

}  // namespace

TEST(Collation, OrdersLatinTextLexically) {
    EXPECT_LT(collate("abc", "abd"), 0);
    EXPECT_GT(collate("abd", "abc"), 0);
    EXPECT_LT(collate("", "a"), 0);
    EXPECT_LT(collate("a", "ab"), 0);
    EXPECT_EQ(collate("Star Wars", "Star Wars"), 0);
    // Case is weaker than the letters: "abc" < "ABD" despite 'A' < 'a' in ASCII.
    EXPECT_LT(collate("abc", "ABD"), 0);
}

TEST(Collation, UpperAndLowerCaseAreDistinctAndConsistent) {
    EXPECT_NE(collate("a", "A"), 0);
    EXPECT_NE(collate("Star", "star"), 0);
    EXPECT_EQ(sign(collate("a", "A")), -sign(collate("A", "a")));
    EXPECT_NE(collate(toSjis("ａ"), toSjis("Ａ")), 0);
}

TEST(Collation, OrdersKanaInJapaneseOrder) {
    const auto s = [](const char* utf8) { return toSjis(utf8); };
    EXPECT_LT(collate(s("あ"), s("い")), 0);
    EXPECT_LT(collate(s("い"), s("う")), 0);
    EXPECT_LT(collate(s("う"), s("か")), 0);
    EXPECT_LT(collate(s("ア"), s("イ")), 0);
    // Kana kind and width are weaker than the sound: katakana ア and
    // half-width ｱ still sort before hiragana い.
    EXPECT_LT(collate(s("ア"), s("い")), 0);
    EXPECT_LT(collate(s("ｱ"), s("い")), 0);
    EXPECT_LT(collate(s("か"), s("が")), 0);
}

TEST(Collation, ReportsEqualOnlyForTheSameText) {
    const auto texts = sampleTexts();
    for (size_t i = 0; i < texts.size(); ++i)
        for (size_t j = 0; j < texts.size(); ++j)
            EXPECT_EQ(collate(texts[i], texts[j]) == 0, i == j) << toUtf8(texts[i]) << " / " << toUtf8(texts[j]);
}

TEST(Collation, SortKeysAgreeWithCollate) {
    const auto texts = sampleTexts();
    std::vector<std::string> keys;
    for (const auto& t : texts) keys.push_back(key(t));
    for (size_t i = 0; i < texts.size(); ++i) {
        for (size_t j = 0; j < texts.size(); ++j)
            EXPECT_EQ(compareKeys(keys[i], keys[j]), sign(collate(texts[i], texts[j])))
                << toUtf8(texts[i]) << " / " << toUtf8(texts[j]);
    }
}

TEST(Collation, SortKeyAppendsAfterExistingBytes) {
    std::string out = "prefix";
    appendSortKey("abc", out);
    EXPECT_EQ(out, "prefix" + key("abc"));
    // A long text takes the slow path for an oversized key.
    const std::string longText = toSjis(std::string(300, 'x') + "漢字ｶﾅ");
    std::string k = key(longText);
    EXPECT_LT(compareKeys(key(std::string(300, 'x')), k), 0);
    EXPECT_EQ(compareKeys(k, key(longText)), 0);
}

TEST(Collation, CaseInsensitiveOrderIgnoresOnlyLetterCase) {
    const auto s = [](const char* utf8) { return toSjis(utf8); };
    EXPECT_EQ(collateNoCase("Star Wars", "STAR WARS"), 0);
    EXPECT_EQ(collateNoCase(s("ＡＢＣ"), s("ａｂｃ")), 0);
    EXPECT_EQ(collateNoCase(s("ДОМ"), s("дом")), 0);
    EXPECT_LT(collateNoCase("apple", "Banana"), 0);
    EXPECT_GT(collateNoCase("Cherry", "banana"), 0);
    EXPECT_NE(collateNoCase(s("ｓｔａｒ"), "star"), 0);
    EXPECT_NE(collateNoCase(s("あ"), s("ア")), 0);
    EXPECT_NE(collateNoCase(s("ア"), s("ｱ")), 0);
    EXPECT_NE(collateNoCase(s("ぁ"), s("あ")), 0);
}

TEST(Collation, CaseInsensitiveOrderMatchesCaseInsensitiveEquality) {
    const auto texts = sampleTexts();
    for (const auto& a : texts)
        for (const auto& b : texts)
            EXPECT_EQ(collateNoCase(a, b) == 0, equalNoCase(a, b)) << toUtf8(a) << " / " << toUtf8(b);
}

TEST(EqualNoCase, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(equalNoCase("Star Wars", "STAR WARS"));
    EXPECT_TRUE(equalNoCase("", ""));
    EXPECT_FALSE(equalNoCase("star", "stars"));
    EXPECT_FALSE(equalNoCase("a", "b"));
    // Punctuation that differs from a letter pair by 0x20 is not a case pair.
    EXPECT_FALSE(equalNoCase("@", "`"));
    EXPECT_FALSE(equalNoCase("[", "{"));
    EXPECT_FALSE(equalNoCase("^", "~"));
    EXPECT_FALSE(equalNoCase("1", "\x11"));
}

TEST(EqualNoCase, FoldsFullWidthLettersWithEachOtherButNotWithAscii) {
    const auto s = [](const char* utf8) { return toSjis(utf8); };
    EXPECT_TRUE(equalNoCase(s("ＳＴＡＲ"), s("ｓｔａｒ")));
    EXPECT_TRUE(equalNoCase(s("Ｚｚ"), s("ｚＺ")));
    EXPECT_FALSE(equalNoCase(s("ｓｔａｒ"), "star"));
    EXPECT_FALSE(equalNoCase(s("ＳＴＡＲ"), "STAR"));
    EXPECT_FALSE(equalNoCase(s("ｓｔａｒ"), "st"));
}

TEST(EqualNoCase, FoldsGreekAndCyrillic) {
    const auto s = [](const char* utf8) { return toSjis(utf8); };
    EXPECT_TRUE(equalNoCase(s("ΑΒΓΩ"), s("αβγω")));
    EXPECT_TRUE(equalNoCase(s("АБВЁЖЯ"), s("абвёжя")));
    EXPECT_FALSE(equalNoCase(s("Α"), s("β")));
}

TEST(EqualNoCase, KeepsWidthsKanaKindsAndKanjiApart) {
    const auto s = [](const char* utf8) { return toSjis(utf8); };
    EXPECT_FALSE(equalNoCase(s("あ"), s("ア")));
    EXPECT_FALSE(equalNoCase(s("ア"), s("ｱ")));
    EXPECT_FALSE(equalNoCase(s("ぁ"), s("あ")));
    EXPECT_FALSE(equalNoCase(s("１"), "1"));
    EXPECT_FALSE(equalNoCase(s("日本"), s("にほん")));
    EXPECT_TRUE(equalNoCase(s("日本 Star"), s("日本 STAR")));
}

TEST(EqualNoCase, NeverFoldsSecondBytesThatLookLikeLetters) {
    // ア is 83 41 and ヂ is 83 61: their second bytes are 'A' and 'a'.
    const std::string a = toSjis("ア"), b = toSjis("ヂ");
    ASSERT_EQ(a, "\x83\x41");
    ASSERT_EQ(b, "\x83\x61");
    EXPECT_FALSE(equalNoCase(a, b));
    EXPECT_FALSE(equalNoCase("x" + a, "X" + b));
    // The same for kanji rows: 90 41 and 90 61 are two different kanji.
    const std::string k1 = "\x90\x41", k2 = "\x90\x61";
    ASSERT_NE(toUtf8(k1), toUtf8(k2));
    EXPECT_FALSE(equalNoCase(k1, k2));
    // An ASCII letter must not be matched against a second byte either.
    EXPECT_FALSE(equalNoCase("\x83" "A", "\x83" "a"));
    EXPECT_FALSE(equalNoCase("A\x83\x41", "a\x83" "a"));
}

TEST(EqualNoCase, FoldsExactlyTheCasePairsOfTheCodePage) {
    // Every character of rows 81-84 (symbols, Latin, kana, Greek, Cyrillic)
    // against every other: equal without case exactly when Unicode makes them
    // a case pair of the folded alphabets, or they are the same character.
    struct Ch {
        std::string sjis;
        UChar32 u;
    };
    std::vector<Ch> chars;
    for (int b = 0x20; b < 0x7F; ++b) chars.push_back({std::string(1, static_cast<char>(b)), b});
    for (int lead = 0x81; lead <= 0x84; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            std::string ch{static_cast<char>(lead), static_cast<char>(trail)};
            std::u16string w;
            toUtf16(ch, w);
            if (w[0] != u'\uFFFD') chars.push_back({ch, w[0]});
        }
    const auto folded = [](UChar32 c) {
        const bool cased = c < 0x80 || (c >= 0xFF21 && c <= 0xFF5A) || (c >= 0x0391 && c <= 0x03C9) ||
                           (c >= 0x0401 && c <= 0x0451);
        return cased ? u_tolower(c) : c;
    };
    int pairs = 0;
    for (const auto& x : chars)
        for (const auto& y : chars) {
            const bool expected = folded(x.u) == folded(y.u);
            if (expected && x.u != y.u) ++pairs;
            ASSERT_EQ(equalNoCase(x.sjis, y.sjis), expected) << std::hex << x.u << ' ' << y.u;
        }
    // 26 ASCII, 26 full-width, 24 Greek and 33 Cyrillic pairs, both ways.
    EXPECT_EQ(pairs, 2 * (26 + 26 + 24 + 33));
}
