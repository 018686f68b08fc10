#pragma once
// A title table built in memory for filter tests: rows are given as
// (UTF-8 field name, value) pairs and the visible CODEs read back.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/catalogue_schema.h"
#include "data/locale_jp.h"
#include "data/sjis.h"
#include "data/table.h"

namespace tamboro::testing {

using Cell = std::pair<std::string_view, Value>;

inline Value txt(std::string_view utf8) { return Value::text(toSjis(utf8)); }
inline Value num(int64_t v) { return Value::integer(v); }
inline Value day(int y, int m, int d) { return Value::integer(dayNumber(y, m, d)); }
inline Value flag(bool b) { return Value::boolean(b); }

class TitleTable {
public:
    TitleTable() : table_("CDvd", "DvdData.xml", schemaOf(CatalogueTable::Dvd)) {
        table_.setIndexFields("CODE");
    }

    // A title with this CODE and the given fields; every other field blank.
    void add(int code, std::initializer_list<Cell> cells) {
        const Schema& s = schemaOf(CatalogueTable::Dvd);
        RowBuilder b(s.size());
        b.setInt(s.indexOf("CODE"), code);
        for (const auto& [name, value] : cells) {
            int f = s.indexOf(toSjis(name));
            EXPECT_GE(f, 0) << name;
            b.setValue(f, s[static_cast<size_t>(f)].type, value);
        }
        packet_.rows.push_back({b.finish(), 0});
    }

    Table& open(bool caseInsensitive = true) {
        packet_.schema = schemaOf(CatalogueTable::Dvd);
        table_.setCaseInsensitiveFilter(caseInsensitive);
        table_.openFrom(std::move(packet_));
        return table_;
    }

    // CODEs of the visible rows, in order.
    std::vector<int> codes() {
        std::vector<int> out;
        for (int p = 0; p < table_.recordCount(); ++p)
            out.push_back(static_cast<int>(table_.rowData(table_.visibleRowId(p)).getInt(0)));
        return out;
    }

    // Applies a UTF-8 filter text and returns the visible CODEs.
    std::vector<int> select(std::string_view utf8Filter) {
        table_.setFilterText(toSjis(utf8Filter));
        table_.setFiltered(true);
        return codes();
    }

    Table& table() { return table_; }

private:
    Table table_;
    Packet packet_;
};

// The message a filter text is rejected with ("" when it is accepted).
inline std::string rejection(std::string_view utf8Filter, bool caseInsensitive = true) {
    Table t("CDvd", "DvdData.xml", schemaOf(CatalogueTable::Dvd));
    try {
        compileFilter(toSjis(utf8Filter), t, caseInsensitive);
    } catch (const DataError& e) {
        return e.what();
    }
    return {};
}

}  // namespace tamboro::testing
