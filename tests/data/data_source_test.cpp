#include <gtest/gtest.h>

#include "data/data_source.h"
#include "table_fixture.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

struct Recorder : TableObserver {
    std::vector<std::string> seen;
    void activeChanged() override { seen.push_back("active"); }
    void rowsChanged() override { seen.push_back("rows"); }
    void currentChanged() override { seen.push_back("current"); }
    void stateChanged() override { seen.push_back("state"); }
    void fieldChanged(int f) override { seen.push_back("field" + std::to_string(f)); }
    bool saw(const std::string& what) const { return std::find(seen.begin(), seen.end(), what) != seen.end(); }
};

std::vector<FieldDef> fields() {
    return {FieldDef::make("CODE", FieldType::Int32), FieldDef::make("NAME", FieldType::String, 20)};
}

TEST(DataSourceNotifications, ControlsHearOpenMovesEditsAndRowChanges) {
    Table t{"T", "/nonexistent/T.xml", Schema(fields())};
    t.setIndexFields("CODE");
    DataSource src("TSource", t);
    Recorder r;
    src.attach(&r);
    t.openFrom(makePacket(fields(), {{I(1), S("a")}, {I(2), S("b")}}));
    EXPECT_TRUE(r.saw("active"));
    EXPECT_TRUE(r.saw("rows"));
    r.seen.clear();
    t.next();
    EXPECT_EQ(r.seen, (std::vector<std::string>{"current"}));
    r.seen.clear();
    t.edit();
    t.fieldByName("NAME").setText("x");
    EXPECT_EQ(r.seen, (std::vector<std::string>{"state", "field1"}));
    r.seen.clear();
    t.post();
    EXPECT_TRUE(r.saw("rows"));
    EXPECT_TRUE(r.saw("state"));
    src.detach(&r);
    r.seen.clear();
    t.first();
    EXPECT_TRUE(r.seen.empty());
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

}  // namespace
