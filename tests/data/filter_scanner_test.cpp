#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/error.h"
#include "data/filter_scanner.h"
#include "data/sjis.h"

using namespace tamboro;
using namespace tamboro::filter;

namespace {

std::vector<Token> scanSjis(std::string sjis) {
    static std::vector<std::string> keep;  // tokens view into the text
    keep.push_back(std::move(sjis));
    Scanner s(keep.back());
    std::vector<Token> out;
    for (;;) {
        Token t = s.next();
        if (t.kind == Tok::End) return out;
        out.push_back(std::move(t));
    }
}

std::vector<Token> scanAll(std::string_view utf8) { return scanSjis(toSjis(utf8)); }

std::vector<Tok> kinds(std::string_view utf8) {
    std::vector<Tok> k;
    for (const Token& t : scanAll(utf8)) k.push_back(t.kind);
    return k;
}

// The values of the literal tokens, in UTF-8.
std::vector<std::string> literals(std::string_view utf8) {
    std::vector<std::string> out;
    for (const Token& t : scanAll(utf8))
        if (t.kind == Tok::Literal) out.push_back(toUtf8(t.value));
    return out;
}

std::string scanError(std::string_view sjis) {
    try {
        Scanner s(sjis);
        while (s.next().kind != Tok::End) {
        }
    } catch (const DataError& e) {
        return e.what();
    }
    return {};
}

using V = std::vector<std::string>;

TEST(FilterScanner, SplitsASearchTextIntoTokens) {
    EXPECT_EQ(kinds("CODE > 0 AND (出演者１ = 'x*' OR  出演者２ <= '2004/01/31')"),
              (std::vector<Tok>{Tok::Name, Tok::Gt, Tok::Number, Tok::Name, Tok::LParen, Tok::Name, Tok::Eq,
                                Tok::Literal, Tok::Name, Tok::Name, Tok::Le, Tok::Literal, Tok::RParen}));
    EXPECT_EQ(kinds("a<>b<c>=d,e+f*g/h"),
              (std::vector<Tok>{Tok::Name, Tok::Ne, Tok::Name, Tok::Lt, Tok::Name, Tok::Ge, Tok::Name, Tok::Comma,
                                Tok::Name, Tok::Plus, Tok::Name, Tok::Star, Tok::Name, Tok::Slash, Tok::Name}));
    // Control characters and comments separate tokens.
    EXPECT_EQ(kinds("CODE\t>\r\n0\x01/* note */AND/**/x"),
              (std::vector<Tok>{Tok::Name, Tok::Gt, Tok::Number, Tok::Name, Tok::Name}));
}

TEST(FilterScanner, NamesTakeDoubleByteAndHalfWidthKatakanaAndBracketsHoldAnything) {
    // ソ and 表 end in the byte of "\\", which belongs to the character.
    auto t = scanAll("ソフト表示 ｶﾀｶﾅ音声言語1 a.b[c]_2 音声日本語１");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(toUtf8(t[0].value), "ソフト表示");
    EXPECT_EQ(toUtf8(t[1].value), "ｶﾀｶﾅ音声言語1");
    EXPECT_EQ(t[2].value, "a.b[c]_2");
    EXPECT_EQ(toUtf8(t[3].value), "音声日本語１");
    t = scanAll("[my field] = [a'b(c]");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].kind, Tok::Bracket);
    EXPECT_EQ(t[0].value, "my field");
    EXPECT_EQ(t[2].value, "a'b(c");
}

TEST(FilterScanner, KeywordsIgnoreCase) {
    auto t = scanAll("and Or nOT True FALSE null iS In");
    const char* keywords[] = {"AND", "OR", "NOT", "TRUE", "FALSE", "NULL", "IS", "IN"};
    ASSERT_EQ(t.size(), 8u);
    for (size_t i = 0; i < t.size(); ++i) EXPECT_TRUE(t[i].is(keywords[i])) << keywords[i];
    EXPECT_FALSE(scanAll("[AND]")[0].is("AND"));
}

