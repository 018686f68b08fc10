#include <gtest/gtest.h>

#include "table_fixture.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

std::vector<FieldDef> fields() {
    return {FieldDef::make("CODE", FieldType::Int32), FieldDef::make("G1", FieldType::Int16),
            FieldDef::make("G2", FieldType::Int16), FieldDef::make("TITLE", FieldType::String, 60)};
}

std::vector<int> codes(Table& t) {
    std::vector<int> out;
    for (t.first(); !t.eof(); t.next()) out.push_back(static_cast<int>(t.fieldByName("CODE").asInteger()));
    return out;
}

struct Ordering : ::testing::Test {
    Table t{"T", "/nonexistent/T.xml", Schema(fields())};
    void open() {
        t.setIndexFields("CODE");
        t.openFrom(makePacket(fields(), {
                                            {I(1), I(200), I(2), S("Star Wars")},
                                            {I(2), N(), I(1), S("あさひ")},
                                            {I(3), I(100), I(5), N()},
                                            {I(4), I(200), I(1), S("star trek")},
                                            {I(5), I(100), N(), S("いろは")},
                                        }));
    }
};

TEST_F(Ordering, BlankSortsFirstNamesIgnoreAsciiCaseAndAnUnknownNameKeepsTheOrder) {
    open();
    t.setIndexFields("g1 ; g2");
    EXPECT_EQ(codes(t), (std::vector<int>{2, 5, 3, 4, 1}));
    EXPECT_EQ(t.fieldByName("title").index(), 3);
    EXPECT_EQ(errorOf([&] { t.setIndexFields("NOPE"); }), "項目 'NOPE' が見つかりません");
    EXPECT_EQ(codes(t), (std::vector<int>{2, 5, 3, 4, 1}));
}

TEST_F(Ordering, TitlesFollowJapaneseCollationWithBlankFirst) {
    open();
    t.setIndexFields("TITLE");
    std::vector<int> got = codes(t);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0], 3);  // blank title
    // Latin letters before kana; あ before い.
    auto pos = [&](int c) { return std::find(got.begin(), got.end(), c) - got.begin(); };
    EXPECT_LT(pos(4), pos(2));
    EXPECT_LT(pos(1), pos(2));
    EXPECT_LT(pos(2), pos(5));
}

TEST_F(Ordering, OrderChangeKeepsCurrentRowAndFiresNoScroll) {
    open();
    t.last();  // CODE 5
    int scrolls = 0;
    t.afterScroll = [&](Table&) { ++scrolls; };
    t.setIndexFields("G1;G2");
    EXPECT_EQ(t.fieldByName("CODE").asInteger(), 5);
    EXPECT_EQ(t.recNo(), 1);
    EXPECT_EQ(scrolls, 0);
}

TEST_F(Ordering, GotoKeyFindsFirstMatchInIndexOrderOrKeepsTheCurrentRow) {
    open();
    t.next();
    t.setKey();
    t.fieldByName("CODE").setInteger(99);
    EXPECT_FALSE(t.gotoKey());
    EXPECT_EQ(t.fieldByName("CODE").asInteger(), 2);
    t.setIndexFields("G1;G2");
    t.setKey();
    EXPECT_EQ(errorOf([&] { t.fieldByName("TITLE").setText("x"); }),
              "項目 'TITLE' にはインデックスが無く変更できません");
    t.fieldByName("G1").setInteger(200);
    t.fieldByName("G2").setInteger(1);
    EXPECT_TRUE(t.gotoKey());
    EXPECT_EQ(t.fieldByName("CODE").asInteger(), 4);
    EXPECT_EQ(t.state(), TableState::Browse);
}

TEST_F(Ordering, NewOrChangedKeyMovesRowToItsPlace) {
    open();
    t.first();
    t.edit();
    t.fieldByName("CODE").setInteger(10);
    t.post();
    EXPECT_EQ(t.recNo(), 4);
    EXPECT_EQ(codes(t), (std::vector<int>{2, 3, 4, 5, 10}));
}

// ---- master and detail ----------------------------------------------------

