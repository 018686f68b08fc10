#pragma once
#include <string>
#include <vector>

#include "data/packet.h"
#include "data/sjis.h"
#include "data/table.h"

namespace tamboro::test {

// A packet with the given fields and rows of values (blank = Value()).
inline Packet makePacket(std::vector<FieldDef> fields, const std::vector<std::vector<Value>>& rows) {
    Packet p;
    p.schema = Schema(std::move(fields));
    for (const auto& r : rows) p.rows.push_back({RowData::fromValues(r, p.schema), 0});
    return p;
}

inline Value I(int64_t v) { return Value::integer(v); }
inline Value S(std::string_view utf8) { return Value::text(toSjis(utf8)); }
inline Value N() { return Value(); }

// Records the events a table fires, in order.
struct EventLog {
    std::vector<std::string> events;
    void hook(Table& t) {
        t.beforeOpen = [this](Table&) { events.push_back("BeforeOpen"); };
        t.afterOpen = [this](Table&) { events.push_back("AfterOpen"); };
        t.afterClose = [this](Table&) { events.push_back("AfterClose"); };
        t.beforePost = [this](Table&) { events.push_back("BeforePost"); };
        t.afterPost = [this](Table&) { events.push_back("AfterPost"); };
        t.beforeDelete = [this](Table&) { events.push_back("BeforeDelete"); };
        t.afterDelete = [this](Table&) { events.push_back("AfterDelete"); };
        t.afterScroll = [this](Table&) { events.push_back("AfterScroll"); };
    }
    std::string take() {
        std::string s;
        for (const auto& e : events) s += (s.empty() ? "" : ",") + e;
        events.clear();
        return s;
    }
};

// Message of the DataError thrown by f, or "" when none.
template <class F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

}  // namespace tamboro::test
