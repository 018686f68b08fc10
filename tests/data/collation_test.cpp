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
    for (const char* dup : {"\xED\x40", "\xFA\x5C", "\xFB\xE9"}) out.push_back(dup);
    out.push_back(toSjis("隆"));
    return out;
}

}  // namespace

TEST(Collation, OrdersLatinBeforeKanaWithCaseAndKanaKindWeakerThanLetters) {
    const std::pair<const char*, const char*> ascending[] = {
        {"abc", "abd"}, {"", "a"}, {"a", "ab"},
        {"abc", "ABD"},  // case is weaker than the letters, despite 'A' < 'a' in ASCII
        {"あ", "い"}, {"い", "う"}, {"う", "か"}, {"ア", "イ"}, {"か", "が"},
        {"ア", "い"}, {"ｱ", "い"},  // kana kind and width are weaker than the sound
    };
    for (auto [a, b] : ascending) {
        EXPECT_LT(collate(toSjis(a), toSjis(b)), 0) << a << " / " << b;
        EXPECT_GT(collate(toSjis(b), toSjis(a)), 0) << b << " / " << a;
    }
}

// Over every pair of sample texts: equal only for the same text, consistent
// both ways, sort keys agreeing, and the case-free order agreeing with the
// case-free equality.
TEST(Collation, AgreesWithItselfItsSortKeysAndCaseFreeEqualityOverSamples) {
    const auto texts = sampleTexts();
    std::vector<std::string> keys;
    for (const auto& t : texts) keys.push_back(key(t));
    for (size_t i = 0; i < texts.size(); ++i)
        for (size_t j = 0; j < texts.size(); ++j) {
            const std::string& a = texts[i];
            const std::string& b = texts[j];
            const int c = sign(collate(a, b));
            EXPECT_EQ(c == 0, i == j) << toUtf8(a) << " / " << toUtf8(b);
            EXPECT_EQ(c, -sign(collate(b, a))) << toUtf8(a) << " / " << toUtf8(b);
            EXPECT_EQ(sign(keys[i].compare(keys[j])), c) << toUtf8(a) << " / " << toUtf8(b);
            EXPECT_EQ(collateNoCase(a, b) == 0, equalNoCase(a, b)) << toUtf8(a) << " / " << toUtf8(b);
        }
}

TEST(Collation, SortKeyAppendsAfterExistingBytes) {
    std::string out = "prefix";
    appendSortKey("abc", out);
    EXPECT_EQ(out, "prefix" + key("abc"));
    // A long text takes the slow path for an oversized key.
    const std::string longText = toSjis(std::string(300, 'x') + "漢字ｶﾅ");
    std::string k = key(longText);
    EXPECT_LT(key(std::string(300, 'x')).compare(k), 0);
    EXPECT_EQ(k, key(longText));
}

TEST(Collation, CaseInsensitiveOrderStillOrdersLetters) {
    EXPECT_LT(collateNoCase("apple", "Banana"), 0);
    EXPECT_GT(collateNoCase("Cherry", "banana"), 0);
}

// Texts of several characters; single characters are covered exhaustively below.
TEST(EqualNoCase, FoldsLetterCaseOnlyWithinOneAlphabetAndWidth) {
    struct Case { const char* a; const char* b; bool equal; };
    const Case cases[] = {
        {"Star Wars", "STAR WARS", true}, {"", "", true}, {"ＡＢＣ", "ａｂｃ", true}, {"ＳＴＡＲ", "ｓｔａｒ", true},
        {"Ｚｚ", "ｚＺ", true}, {"ΑΒΓΩ", "αβγω", true}, {"АБВЁЖЯ", "абвёжя", true}, {"ДОМ", "дом", true},
        {"日本 Star", "日本 STAR", true},
        {"star", "stars", false}, {"a", "b", false}, {"1", "\x11", false}, {"ｓｔａｒ", "star", false},
        {"ＳＴＡＲ", "STAR", false}, {"ｓｔａｒ", "st", false}, {"Α", "β", false}, {"あ", "ア", false},
        {"ア", "ｱ", false}, {"ぁ", "あ", false}, {"１", "1", false}, {"日本", "にほん", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(equalNoCase(toSjis(c.a), toSjis(c.b)), c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(collateNoCase(toSjis(c.a), toSjis(c.b)) == 0, c.equal) << c.a << " / " << c.b;
    }
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
    // and of printable ASCII against every other: equal without case exactly
    // when Unicode makes them a case pair of the folded alphabets, or they
    // are the same character.
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
