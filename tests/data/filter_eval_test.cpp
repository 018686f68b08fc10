#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/error.h"
#include "filter_test_support.h"

using namespace tamboro;
using namespace tamboro::testing;

namespace {

using Codes = std::vector<int>;

// Titles covering the shapes the comparisons care about.
class FilterEval : public ::testing::Test {
protected:
    void SetUp() override {
        t.add(1, {{"タイトル", txt("Star Wars")}, {"監督", txt("George Lucas")}, {"製作国", txt("アメリカ")},
                  {"出演者１", txt("Mark Hamill")}, {"出演者２", txt("Harrison Ford")}, {"ジャンル１", num(100)},
                  {"ジャンル２", num(1)}, {"評価", num(5)}, {"予備６", txt("5")}, {"予備７", txt("4")},
                  {"鑑賞日", day(2004, 1, 10)}, {"回数", num(2)}, {"製作年", num(1977)}, {"収録時間", num(121)},
                  {"音声日本語２", num(3)}, {"音声英語１", num(2)}, {"音声言語1", num(1)}, {"音声言語4", num(2)},
                  {"IMPRESS3", flag(true)}, {"IMPRESS7", flag(true)}, {"価格", Value::real(3980)}});
        t.add(2, {{"タイトル", txt("STARSHIP")}, {"出演者２", txt("alan")}, {"ジャンル１", num(200)},
                  {"評価", num(3)}, {"IMPRESS3", flag(false)}});
        t.add(3, {{"タイトル", txt("Lone Star")}, {"出演者１", txt("Anne")}, {"鑑賞日", day(2004, 2, 15)},
                  {"回数", num(1)}, {"製作年", num(1990)}, {"収録時間", num(90)}, {"ジャンル１", num(100)},
                  {"ジャンル２", num(2)}, {"予備６", txt("3")}});
        t.add(4, {{"タイトル", txt("*")}, {"製作国", txt("日本")}});
        t.add(5, {{"タイトル", txt("Ocean's Eleven")}, {"監督", txt("Steven Soderbergh")}, {"IMPRESS7", flag(true)}});
        t.add(6, {{"タイトル", txt("スター・ウォーズ")}, {"製作国", txt("アメリカ")}, {"出演者５", txt("Mark")}});
        t.open();
    }
    Codes sel(std::string_view filter) { return t.select(filter); }
    TitleTable t;
};

TEST_F(FilterEval, TrailingStarMatchesAPrefixIgnoringCaseAndIsOtherwiseACharacter) {
    const std::pair<const char*, Codes> cases[] = {
        {"CODE > 0 AND タイトル = 'star*'", {1, 2}},
        {"CODE > 0 AND タイトル = 'ｓｔａｒ*'", {}},  // widths are not folded
        {"CODE > 0 AND タイトル = 'スター*'", {6}},
        {"CODE > 0 AND タイトル <> 'star*'", {3, 4, 5, 6}},
        {"CODE > 0 AND タイトル = '*'", {4}},
        {"CODE > 0 AND タイトル = 'S*ar*'", {}},
        {"CODE > 0 AND タイトル = 'star wars'", {1}},
        {"CODE > 0 AND タイトル = 'star'", {}},
        {"CODE > 0 AND タイトル = 'Star Wars Episode*'", {}},  // a prefix longer than the value
        {"CODE > 0 AND タイトル = 'Star Wars*'", {1}},
        {"CODE > 0 AND タイトル = 'Ocean's Eleven*'", {5}},
        {"CODE > 0 AND タイトル = 'ocean's*' AND 監督 = 'steven*'", {5}},
    };
    for (const auto& [filter, codes] : cases) EXPECT_EQ(sel(filter), codes) << filter;
}

TEST_F(FilterEval, CaseMattersWhenTheTableOptionIsOff) {
    TitleTable exact;
    exact.add(1, {{"タイトル", txt("Star Wars")}});
    exact.add(2, {{"タイトル", txt("STARSHIP")}});
    exact.open(false);
    EXPECT_EQ(exact.select("タイトル = 'Star*'"), Codes{1});
    EXPECT_EQ(exact.select("タイトル = 'star*'"), Codes{});
    EXPECT_EQ(exact.select("タイトル = 'STAR*'"), Codes{2});
}

TEST_F(FilterEval, ComparisonsTakeTheFieldsTypeAndTheLocaleOrder) {
    const std::pair<const char*, Codes> cases[] = {
        {"CODE > 0 AND タイトル >= 'Star'", {1, 2, 6}},
        {"CODE > 0 AND タイトル < 'M' AND タイトル > '*'", {3}},
        {"CODE > 0 AND タイトル < 'O*'", {3, 4}},     // no prefix under "<": "*" is a character
        {"ジャンル１ = '100'", {1, 3}},               // quoted number for an integer field
        {"CODE > 0 AND 予備６ = 5", {1}},             // number as text for a string field
        {"CODE > 0 AND 鑑賞日 = '2004/1/10'", {1}},  // short date
        {"CODE > 0 AND IMPRESS3 = true", {1}},
        {"CODE > 0 AND IMPRESS3 = False", {2, 3, 4, 5, 6}},
        {"価格 >= 3980.0", {1}},
        {"評価 < 32767 AND 評価 > -32768", {1, 2, 3, 4, 5, 6}},
        {"'2004/02/01' < 鑑賞日", {3}},  // constant on the left
        {"IMPRESS7", {1, 5}},             // a boolean alone means not false
        {"CODE > 0 AND NOT IMPRESS7", {2, 3, 4, 6}},
        {"IMPRESS3 OR IMPRESS7", {1, 5}},
        {"監督 IS NULL", {2, 3, 4, 6}},
        {"監督 = NULL", {2, 3, 4, 6}},
        {"NULL <> 監督", {1, 5}},
        {"CODE > 0 AND 鑑賞日 IS NOT NULL", {1, 3}},
        {"CODE * 2 - 1 = 5", {3}},
        {"CODE IN (2, 4, 9)", {2, 4}},
        {"タイトル IN ('lone star', 'x')", {3}},
        {"CODE > 0 AND 製作年 + 0 > 回数", {1, 3}},
        {"CODE > 0 AND タイトル + '!' = 'Star Wars!'", {1}},
        {"CODE > 0 AND (CODE = 1) = (評価 = 5)", {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& [filter, codes] : cases) EXPECT_EQ(sel(filter), codes) << filter;
}

// Blank fields read as zero values under AND, OR and NOT; a comparison
// standing alone rejects them.
TEST_F(FilterEval, BlankFieldsReadAsZeroUnderAndOrNotButFailALoneComparison) {
    const std::pair<const char*, Codes> cases[] = {
        {"CODE > 0 AND 鑑賞日 <= '2004/01/31'", {1, 2, 4, 5, 6}},  // never watched passes
        {"CODE > 0 AND 鑑賞日 >= '2004/01/31'", {3}},
        {"CODE > 0 AND 回数 <= 0", {2, 4, 5, 6}},
        {"CODE > 0 AND 回数 >= 1", {1, 3}},
        {"CODE > 0 AND 収録時間 <= 100", {2, 3, 4, 5, 6}},
        {"CODE > 0 AND 製作年 <= 0", {2, 4, 5, 6}},
        {"CODE > 0 AND 音声日本語１ = 0", {1, 2, 3, 4, 5, 6}},
        {"CODE > 0 AND (出演者１ = 'a*' OR  出演者２ = 'a*')", {2, 3}},
        {"CODE > 0 AND 出演者３ = '*'", {}},
        {"鑑賞日 <= '2004/01/31'", {1}},
        {"回数 <= 0", {}},
        {"監督 <> 'x'", {1, 5}},
        {"NOT 回数 >= 1", {2, 4, 5, 6}},
        {"(回数 <= 0)", {}},
        {"回数 IN (0, 1)", {3}},
    };
    for (const auto& [filter, codes] : cases) EXPECT_EQ(sel(filter), codes) << filter;
}

TEST(FilterTable, RejectedTextLeavesNoFilterAndTheFirstRowCurrent) {
    TitleTable t;
    for (int c = 1; c <= 4; ++c) t.add(c, {{"評価", num(c)}});
    Table& table = t.open();
    EXPECT_EQ(t.select("評価 >= 3"), (Codes{3, 4}));
    table.last();
    try {
        table.setFilterText(toSjis("CODE > 0 AND タイトル = 'abc"));
        FAIL() << "accepted";
    } catch (const DataError& e) {
        EXPECT_STREQ(e.what(), "文字列定数が不完全です");
    }
    EXPECT_EQ(t.codes(), (Codes{1, 2, 3, 4}));
    EXPECT_EQ(table.recNo(), 0);
    EXPECT_TRUE(table.filtered());
    // Switching on again re-parses the stored text and fails the same way.
    EXPECT_THROW(table.setFiltered(true), DataError);
    EXPECT_EQ(t.codes(), (Codes{1, 2, 3, 4}));
}

TEST(FilterTable, TextIsAppliedWhenSetWhileOnAndOnlyStoredWhileOff) {
    TitleTable t;
    for (int c = 1; c <= 4; ++c) t.add(c, {{"評価", num(c)}});
    Table& table = t.open();
    table.setFilterText(toSjis("評価 = 2"));
    EXPECT_EQ(t.codes(), (Codes{1, 2, 3, 4}));
    table.setFiltered(true);
    EXPECT_EQ(t.codes(), Codes{2});
    table.setFilterText(toSjis("評価 > 2"));
    EXPECT_EQ(t.codes(), (Codes{3, 4}));
    EXPECT_EQ(table.recNo(), 0);
    table.setFilterText("");
    EXPECT_EQ(t.codes(), (Codes{1, 2, 3, 4}));
    table.setFilterText(toSjis("評価 > 2"));
    table.setFiltered(false);
    EXPECT_EQ(t.codes(), (Codes{1, 2, 3, 4}));
}

}  // namespace
