#pragma once
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tamboro::cli {

// A cell of listed output: UTF-8 text, or nothing for a blank field.
using Cell = std::optional<std::string>;

// Writes a header and rows in one of the listing formats.
class RowWriter {
public:
    virtual ~RowWriter() = default;
    virtual void header(const std::vector<std::string>& names) = 0;
    virtual void row(const std::vector<Cell>& cells) = 0;
    virtual void finish() {}
};

// "tsv", "csv" or "json"; nullptr for any other name.
std::unique_ptr<RowWriter> makeRowWriter(std::string_view format, std::ostream& out);

// Text quoted as a JSON string.
std::string jsonString(std::string_view utf8);

}  // namespace tamboro::cli
