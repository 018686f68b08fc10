#include <gtest/gtest.h>

#include <functional>

#include "data/data_source.h"
#include "table_fixture.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

// Records what it hears; row notifications also note how many rows the
// table shows at that moment, which must already be the count after.
struct Recorder : TableObserver {
    const Table* table = nullptr;
    std::vector<std::string> seen;
    void row(std::string what, int a, int b = -1) {
        if (b >= 0) what += std::to_string(a) + ">" + std::to_string(b);
        else what += std::to_string(a);
        seen.push_back(what + "@" + std::to_string(table ? table->shownRowCount() : -1));
    }
    void activeChanged() override { seen.push_back("active"); }
    void rowsChanged() override { seen.push_back("rows"); }
    void rowsInserted(int first, int count) override { row(count == 1 ? "ins" : "ins-many", first); }
    void rowsRemoved(int first, int count) override { row(count == 1 ? "rem" : "rem-many", first); }
    void rowMoved(int from, int to) override { row("move", from, to); }
    void rowChanged(int r) override { row("row", r); }
    void currentChanged() override { seen.push_back("current"); }
    void stateChanged() override { seen.push_back("state"); }
    void fieldChanged(int f) override { seen.push_back("field" + std::to_string(f)); }
    bool saw(const std::string& what) const { return std::find(seen.begin(), seen.end(), what) != seen.end(); }
    std::string take() {
        std::string s;
        for (const auto& e : seen) s += (s.empty() ? "" : ",") + e;
        seen.clear();
        return s;
    }
};

// Knows only whole changes, as controls written before row positions did.
struct WholeOnly : TableObserver {
    int rows = 0;
    void rowsChanged() override { ++rows; }
};

std::vector<FieldDef> fields() {
    return {FieldDef::make("CODE", FieldType::Int32), FieldDef::make("NAME", FieldType::String, 20)};
}

struct Sourced {
    Table t{"T", "/nonexistent/T.xml", Schema(fields())};
    DataSource src{"TSource", t};
    Recorder r;
    Sourced() {
        r.table = &t;
        src.attach(&r);
        t.setIndexFields("CODE");
        t.openFrom(makePacket(fields(), {{I(10), S("a")}, {I(20), S("b")}, {I(30), S("c")}, {I(40), S("d")}}));
        r.seen.clear();
    }
    void filterBelow35() {
        t.setFilterText("CODE < 35");
        t.setFiltered(true);
    }
    void set(const char* field, int64_t v) { t.fieldByName(field).setInteger(v); }
};

TEST(DataSourceNotifications, ControlsHearOpenMovesEditsAndRowChanges) {
    Sourced s;
    s.src.detach(&s.r);
    s.t.close();
    s.src.attach(&s.r);
    s.t.openFrom(makePacket(fields(), {{I(1), S("a")}, {I(2), S("b")}}));
    EXPECT_EQ(s.r.take(), "active,rows,current");
    s.t.next();
    EXPECT_EQ(s.r.take(), "current");
    s.t.edit();
    s.t.fieldByName("NAME").setText("x");
    EXPECT_EQ(s.r.take(), "state,field1");
    s.src.detach(&s.r);
    s.t.first();
    EXPECT_TRUE(s.r.seen.empty());
}

// Where shown rows come and go, told before the state and the current row.
struct RowCase {
    const char* name;
    std::function<void(Sourced&)> setUp;  // not recorded
    std::function<void(Sourced&)> act;
    const char* heard;
};

class RowNotifications : public ::testing::TestWithParam<RowCase> {};

TEST_P(RowNotifications, TellWhereRowsWentWithTheTableAlreadyChanged) {
    Sourced s;
    GetParam().setUp(s);
    s.r.seen.clear();
    GetParam().act(s);
    EXPECT_EQ(s.r.take(), GetParam().heard);
}

auto nothing = [](Sourced&) {};

