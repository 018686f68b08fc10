#include <gtest/gtest.h>

#include "table_fixture.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

std::vector<FieldDef> langFields() {
    return {FieldDef::make("LANGE_CD", FieldType::Int16), FieldDef::make("LANGE_NAME", FieldType::String, 40)};
}

struct ChangeLog : ::testing::Test {
    Table t{"CLange", "/nonexistent/Lange.xml", Schema(langFields())};
    void SetUp() override {
        t.setIndexFields("LANGE_CD");
        t.openFrom(makePacket(langFields(), {{I(1), S("日本語")}, {I(2), S("英語")}}));
    }
    std::vector<int> statuses() {
        std::vector<int> s;
        for (const auto& r : t.storedRows()) s.push_back(r.status);
        return s;
    }
};

TEST_F(ChangeLog, ModificationKeepsSupersededVersionAndLogsTriple) {
    t.next();
    t.edit();
    t.fieldByName("LANGE_NAME").setText(toSjis("英語（字幕）"));
    t.post();
    EXPECT_EQ(statuses(), (std::vector<int>{0, RowSuperseded, RowModified}));
    ASSERT_EQ(t.changeLog().size(), 1u);
    EXPECT_EQ(t.changeLog()[0].row, 2u);
    EXPECT_EQ(t.changeLog()[0].oldRow, 1u);
    EXPECT_EQ(t.changeLog()[0].kind, RowModified);
    EXPECT_EQ(t.recordCount(), 2);  // only the new name is visible
    t.last();
    EXPECT_EQ(t.fieldByName("LANGE_NAME").asString(), toSjis("英語（字幕）"));
}

TEST_F(ChangeLog, InsertedRowModifiedAgainKeepsInsertedBit) {
    t.append();
    t.fieldByName("LANGE_CD").setInteger(3);
    t.post();
    t.edit();
    t.fieldByName("LANGE_NAME").setText("x");
    t.post();
    EXPECT_EQ(statuses(), (std::vector<int>{0, 0, RowInserted | RowSuperseded, RowInserted | RowModified}));
    EXPECT_EQ(t.changeLog().size(), 2u);
    EXPECT_EQ(t.changeLog()[0].kind, RowInserted);
    EXPECT_EQ(t.changeLog()[0].oldRow, ChangeLogEntry::kNone);
}

TEST_F(ChangeLog, DeletionKeepsRowMarkedDeleted) {
    t.remove();
    EXPECT_EQ(statuses(), (std::vector<int>{RowDeleted, 0}));
    EXPECT_EQ(t.changeLog().back().kind, RowDeleted);
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.changeCount(), 1);
}

TEST_F(ChangeLog, LoggingOffChangesRowsInPlace) {
    t.setLogging(false);
    t.edit();
    t.fieldByName("LANGE_NAME").setText("x");
    t.post();
    t.remove();
    EXPECT_EQ(t.storedRows().size(), 2u);
    EXPECT_TRUE(t.changeLog().empty());
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.changeCount(), 2);
}

}  // namespace
