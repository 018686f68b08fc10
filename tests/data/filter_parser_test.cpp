#include <gtest/gtest.h>

#include <string>

#include "data/catalogue_schema.h"
#include "data/error.h"
#include "data/filter_parser.h"
#include "data/sjis.h"
#include "filter_test_support.h"

using namespace tamboro;
using namespace tamboro::filter;
using tamboro::testing::rejection;

namespace {

// The tree as a compact text: (OR a b), (AND ...), (NOT x), (= a b), ...
std::string shape(const Ast& a) {
    auto kids = [&](std::string head) {
        std::string out = "(";
        out += head;
        for (const auto& k : a.kids) out.append(" ").append(shape(*k));
        return out.append(")");
    };
    switch (a.kind) {
    case Ast::Kind::Or: return kids("OR");
    case Ast::Kind::And: return kids("AND");
    case Ast::Kind::Not: return kids("NOT");
    case Ast::Kind::Compare: {
        const char* ops[] = {"=", "<>", "<", ">", "<=", ">="};
        return kids(ops[static_cast<int>(a.op)]);
    }
    case Ast::Kind::In: return kids("IN");
    case Ast::Kind::IsNull: return kids(a.negated ? "NOTNULL" : "NULL?");
    case Ast::Kind::Sum:
    case Ast::Kind::Product: return kids(a.ops);
    case Ast::Kind::Field: return toUtf8(a.text);
    case Ast::Kind::Number: return a.text;
    case Ast::Kind::String: return std::string("'").append(toUtf8(a.text)).append("'");
    case Ast::Kind::Bool: return a.negated ? "F" : "T";
    case Ast::Kind::Null: return "NULL";
    }
    return "?";
}

std::string parsed(std::string_view utf8) {
    AstPtr a = parseFilter(toSjis(utf8), schemaOf(CatalogueTable::Dvd));
    return a ? shape(*a) : "";
}

TEST(FilterGrammar, ParsesWithTheUsualPrecedenceIntoOneNodePerRun) {
    const std::pair<const char*, const char*> cases[] = {
        {"CODE = 1 OR CODE = 2 AND 評価 = 3", "(OR (= CODE 1) (AND (= CODE 2) (= 評価 3)))"},
        {"(CODE = 1 OR CODE = 2) AND 評価 = 3", "(AND (OR (= CODE 1) (= CODE 2)) (= 評価 3))"},
        {"CODE > 0 AND CODE > 1 AND CODE > 2", "(AND (> CODE 0) (> CODE 1) (> CODE 2))"},
        {"CODE + 1 - 2 + 3 > 0", "(> (+-+ CODE 1 2 3) 0)"},
        {"NOT CODE = 1 AND 評価 = 2", "(AND (NOT (= CODE 1)) (= 評価 2))"},  // NOT takes one comparison
        {"NOT (CODE = 1 AND 評価 = 2)", "(NOT (AND (= CODE 1) (= 評価 2)))"},
        {"CODE + 2 * 3 >= 4 / 5 - 1", "(>= (+ CODE (* 2 3)) (- (/ 4 5) 1))"},
        {"CODE IN (1, 2 ,3)", "(IN CODE 1 2 3)"},
        {"タイトル IS NULL OR 監督 is not null", "(OR (NULL? タイトル) (NOTNULL 監督))"},
        {"[タイトル] = NULL", "(= タイトル NULL)"},
        {"code > 0 AND impress3", "(AND (> code 0) impress3)"},  // names ignore ASCII case
        {"", ""}, {" \t\r\n", ""}, {"/* nothing */", ""},          // no filter at all
    };
    for (auto [text, tree] : cases) EXPECT_EQ(parsed(text), tree) << text;
}

// Every failure of the language, with its exact message.
TEST(FilterMessages, EachMalformedTextHasItsMessage) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"CODE > 0 AND タイトル ! 'a'", "フィルター式に不正な文字 '!' が含まれています。"},
        {"CODE > 0 /* open", "フィルター式に不正な文字 '/*' が含まれています。"},
        {"CODE > 0 AND タイトル = 'abc", "文字列定数が不完全です"},
        {"CODE > 0 AND [タイトル = 'abc'", "項目名が不完全です"},
        {"CODE > 0 CODE", "フィルター式が正しく終わっていません"},
        {"CODE = 1 = 2", "フィルター式が正しく終わっていません"},
        {"CODE", "フィルター式の形式が正しくありません"},
        {"CODE > 0 AND タイトル", "フィルター式の形式が正しくありません"},
        {"CODE + 1", "フィルター式の形式が正しくありません"},
        {"NULL", "フィルター式の形式が正しくありません"},
        {"CODE > 0 AND NOT 5", "フィルター式の形式が正しくありません"},
        {"NOT NOT CODE = 1", "式が必要な場所に NOT。"},
        {"CODE > 0 AND", "式が必要な場所に 式の終わり。"},
        {"CODE > ", "式が必要な場所に 式の終わり。"},
        {"CODE > 0 AND OR CODE < 5", "式が必要な場所に OR。"},
        {"CODE = )", "式が必要な場所に )。"},
        {"CODE > 0 AND (CODE < 5", "')' が必要な場所に式の終わりがあります。"},
        {"(CODE < 5 CODE", "')' が必要な場所にCODEがあります。"},
        {"CODE IN 1, 2", "'(' が必要なところに 1 が現れました。"},
        {"CODE IN (1 2)", "')' または ',' が必要なところに 2 が現れました。"},
        {"CODE IN (1, 2", "')' または ',' が必要なところに 式の終わり が現れました。"},
        {"CODE IN ()", "IN 述語のリストは空であってはならない"},
        {"タイトル IS 'a'", "キーワードが間違っています"},
        {"タイトル IS NOT TRUE", "キーワードが間違っています"},
        {"タイトル > NULL", "NULL は '=' または '<>' 以外と組み合わせることはできません"},
        {"NULL <= CODE", "NULL は '=' または '<>' 以外と組み合わせることはできません"},
        {"CODE + NULL = 1", "NULL は '=' または '<>' 以外と組み合わせることはできません"},
        {"CODE > 0 AND 監督X = 'a'", "項目 '監督X' が見つかりません"},
        {"[no such] = 1", "項目 'no such' が見つかりません"},
        {"コメント = 'a'", "式内の型不一致"},
        {"ストーリー <> タイトル", "式内の型不一致"},
        {"コメント IN ('a')", "式内の型不一致"},
        {"タイトル = TRUE", "式内の型不一致"},
        {"IMPRESS1 = 1", "式内の型不一致"},
        {"タイトル + 1 > CODE", "式内の型不一致"},
        {"CODE > 0 AND COUNT(CODE) > 1", "集合式はフィルター式中には許されません"},
        {"SUM (CODE) > 1", "集合式はフィルター式中には許されません"},
        {"CODE > 0 AND 製作年 <= 99999", "定数が範囲を超えています"},
        {"評価 = -32769", "定数が範囲を超えています"},
        {"CODE = 2147483648", "定数が範囲を超えています"},
        {"CODE = 99999999999999999999999", "定数が範囲を超えています"},
        {"CODE = 'abc'", "'abc' は整数ではありません"},
        {"ジャンル１ = 1.5", "'1.5' は整数ではありません"},
        {"CODE = 1-2", "'1-2' は整数ではありません"},
        {"鑑賞日 <= '2004/13/01'", "'2004/13/01' は日付ではありません"},
        {"鑑賞日 <= 'きのう'", "'きのう' は日付ではありません"},
        {"鑑賞日 <= 20040131", "'20040131' は日付ではありません"},
        {"価格 > 'abc'", "'abc' は項目 '価格' に適した浮動小数点値ではありません"},
        {"UPPER(タイトル) = 'A'", "フィルター式に不正な文字 'UPPER' が含まれています。"},
        {"タイトル LIKE 'A%'", "フィルター式に不正な文字 'LIKE' が含まれています。"},
        {"YEAR = 1", "項目 'YEAR' が見つかりません"},  // a function name without parentheses
    };
    for (const Case& c : cases) EXPECT_EQ(rejection(c.text), c.message) << c.text;
}

