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
}

TEST(FilterScanner, ControlCharactersAndCommentsSeparateTokens) {
    EXPECT_EQ(kinds("CODE\t>\r\n0\x01/* note */AND/**/x"),
              (std::vector<Tok>{Tok::Name, Tok::Gt, Tok::Number, Tok::Name, Tok::Name}));
    EXPECT_EQ(scanError("CODE > 0 /* open"), "フィルター式に不正な文字 '/*' が含まれています。");
}

TEST(FilterScanner, NamesTakeDoubleByteAndHalfWidthKatakana) {
    // ソ and 表 end in the byte of "\\", which belongs to the character.
    auto t = scanAll("ソフト表示 ｶﾀｶﾅ音声言語1 a.b[c]_2 音声日本語１");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(toUtf8(t[0].value), "ソフト表示");
    EXPECT_EQ(toUtf8(t[1].value), "ｶﾀｶﾅ音声言語1");
    EXPECT_EQ(t[2].value, "a.b[c]_2");
    EXPECT_EQ(toUtf8(t[3].value), "音声日本語１");
}

TEST(FilterScanner, BracketedNamesHoldAnyCharacters) {
    auto t = scanAll("[my field] = [a'b(c]");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].kind, Tok::Bracket);
    EXPECT_EQ(t[0].value, "my field");
    EXPECT_EQ(t[2].value, "a'b(c");
    EXPECT_EQ(scanError("[open = 1"), "項目名が不完全です");
}

TEST(FilterScanner, KeywordsIgnoreCase) {
    auto t = scanAll("and Or nOT True FALSE null iS In");
    for (const char* k : {"AND", "OR", "NOT", "TRUE", "FALSE", "NULL", "IS", "IN"}) {
        bool found = false;
        for (const Token& x : t) found = found || x.is(k);
        EXPECT_TRUE(found) << k;
    }
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

TEST(FilterScanner, QuoteInsideAWordStaysInTheLiteral) {
    EXPECT_EQ(literals("タイトル = 'Ocean's Eleven*'"), V{"Ocean's Eleven*"});
    EXPECT_EQ(literals("タイトル = 'Ocean's Eleven*' AND 監督 = 'S*'"), (V{"Ocean's Eleven*", "S*"}));
    EXPECT_EQ(literals("タイトル = 'Rock 'n' Roll*'"), V{"Rock 'n' Roll*"});
}

TEST(FilterScanner, QuoteBeforeAKeywordOrOperatorEndsTheLiteral) {
    EXPECT_EQ(literals("a = 'abc' AND b = 'd'"), (V{"abc", "d"}));
    EXPECT_EQ(literals("(a = 'x*' OR  b = 'x*') AND c <= '2004/01/31'"), (V{"x*", "x*", "2004/01/31"}));
    EXPECT_EQ(literals("a = 'x') \r\n and b = 'y'"), (V{"x", "y"}));
    EXPECT_EQ(literals("a IN ('x', 'y')"), (V{"x", "y"}));
    EXPECT_EQ(literals("'x'='y'"), (V{"x", "y"}));
    EXPECT_EQ(literals("'x' 5 'y'"), (V{"x", "y"}));
    EXPECT_EQ(literals("'x' /* c */ 'y'"), (V{"x", "y"}));
    EXPECT_EQ(literals("'x' t.f 'y'"), (V{"x", "y"}));
    EXPECT_EQ(literals("'x' group  by 'y'"), (V{"x", "y"}));
    EXPECT_EQ(literals("'x' ORDER BY 'y'"), (V{"x", "y"}));
    EXPECT_EQ(literals("'x' for update 'y'"), (V{"x", "y"}));
    EXPECT_EQ(literals("'x' is null or 'y'"), (V{"x", "y"}));
    // Words not on the list keep the quote: NOT, GROUP without BY.
    EXPECT_EQ(literals("'x' NOT 'y'"), V{"x' NOT 'y"});
    EXPECT_EQ(literals("'x' group 'y'"), V{"x' group 'y"});
}

TEST(FilterScanner, TwoQuotesStandForOne) {
    EXPECT_EQ(literals("a = 'It''s' AND b = ''"), (V{"It's", ""}));
    EXPECT_EQ(literals("a = ''''"), V{"'"});
}

TEST(FilterScanner, LiteralWithoutItsClosingQuoteIsRejected) {
    EXPECT_EQ(scanError(toSjis("CODE > 0 AND タイトル = 'abc")), "文字列定数が不完全です");
    EXPECT_EQ(scanError("a = 'It''"), "文字列定数が不完全です");
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

TEST(FilterScanner, IllegalCharactersAreNamed) {
    EXPECT_EQ(scanError("a ! b"), "フィルター式に不正な文字 '!' が含まれています。");
    EXPECT_EQ(scanError("a = \"b\""), "フィルター式に不正な文字 '\"' が含まれています。");
    EXPECT_EQ(scanError("a ; b"), "フィルター式に不正な文字 ';' が含まれています。");
    EXPECT_EQ(scanError("a = .5"), "フィルター式に不正な文字 '.' が含まれています。");
    EXPECT_EQ(scanError("a \x80"), "フィルター式に不正な文字 '\xEF\xBF\xBD' が含まれています。");
}

TEST(FilterScanner, TruncatedDoubleByteCharacterAtTheEndIsSafe) {
    EXPECT_EQ(scanSjis(std::string("abc\x83", 4)).size(), 1u);
    EXPECT_EQ(scanError(std::string("x = '\x83", 6)), "文字列定数が不完全です");
    EXPECT_EQ(scanError(std::string("[\x83", 2)), "項目名が不完全です");
}

}  // namespace
