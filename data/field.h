#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "data/schema.h"
#include "data/value.h"

namespace tamboro {

class Table;

// A field of a table reached by name: typed and text access to the current
// row, the edit buffer or the search key, whichever the table's state makes
// current. A Field made for a row position reads that visible row instead.
class Field {
public:
    Field(Table* table, int index, int position = -1)
        : table_(table), index_(index), position_(position) {}

    int index() const { return index_; }
    const FieldDef& def() const;
    const std::string& name() const { return def().name; }
    FieldType type() const { return def().type; }
    int width() const { return def().width; }

    bool isNull() const { return value().isNull(); }
    Value value() const;

    // Typed access. A blank field reads 0, "", 0.0 and false.
    int64_t asInteger() const;
    std::string asString() const;  // the text read, Shift-JIS
    double asDateTime() const;     // day number with the time as a fraction
    bool asBoolean() const;
    double asFloat() const;

    void setInteger(int64_t v);
    void setString(std::string_view sjis);  // the text written
    void setDateTime(double v);
    void setBoolean(bool v);
    void setFloat(double v);
    void setValue(const Value& v);
    void clear();

    // Text as controls show it (Shift-JIS); currency with the yen sign.
    std::string displayText() const;
    // Display text in UTF-8 (the yen sign as U+00A5).
    std::string displayTextUtf8() const;
    // Text as an edit shows it for changing (currency without formatting).
    std::string editText() const;
    // Stores a typed text, with the type's checks and messages.
    void setText(std::string_view sjis);

private:
    void checkRange(int64_t v, std::string_view textForMessage) const;
    [[noreturn]] void throwOutOfRange(std::string_view textForMessage) const;
    Table* table_;
    int index_;
    int position_;
};

}  // namespace tamboro