TEST(FilterRobustness, DeepNestingIsRejectedNotOverflowed) {
    std::string deep(kMaxFilterDepth - 1, '(');
    deep += "CODE > 0" + std::string(kMaxFilterDepth - 1, ')');
    EXPECT_EQ(rejection(deep), "");
    std::string tooDeep(100000, '(');
    EXPECT_EQ(rejection(tooDeep + "CODE > 0"), "フィルター式の括弧の入れ子が深すぎます");
    std::string nots;
    for (int i = 0; i < 100000; ++i) nots += "NOT (";
    EXPECT_EQ(rejection(nots), "フィルター式の括弧の入れ子が深すぎます");
    std::string lists;
    for (int i = 0; i < 100000; ++i) lists += "CODE IN (";
    EXPECT_EQ(rejection(lists), "フィルター式の括弧の入れ子が深すぎます");
}

TEST(FilterRobustness, VeryLongTextsParse) {
    std::string ors = "CODE = 0";
    std::string sum = "CODE";
    for (int i = 1; i < 50000; ++i) {
        ors += " OR CODE = " + std::to_string(i);
        sum += " + 1";
    }
    EXPECT_EQ(rejection(ors), "");
    EXPECT_EQ(rejection(sum + " > 0"), "");
    std::string quotes = "タイトル = '";
    for (int i = 0; i < 50000; ++i) quotes += "x' y";
    EXPECT_EQ(rejection(quotes + "'"), "");
}

}  // namespace
