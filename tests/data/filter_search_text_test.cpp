// Whole search texts as the main window joins them from its criterion
// slots, applied to a title table with the case-insensitive option.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "data/error.h"
#include "filter_test_support.h"

using namespace tamboro;
using namespace tamboro::testing;

namespace {

using Codes = std::vector<int>;

// The 25 slots, each built as its criterion builds it.
class Search {
public:
    Search& genre1(int c) { return set(1, " AND ジャンル１ = " + std::to_string(c)); }
    Search& genre2(int c) { return set(2, " AND ジャンル２ = " + std::to_string(c)); }
    Search& rating(const std::string& n) { return set(3, " AND 評価 = " + n); }
    Search& dvdRating(const std::string& n) { return set(4, " AND 予備６ = '" + n + "'"); }
    Search& movieRating(const std::string& n) { return set(5, " AND 予備７ = '" + n + "'"); }
    Search& title(const std::string& t) { return set(6, " AND タイトル = '" + t + "*'"); }
    Search& year(const std::string& y, bool before) { return set(7, bound("製作年", y, before)); }
    Search& country(const std::string& t) { return set(8, " AND 製作国 = '" + t + "*'"); }
    Search& director(const std::string& t) { return set(9, " AND 監督 = '" + t + "*'"); }
    Search& cast(const std::string& t) {
        std::string s = " AND (出演者１ = '" + t + "*'";
        for (const char* k : {"２", "３", "４", "５"}) s += std::string(" OR  出演者") + k + " = '" + t + "*'";
        return set(10, s + ")");
    }
    Search& sound(int c) {
        std::string code = std::to_string(c), s = " AND (音声日本語１ = " + code;
        for (const char* f : {"音声日本語２", "音声日本語３", "音声英語１", "音声英語２", "音声英語３"})
            s += std::string(" OR  ") + f + " = " + code;
        return set(11, s + ")");
    }
    Search& language(int c) {
        std::string code = std::to_string(c), s = " AND (音声言語1 = " + code;
        for (int k = 2; k <= 6; ++k) s += " OR  音声言語" + std::to_string(k) + " = " + code;
        return set(12, s + ")");
    }
    Search& watched(const std::string& date, bool before) {
        return set(13, std::string(" AND 鑑賞日 ") + (before ? "<=" : ">=") + " '" + date + "'");
    }
    Search& count(const std::string& n, bool atMost) { return set(14, bound("回数", n, atMost)); }
    Search& runningTime(const std::string& n, bool atMost) { return set(15, bound("収録時間", n, atMost)); }
    Search& impression(int k) { return set(15 + k, " AND IMPRESS" + std::to_string(k) + " = TRUE"); }

