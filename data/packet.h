#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/row_data.h"
#include "data/schema.h"

namespace tamboro {

// Status bits of a stored row, as the change log keeps them.
enum RowStatus : uint8_t {
    RowSuperseded = 1,  // old version of a changed row
    RowDeleted = 2,
    RowInserted = 4,
    RowModified = 8,    // new version of a changed row
    RowRemoved = 0x80   // gone without a log (logging off); never written
};

struct StoredRow {
    RowData data;
    uint8_t status = 0;
    bool current() const { return (status & (RowSuperseded | RowDeleted | RowRemoved)) == 0; }
};

// A table parameter as the packet carries it (list values already joined).
struct TableParam {
    std::string name;
    std::string value;
    std::string type;  // from a PARAM child's Type attribute, if any
};

// One change, with rows as 0-based indexes into the table's stored rows.
struct ChangeLogEntry {
    static constexpr uint32_t kNone = UINT32_MAX;
    uint32_t row = kNone;
    uint32_t oldRow = kNone;
    uint8_t kind = 0;  // 4 insertion, 8 modification, 2 deletion
};

// Everything a data packet holds.
struct Packet {
    Schema schema;
    std::vector<TableParam> params;
    std::vector<StoredRow> rows;
    std::vector<ChangeLogEntry> changeLog;
};

}  // namespace tamboro