INSTANTIATE_TEST_SUITE_P(
    Table, RowNotifications,
    ::testing::Values(
        RowCase{"AppendShowsTheNewRowLast", nothing, [](Sourced& s) { s.t.append(); }, "ins4@5,state,current"},
        RowCase{"InsertShowsItAtTheCurrentRow", [](Sourced& s) { s.t.moveTo(1); },
                [](Sourced& s) { s.t.insert(); }, "ins1@5,state,current"},
        RowCase{"CancelledInsertTakesItAway", [](Sourced& s) { s.t.moveTo(1), s.t.insert(); },
                [](Sourced& s) { s.t.cancel(); }, "rem1@4,state,current"},
        RowCase{"DeleteInInsertStateIsACancel", [](Sourced& s) { s.t.append(); },
                [](Sourced& s) { s.t.remove(); }, "rem4@4,state,current"},
        RowCase{"PostedInsertMovesToItsPlace", [](Sourced& s) { s.t.append(), s.set("CODE", 15); },
                [](Sourced& s) { s.t.post(); }, "move4>1@5,state,current"},
        RowCase{"PostedInsertOutsideTheFilterGoes", [](Sourced& s) { s.filterBelow35(), s.t.append(), s.set("CODE", 50); },
                [](Sourced& s) { s.t.post(); }, "rem3@3,state,current"},
        RowCase{"PostedKeyChangeMovesTheRow", [](Sourced& s) { s.t.edit(), s.set("CODE", 35); },
                [](Sourced& s) { s.t.post(); }, "move0>2@4,state,current"},
        RowCase{"PostedEditInPlaceChangesTheRow", [](Sourced& s) { s.t.moveTo(1), s.t.edit(), s.set("CODE", 21); },
                [](Sourced& s) { s.t.post(); }, "row1@4,state,current"},
        RowCase{"PostedEditLeavingTheFilterGoes", [](Sourced& s) { s.filterBelow35(), s.t.moveTo(1), s.t.edit(), s.set("CODE", 50); },
                [](Sourced& s) { s.t.post(); }, "rem1@2,state,current"},
        RowCase{"MovingAwayPostsTheInsertFirst", [](Sourced& s) { s.t.append(), s.set("CODE", 5); },
                [](Sourced& s) { s.t.last(); }, "move4>0@5,state,current,current"},
        RowCase{"DeleteRemovesTheCurrentRow", [](Sourced& s) { s.t.moveTo(2); },
                [](Sourced& s) { s.t.remove(); }, "rem2@3,current"},
        RowCase{"DeleteWhileEditingDropsTheEdit", [](Sourced& s) { s.t.moveTo(3), s.t.edit(), s.set("CODE", 1); },
                [](Sourced& s) { s.t.remove(); }, "rem3@3,state,current"},
        RowCase{"FilterIsAWholeChange", [](Sourced& s) { s.t.moveTo(3); },
                [](Sourced& s) { s.filterBelow35(); }, "rows,current"},
        RowCase{"OrderIsAWholeChange", nothing, [](Sourced& s) { s.t.setIndexFields("NAME"); }, "rows,current"},
        RowCase{"CloseIsAWholeChange", [](Sourced& s) { s.t.append(); },
                [](Sourced& s) { s.t.close(); }, "rem4@4,state,current,active,rows,current"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataSourceNotifications, ControlsKnowingOnlyWholeChangesHearThemForRowChanges) {
    Sourced s;
    WholeOnly whole;
    s.src.attach(&whole);
    s.t.append();
    s.set("CODE", 25);
    s.t.post();
    s.t.remove();
    EXPECT_EQ(whole.rows, 3);
    s.src.detach(&whole);
}

TEST(DataSourceNotifications, DetailHearsMasterMoves) {
    Table master{"M", "/nonexistent/M.xml", Schema(fields())};
    std::vector<FieldDef> hf{FieldDef::make("CODE", FieldType::Int32), FieldDef::make("D", FieldType::Date)};
    Table detail{"H", "/nonexistent/H.xml", Schema(hf)};
    master.setIndexFields("CODE");
    detail.setIndexFields("CODE;D");
    detail.setMaster(&master, "CODE");
    DataSource src("HSource", detail);
    Recorder r;
    src.attach(&r);
    master.openFrom(makePacket(fields(), {{I(1), S("a")}, {I(2), S("b")}}));
    detail.openFrom(makePacket(hf, {{I(2), I(40000)}}));
    EXPECT_EQ(detail.recordCount(), 0);
    r.seen.clear();
    master.next();
    EXPECT_TRUE(r.saw("rows"));
    EXPECT_EQ(detail.recordCount(), 1);
}

TEST(ControlsPaused, NestedGuardsHoldEverythingBackThenRefreshOnce) {
    Sourced s;
    {
        ControlsPaused outer(s.src);
        {
            ControlsPaused inner(s.src);
            for (s.t.first(); !s.t.eof(); s.t.next()) {
            }
            s.t.edit();
            s.set("CODE", 45);
            s.t.post();
            EXPECT_TRUE(s.src.controlsPaused());
        }
        EXPECT_EQ(s.r.take(), "");  // the outer guard still holds
    }
    EXPECT_FALSE(s.src.controlsPaused());
    EXPECT_EQ(s.r.take(), "rows,current,state");
    s.t.first();
    EXPECT_EQ(s.r.take(), "current");
}

TEST(ControlsPaused, QuietWalkNeedsNoRefreshAndEveryGuardedSourceResumes) {
    Sourced a, b;
    {
        ControlsPaused paused({&a.src, &b.src});
    }
    EXPECT_EQ(a.r.take(), "");
    {
        ControlsPaused paused({&a.src, &b.src});
        a.t.close();
        b.t.next();
    }
    EXPECT_EQ(a.r.take(), "active,rows,current,state");
    EXPECT_EQ(b.r.take(), "rows,current,state");
}

}  // namespace