    std::string text() const {
        std::string s = "CODE > 0";
        for (const std::string& slot : slots_) s += slot;
        return s;
    }

private:
    static std::string bound(const char* field, const std::string& n, bool atMost) {
        return std::string(" AND ") + field + (atMost ? " <= " : " >= ") + n;
    }
    Search& set(int slot, std::string fragment) {
        slots_[static_cast<size_t>(slot - 1)] = std::move(fragment);
        return *this;
    }
    std::array<std::string, 25> slots_;
};

class SearchTexts : public ::testing::Test {
protected:
    void SetUp() override {
        t.add(1, {{"ジャンル１", num(3)}, {"ジャンル２", num(7)}, {"評価", num(5)}, {"予備６", txt("4")},
                  {"予備７", txt("5")}, {"タイトル", txt("スター・ウォーズ")}, {"製作年", num(1977)},
                  {"製作国", txt("アメリカ")}, {"監督", txt("George Lucas")}, {"出演者３", txt("Harrison Ford")},
                  {"音声英語２", num(4)}, {"音声言語5", num(9)}, {"鑑賞日", day(2004, 1, 20)}, {"回数", num(3)},
                  {"収録時間", num(121)}, {"IMPRESS2", flag(true)}, {"IMPRESS10", flag(true)}});
        t.add(2, {{"ジャンル１", num(3)}, {"ジャンル２", num(8)}, {"評価", num(5)},
                  {"タイトル", txt("スタートレック")}, {"出演者１", txt("harrison")}, {"IMPRESS2", flag(true)},
                  {"音声日本語１", num(4)}});
        t.add(3, {{"ジャンル１", num(1)}, {"ジャンル２", num(7)}, {"評価", num(2)}, {"タイトル", txt("Ocean's Eleven")},
                  {"製作年", num(2001)}, {"監督", txt("Steven Soderbergh")}, {"鑑賞日", day(2005, 6, 1)},
                  {"回数", num(1)}, {"収録時間", num(116)}, {"音声言語1", num(9)}});
        t.add(4, {{"タイトル", txt("Rock 'n' Roll High School")}, {"製作国", txt("アメリカ")}});
        t.open();
    }
    Codes run(const Search& s) { return t.select(s.text()); }
    TitleTable t;
};

TEST_F(SearchTexts, TheTypicalSearchOfTheMainWindowAndImpressionsLast) {
    EXPECT_EQ(run(Search()), (Codes{1, 2, 3, 4}));  // no criterion lists every title
    Search s;
    s.genre1(3).rating("5").title("スター").impression(2);
    EXPECT_EQ(s.text(), "CODE > 0 AND ジャンル１ = 3 AND 評価 = 5 AND タイトル = 'スター*' AND IMPRESS2 = TRUE");
    EXPECT_EQ(run(s), (Codes{1, 2}));
    Search i;
    i.impression(10).impression(2).genre1(3);
    EXPECT_EQ(i.text(), "CODE > 0 AND ジャンル１ = 3 AND IMPRESS2 = TRUE AND IMPRESS10 = TRUE");
    EXPECT_EQ(run(i), Codes{1});
}

TEST_F(SearchTexts, EachCriterionAlone) {
    const std::pair<Search, Codes> cases[] = {
        {Search().genre1(3), {1, 2}},
        {Search().genre2(7), {1, 3}},  // a sub-genre alone spans major genres
        {Search().rating("2"), {3}},
        {Search().year("1990", true), {1, 2, 4}},
        {Search().year("1990", false), {3}},
        {Search().count("1", false), {1, 3}},
        {Search().count("2", true), {2, 3, 4}},
        {Search().runningTime("120", true), {2, 3, 4}},
        {Search().runningTime("120", false), {1}},
        {Search().dvdRating("4"), {1}},  // derived ratings compare as text
        {Search().movieRating("5").dvdRating("4"), {1}},
        {Search().movieRating("0"), {}},
        {Search().country("アメ"), {1, 4}},  // text slots are prefixes ignoring case
        {Search().director("george"), {1}},
        {Search().title("ocean's"), {3}},
        {Search().title("Rock 'n' Roll").country("アメリカ"), {4}},
        {Search().cast("HARRISON"), {1, 2}},  // groups try every field
        {Search().sound(4), {1, 2}},
        {Search().language(9), {1, 3}},
        {Search().sound(0), {1, 2, 3, 4}},  // blank codes equal 0
        {Search().watched("2004/12/31", true), {1, 2, 4}},
        {Search().watched("2004/12/31", false), {3}},
        {Search().watched("2004/1/20", false), {1, 3}},
    };
    for (const auto& [search, codes] : cases) EXPECT_EQ(run(search), codes) << search.text();
}

TEST_F(SearchTexts, AllTwentyFiveSlotsTogether) {
    Search s;
    s.genre1(3).genre2(7).rating("5").dvdRating("4").movieRating("5").title("スター").year("1977", true)
        .country("アメリカ").director("George").cast("harrison").sound(4).language(9).watched("2004/01/20", false)
        .count("3", false).runningTime("121", true);
    for (int k = 1; k <= 10; ++k) s.impression(k);
    EXPECT_EQ(run(s), Codes{});  // no title has every impression
    Search matching;
    matching.genre1(3).genre2(7).rating("5").dvdRating("4").movieRating("5").title("スター").year("1977", true)
        .country("アメリカ").director("George").cast("harrison").sound(4).language(9).watched("2004/01/20", false)
        .count("3", false).runningTime("121", true).impression(2).impression(10);
    EXPECT_EQ(run(matching), Codes{1});
}

TEST_F(SearchTexts, MalformedCriterionTextsAreRejected) {
    EXPECT_THROW(run(Search().watched("2004/02/30", true)), DataError);
    EXPECT_EQ(t.codes(), (Codes{1, 2, 3, 4}));  // no filter in effect
    try {
        run(Search().year("99999", true));
        FAIL();
    } catch (const DataError& e) {
        EXPECT_STREQ(e.what(), "定数が範囲を超えています");
    }
    // A quote before " AND" ends the title literal; what follows is left over.
    try {
        run(Search().title("Tom' AND x").genre1(3));
        FAIL();
    } catch (const DataError& e) {
        EXPECT_STREQ(e.what(), "項目 'x' が見つかりません");
    }
}

}  // namespace
