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

TEST_F(FilterEval, TrailingStarMatchesAPrefixIgnoringCase) {
    EXPECT_EQ(sel("CODE > 0 AND タイトル = 'star*'"), (Codes{1, 2}));
    EXPECT_EQ(sel("CODE > 0 AND タイトル = 'ｓｔａｒ*'"), Codes{});  // widths are not folded
    EXPECT_EQ(sel("CODE > 0 AND タイトル = 'スター*'"), Codes{6});
    EXPECT_EQ(sel("CODE > 0 AND タイトル <> 'star*'"), (Codes{3, 4, 5, 6}));
}

TEST_F(FilterEval, StarAloneOrInsideIsAnOrdinaryCharacter) {
    EXPECT_EQ(sel("CODE > 0 AND タイトル = '*'"), Codes{4});
    EXPECT_EQ(sel("CODE > 0 AND タイトル = 'S*ar*'"), Codes{});
    EXPECT_EQ(sel("CODE > 0 AND タイトル = 'star wars'"), Codes{1});
    EXPECT_EQ(sel("CODE > 0 AND タイトル = 'star'"), Codes{});
}

TEST_F(FilterEval, PrefixLongerThanTheValueNeverMatches) {
    EXPECT_EQ(sel("CODE > 0 AND タイトル = 'Star Wars Episode*'"), Codes{});
    EXPECT_EQ(sel("CODE > 0 AND タイトル = 'Star Wars*'"), Codes{1});
}

TEST_F(FilterEval, ApostropheInsideATitleIsMatched) {
    EXPECT_EQ(sel("CODE > 0 AND タイトル = 'Ocean's Eleven*'"), Codes{5});
    EXPECT_EQ(sel("CODE > 0 AND タイトル = 'ocean's*' AND 監督 = 'steven*'"), Codes{5});
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

TEST_F(FilterEval, OrderOperatorsUseTheLocaleOrderOverWholeValues) {
    EXPECT_EQ(sel("CODE > 0 AND タイトル >= 'Star'"), (Codes{1, 2, 6}));
    EXPECT_EQ(sel("CODE > 0 AND タイトル < 'M' AND タイトル > '*'"), Codes{3});
    // A "*" is not a prefix under "<": it is compared as a character.
    EXPECT_EQ(sel("CODE > 0 AND タイトル < 'O*'"), (Codes{3, 4}));
}

TEST_F(FilterEval, ConstantsTakeTheFieldsType) {
    EXPECT_EQ(sel("ジャンル１ = '100'"), (Codes{1, 3}));            // quoted number for an integer field
    EXPECT_EQ(sel("CODE > 0 AND 予備６ = 5"), Codes{1});           // number as text for a string field
    EXPECT_EQ(sel("CODE > 0 AND 鑑賞日 = '2004/1/10'"), Codes{1});  // short date
    EXPECT_EQ(sel("CODE > 0 AND IMPRESS3 = true"), Codes{1});
    EXPECT_EQ(sel("CODE > 0 AND IMPRESS3 = False"), (Codes{2, 3, 4, 5, 6}));
    EXPECT_EQ(sel("価格 >= 3980.0"), Codes{1});
    EXPECT_EQ(sel("評価 < 32767 AND 評価 > -32768"), (Codes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(sel("'2004/02/01' < 鑑賞日"), Codes{3});  // constant on the left
}

TEST_F(FilterEval, BooleanFieldAloneMeansNotFalse) {
    EXPECT_EQ(sel("IMPRESS7"), (Codes{1, 5}));
    EXPECT_EQ(sel("CODE > 0 AND NOT IMPRESS7"), (Codes{2, 3, 4, 6}));
    EXPECT_EQ(sel("IMPRESS3 OR IMPRESS7"), (Codes{1, 5}));
}

TEST_F(FilterEval, NullComparisonsAreNullTests) {
    EXPECT_EQ(sel("監督 IS NULL"), (Codes{2, 3, 4, 6}));
    EXPECT_EQ(sel("監督 = NULL"), (Codes{2, 3, 4, 6}));
    EXPECT_EQ(sel("NULL <> 監督"), (Codes{1, 5}));
    EXPECT_EQ(sel("CODE > 0 AND 鑑賞日 IS NOT NULL"), (Codes{1, 3}));
}

TEST_F(FilterEval, ArithmeticInListsAndFieldAgainstField) {
    EXPECT_EQ(sel("CODE * 2 - 1 = 5"), Codes{3});
    EXPECT_EQ(sel("CODE IN (2, 4, 9)"), (Codes{2, 4}));
    EXPECT_EQ(sel("タイトル IN ('lone star', 'x')"), Codes{3});
    EXPECT_EQ(sel("CODE > 0 AND 製作年 + 0 > 回数"), (Codes{1, 3}));
    EXPECT_EQ(sel("CODE > 0 AND タイトル + '!' = 'Star Wars!'"), Codes{1});
    EXPECT_EQ(sel("CODE > 0 AND (CODE = 1) = (評価 = 5)"), (Codes{1, 2, 3, 4, 5, 6}));
}

// Blank fields read as zero values under AND, OR and NOT.
TEST_F(FilterEval, NeverWatchedTitlePassesOnOrBeforeAndFailsOnOrAfter) {
    EXPECT_EQ(sel("CODE > 0 AND 鑑賞日 <= '2004/01/31'"), (Codes{1, 2, 4, 5, 6}));
    EXPECT_EQ(sel("CODE > 0 AND 鑑賞日 >= '2004/01/31'"), Codes{3});
    EXPECT_EQ(sel("CODE > 0 AND 回数 <= 0"), (Codes{2, 4, 5, 6}));
    EXPECT_EQ(sel("CODE > 0 AND 回数 >= 1"), (Codes{1, 3}));
}

TEST_F(FilterEval, BlankNumbersSatisfyUpperBoundsAndEqualZero) {
    EXPECT_EQ(sel("CODE > 0 AND 収録時間 <= 100"), (Codes{2, 3, 4, 5, 6}));
    EXPECT_EQ(sel("CODE > 0 AND 製作年 <= 0"), (Codes{2, 4, 5, 6}));
    EXPECT_EQ(sel("CODE > 0 AND 音声日本語１ = 0"), (Codes{1, 2, 3, 4, 5, 6}));
}

TEST_F(FilterEval, BlankCastFieldFailsEveryPrefixButAnotherMayMatch) {
    EXPECT_EQ(sel("CODE > 0 AND (出演者１ = 'a*' OR  出演者２ = 'a*')"), (Codes{2, 3}));
    EXPECT_EQ(sel("CODE > 0 AND 出演者３ = '*'"), Codes{});
}

TEST_F(FilterEval, LoneComparisonRejectsABlankField) {
    EXPECT_EQ(sel("鑑賞日 <= '2004/01/31'"), Codes{1});
    EXPECT_EQ(sel("回数 <= 0"), Codes{});
    EXPECT_EQ(sel("監督 <> 'x'"), (Codes{1, 5}));
    EXPECT_EQ(sel("NOT 回数 >= 1"), (Codes{2, 4, 5, 6}));
    EXPECT_EQ(sel("(回数 <= 0)"), Codes{});
    EXPECT_EQ(sel("回数 IN (0, 1)"), Codes{3});
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
