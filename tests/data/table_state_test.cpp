#include <gtest/gtest.h>

#include "data/error.h"
#include "table_fixture.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

std::vector<FieldDef> codeName() {
    return {FieldDef::make("CODE", FieldType::Int32), FieldDef::make("NAME", FieldType::String, 20)};
}

struct TableStates : ::testing::Test {
    Table t{"T", "/nonexistent/T.xml", Schema(codeName())};
    EventLog log;
    void open(const std::vector<std::vector<Value>>& rows) {
        t.setIndexFields("CODE");
        log.hook(t);
        t.openFrom(makePacket(codeName(), rows));
    }
    int code() { return static_cast<int>(t.fieldByName("CODE").asInteger()); }
};

TEST_F(TableStates, OpenFiresBeforeOpenAfterOpenThenAfterScrollOnlyWithRows) {
    open({{I(2), S("b")}, {I(1), S("a")}});
    EXPECT_EQ(log.take(), "BeforeOpen,AfterOpen,AfterScroll");
    EXPECT_EQ(t.state(), TableState::Browse);
    EXPECT_EQ(code(), 1);  // first row in index order, not file order
    t.close();
    EXPECT_EQ(log.take(), "AfterClose");
    t.openFrom(makePacket(codeName(), {}));
    EXPECT_EQ(log.take(), "BeforeOpen,AfterOpen");
}

TEST_F(TableStates, PostInBrowseStateDoesNothingAndFiresNoEvent) {
    open({{I(1), S("a")}});
    log.take();
    t.post();
    EXPECT_EQ(log.take(), "");
    EXPECT_EQ(t.changeCount(), 0);
}

TEST_F(TableStates, EditOnTableWithNoVisibleRowsStartsInsert) {
    open({});
    t.edit();
    EXPECT_EQ(t.state(), TableState::Insert);
}

TEST_F(TableStates, DeleteInInsertStateDropsNewRowWithoutDeleteEvents) {
    open({{I(1), S("a")}});
    t.append();
    t.fieldByName("CODE").setInteger(5);
    log.take();
    t.remove();
    EXPECT_EQ(log.take(), "AfterScroll");  // the cancelled insert scrolls back
    EXPECT_EQ(t.state(), TableState::Browse);
    EXPECT_EQ(t.recordCount(), 1);
}

TEST_F(TableStates, PostFiresBeforeAndAfterPostAndPlacesRowByIndex) {
    open({{I(1), S("a")}, {I(3), S("c")}});
    log.take();
    t.append();
    t.fieldByName("CODE").setInteger(2);
    t.fieldByName("NAME").setText(toSjis("b"));
    t.post();
    EXPECT_EQ(log.take(), "AfterScroll,BeforePost,AfterPost");
    EXPECT_EQ(t.recNo(), 1);
    EXPECT_EQ(code(), 2);
    EXPECT_EQ(t.changeCount(), 1);
}

TEST_F(TableStates, BeforePostErrorLeavesRowUnposted) {
    open({{I(1), S("a")}});
    t.beforePost = [](Table&) { throw DataError("nope"); };
    t.edit();
    t.fieldByName("NAME").setText("z");
    EXPECT_EQ(errorOf([&] { t.post(); }), "nope");
    EXPECT_EQ(t.state(), TableState::Edit);
    EXPECT_EQ(t.fieldByName("NAME").asString(), "z");
    EXPECT_EQ(t.changeCount(), 0);
}

TEST_F(TableStates, ImplicitCompletionPostsAssignedBufferAndDropsUntouchedOne) {
    open({{I(1), S("a")}, {I(2), S("b")}});
    t.edit();
    t.fieldByName("NAME").setText("x");
    t.next();  // posts
    EXPECT_EQ(t.changeCount(), 1);
    t.first();
    EXPECT_EQ(t.fieldByName("NAME").asString(), "x");
    t.append();
    t.first();  // untouched new row disappears
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_EQ(t.changeCount(), 1);
}

TEST_F(TableStates, DeleteMovesToFollowingRowOrNewLast) {
    open({{I(1), S("a")}, {I(2), S("b")}, {I(3), S("c")}});
    t.next();
    log.take();
    t.remove();
    EXPECT_EQ(log.take(), "BeforeDelete,AfterDelete,AfterScroll");
    EXPECT_EQ(code(), 3);
    t.remove();
    EXPECT_EQ(code(), 1);
    t.remove();
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(errorOf([&] { t.remove(); }), "空のデータセットには, この操作は実行できません");
}

TEST_F(TableStates, NextAtLastRowSetsEndOfTableAndStays) {
    open({{I(1), S("a")}, {I(2), S("b")}});
    t.last();
    EXPECT_FALSE(t.eof());
    log.take();
    t.next();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(code(), 2);
    EXPECT_EQ(log.take(), "AfterScroll");
    t.next();  // already at the end: no further scroll
    EXPECT_EQ(log.take(), "");
    t.prior();
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(code(), 1);
}

TEST_F(TableStates, FirstAndLastOnEmptyTableSetEndOfTableAndScroll) {
    open({});
    log.take();
    t.first();
    EXPECT_TRUE(t.eof());
    t.last();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(log.take(), "AfterScroll,AfterScroll");
    EXPECT_EQ(t.fieldByName("CODE").asInteger(), 0);  // no current row reads blank
}

TEST_F(TableStates, OperationsOutsideTheirStateAreRefused) {
    const std::string closed = "データセットは閉じているため, この操作は実行できません";
    EXPECT_EQ(errorOf([&] { t.first(); }), closed);
    EXPECT_EQ(errorOf([&] { t.append(); }), closed);
    EXPECT_EQ(errorOf([&] { t.recordCount(); }), closed);
    EXPECT_EQ(errorOf([&] { t.open(); }), "データプロバイダ/パケットがありません");
    EXPECT_FALSE(t.active());
    open({{I(1), S("a")}});
    EXPECT_EQ(errorOf([&] { t.fieldByName("NAME").setText("x"); }),
              "データセットが編集または挿入モードではありません");
}

TEST_F(TableStates, CloseDropsPendingEdit) {
    open({{I(1), S("a")}});
    t.edit();
    t.fieldByName("NAME").setText("x");
    t.close();  // nothing to write: the edit was dropped
    EXPECT_FALSE(t.active());
}

TEST_F(TableStates, CancelledInsertReturnsToPreviousRow) {
    open({{I(1), S("a")}, {I(2), S("b")}});
    t.next();
    t.insert();
    EXPECT_EQ(t.pendingRowPosition(), 1);
    t.cancel();
    EXPECT_EQ(code(), 2);
}

TEST_F(TableStates, PostedRowLeavingFilterHandsPlaceToNeighbour) {
    open({{I(1), S("a")}, {I(2), S("b")}});
    t.setIndexFields("NAME");
    t.last();
    t.edit();
    t.fieldByName("NAME").setText("0");  // moves before "a"
    t.post();
    EXPECT_EQ(t.recNo(), 0);
    EXPECT_EQ(code(), 2);
}

}  // namespace
