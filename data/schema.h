#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/value.h"

namespace tamboro {

// One field of a table. Names are Shift-JIS; packetType and subtype keep the
// file's own spelling so that a loaded schema is written back as it came.
struct FieldDef {
    std::string name;
    FieldType type = FieldType::String;
    int width = 0;  // bytes, string fields only
    std::string packetType;  // "i4", "string", "bin.hex", ...
    std::string subtype;     // "Money", "Text" or empty
    bool readOnly = false, required = false, hidden = false, linkField = false;
    std::vector<std::pair<std::string, std::string>> extra;  // other FIELD attributes, carried

    static FieldDef make(std::string sjisName, FieldType type, int width = 0);
};

// The ordered field list of a table, with lookup by name ignoring ASCII case.
class Schema {
public:
    Schema() = default;
    explicit Schema(std::vector<FieldDef> fields);

    size_t size() const { return fields_.size(); }
    const FieldDef& operator[](size_t i) const { return fields_[i]; }
    const std::vector<FieldDef>& fields() const { return fields_; }

    // Index of the field, or -1.
    int indexOf(std::string_view sjisName) const;

private:
    std::vector<FieldDef> fields_;
    std::unordered_map<std::string, int> byName_;  // ASCII-uppercased Shift-JIS
};

// Splits "A;B;C" into names, dropping blanks around each.
std::vector<std::string> splitFieldList(std::string_view list);

// Uppercases ASCII letters only, stepping over double-byte characters.
std::string upperAsciiSjis(std::string_view s);

}  // namespace tamboro