TEST(FilterScanner, MinusStartsANumberOnlyWhereANumberIsExpected) {
    EXPECT_EQ(kinds("CODE > -5"), (std::vector<Tok>{Tok::Name, Tok::Gt, Tok::Number}));
    EXPECT_EQ(scanAll("CODE > -5")[2].value, "-5");
    EXPECT_EQ(kinds("CODE -5"), (std::vector<Tok>{Tok::Name, Tok::Minus, Tok::Number}));
    EXPECT_EQ(kinds("(CODE)-5"), (std::vector<Tok>{Tok::LParen, Tok::Name, Tok::RParen, Tok::Minus, Tok::Number}));
    EXPECT_EQ(kinds("'a'-5"), (std::vector<Tok>{Tok::Literal, Tok::Minus, Tok::Number}));
    EXPECT_EQ(kinds("x = 1 AND -5 < x")[4], Tok::Number);
    // A number runs over signs, exponents and points as one token.
    EXPECT_EQ(scanAll("x = 1.5E+3-2")[2].value, "1.5E+3-2");
}

// A quote ends a literal only before a keyword, an operator or the end; two
// quotes stand for one.
TEST(FilterScanner, QuoteEndsALiteralOnlyBeforeAKeywordOrOperator) {
    const std::pair<const char*, V> cases[] = {
        {"タイトル = 'Ocean's Eleven*'", {"Ocean's Eleven*"}},
        {"タイトル = 'Ocean's Eleven*' AND 監督 = 'S*'", {"Ocean's Eleven*", "S*"}},
        {"タイトル = 'Rock 'n' Roll*'", {"Rock 'n' Roll*"}},
        {"a = 'abc' AND b = 'd'", {"abc", "d"}},
        {"(a = 'x*' OR  b = 'x*') AND c <= '2004/01/31'", {"x*", "x*", "2004/01/31"}},
        {"a = 'x') \r\n and b = 'y'", {"x", "y"}}, {"a IN ('x', 'y')", {"x", "y"}}, {"'x'='y'", {"x", "y"}},
        {"'x' 5 'y'", {"x", "y"}}, {"'x' /* c */ 'y'", {"x", "y"}}, {"'x' t.f 'y'", {"x", "y"}},
        {"'x' group  by 'y'", {"x", "y"}}, {"'x' ORDER BY 'y'", {"x", "y"}}, {"'x' for update 'y'", {"x", "y"}},
        {"'x' is null or 'y'", {"x", "y"}},
        // Words not on the list keep the quote: NOT, GROUP without BY.
        {"'x' NOT 'y'", {"x' NOT 'y"}}, {"'x' group 'y'", {"x' group 'y"}},
        {"a = 'It''s' AND b = ''", {"It's", ""}}, {"a = ''''", {"'"}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(literals(text), expected) << text;
}

TEST(FilterScanner, LiteralKeepsItsFirst256Bytes) {
    std::string longText(300, 'a');
    auto t = scanAll("x = '" + longText + "' AND y = 'b'");
    EXPECT_EQ(t[2].value, std::string(256, 'a'));
    EXPECT_EQ(t[6].value, "b");
    // A double-byte character is never split at the cut.
    std::string kanji;
    for (int i = 0; i < 200; ++i) kanji += "字";
    EXPECT_EQ(scanAll("x = 'a" + kanji + "'")[2].value.size(), 255u);
}

// The language's messages are checked in full through the parser; these are
// the scanner's own corners.
TEST(FilterScanner, RejectsWhatItCannotScanSafely) {
    const std::pair<std::string, const char*> cases[] = {
        {"a = 'It''", "文字列定数が不完全です"},
        {"[open = 1", "項目名が不完全です"},
        {"a = \"b\"", "フィルター式に不正な文字 '\"' が含まれています。"},
        {"a ; b", "フィルター式に不正な文字 ';' が含まれています。"},
        {"a = .5", "フィルター式に不正な文字 '.' が含まれています。"},
        {"a \x80", "フィルター式に不正な文字 '\xEF\xBF\xBD' が含まれています。"},
        // A double-byte character cut off at the end.
        {std::string("x = '\x83", 6), "文字列定数が不完全です"},
        {std::string("[\x83", 2), "項目名が不完全です"},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(scanError(text), message) << text;
    EXPECT_EQ(scanSjis(std::string("abc\x83", 4)).size(), 1u);
}

}  // namespace
