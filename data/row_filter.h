#pragma once
#include <memory>
#include <string_view>

#include "data/row_data.h"

namespace tamboro {

class Table;

// A parsed filter, evaluated once per row when the visible rows are made.
class RowFilter {
public:
    virtual ~RowFilter() = default;
    virtual bool accepts(const RowData& row) const = 0;
};

// Parses a filter text against the table's fields. An empty text (blanks
// only) filters nothing and gives nullptr; a malformed text throws DataError.
std::unique_ptr<RowFilter> compileFilter(std::string_view sjisText, const Table& table,
                                         bool caseInsensitive);

}  // namespace tamboro