struct MasterDetail : ::testing::Test {
    std::vector<FieldDef> masterFields{FieldDef::make("GENRE_CODE1", FieldType::Int16),
                                       FieldDef::make("GENRE_NAME", FieldType::String, 20)};
    std::vector<FieldDef> detailFields{FieldDef::make("GENRE_CODE1", FieldType::Int16),
                                       FieldDef::make("GENRE_CODE2", FieldType::Int16),
                                       FieldDef::make("GENRE_NAME2", FieldType::String, 40)};
    Table master{"M", "/nonexistent/M.xml", Schema(masterFields)};
    Table detail{"D", "/nonexistent/D.xml", Schema(detailFields)};
    void SetUp() override {
        master.setIndexFields("GENRE_CODE1");
        detail.setIndexFields("GENRE_CODE1;GENRE_CODE2");
        detail.setMaster(&master, "GENRE_CODE1");
        master.openFrom(makePacket(masterFields, {{I(100), S("洋画")}, {I(200), S("邦画")}}));
        detail.openFrom(makePacket(detailFields, {{I(100), I(2), S("b")},
                                                  {I(200), I(1), S("x")},
                                                  {I(100), I(1), S("a")},
                                                  {I(300), I(1), S("orphan")}}));
    }
};

TEST_F(MasterDetail, DetailShowsOnlyRowsOfMastersCurrentRow) {
    EXPECT_EQ(detail.recordCount(), 2);
    EXPECT_EQ(detail.fieldByName("GENRE_CODE2").asInteger(), 1);
    master.next();
    EXPECT_EQ(detail.recordCount(), 1);
    EXPECT_EQ(detail.fieldByName("GENRE_NAME2").asString(), "x");
}

TEST_F(MasterDetail, AppendedDetailRowTakesMastersLinkValue) {
    master.next();
    detail.append();
    EXPECT_EQ(detail.fieldByName("GENRE_CODE1").asInteger(), 200);
    EXPECT_FALSE(detail.modified());  // an untouched new row is still dropped
}

TEST_F(MasterDetail, ChangingMasterLinkFieldReRangesDetailAtOnce) {
    master.edit();
    master.fieldByName("GENRE_CODE1").setInteger(300);
    EXPECT_EQ(detail.recordCount(), 1);
    EXPECT_EQ(detail.fieldByName("GENRE_NAME2").asString(), "orphan");
}

TEST_F(MasterDetail, DetailWhoseMasterHasNoCurrentRowShowsNoRows) {
    master.close();
    EXPECT_EQ(detail.recordCount(), 0);
    master.openFrom(makePacket(masterFields, {}));
    EXPECT_EQ(detail.recordCount(), 0);
}

TEST_F(MasterDetail, MasterMoveCompletesDetailsPendingEdit) {
    detail.append();
    detail.fieldByName("GENRE_CODE2").setInteger(3);
    master.next();
    EXPECT_EQ(detail.state(), TableState::Browse);
    master.first();
    EXPECT_EQ(detail.recordCount(), 3);
}

TEST_F(MasterDetail, ClosingMasterDropsDetailsPendingEditInsteadOfPostingIt) {
    detail.append();
    detail.fieldByName("GENRE_CODE2").setInteger(3);
    bool posted = false;
    detail.afterPost = [&](Table&) { posted = true; };
    master.close();
    EXPECT_FALSE(posted);
    EXPECT_EQ(detail.state(), TableState::Browse);
    EXPECT_EQ(detail.changeCount(), 0);
}

TEST(OrderingPacked, MixedIndexAndOutOfRangeValuesSortLikeFieldByFieldComparison) {
    const std::vector<FieldDef> fs = fields();
    // A file may hold a 16-bit field beyond its range; order must still be by value.
    Table t{"T", "/nonexistent/T.xml", Schema(fs)};
    t.setIndexFields("G1;TITLE;CODE");
    t.openFrom(makePacket(fs, {{I(1), I(100000), N(), S("b")},
                               {I(2), I(5), N(), S("b")},
                               {I(3), I(5), N(), S("a")},
                               {I(4), I(70000), N(), S("a")},
                               {I(5), I(5), N(), S("b")},
                               {I(6), I(5), N(), N()},
                               {I(7), I(-40000), N(), S("z")}}));
    EXPECT_EQ(codes(t), (std::vector<int>{7, 6, 3, 2, 5, 4, 1}));
    t.setIndexFields("TITLE;G1");
    EXPECT_EQ(codes(t), (std::vector<int>{6, 3, 4, 2, 5, 1, 7}));
}

}  // namespace
