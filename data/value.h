#pragma once
#include <cstdint>
#include <string>
#include <variant>

namespace tamboro {

// Field types of the catalogue, plus kinds a packet file may carry that no
// catalogue table uses (kept so that such files survive a round trip).
enum class FieldType : uint8_t {
    Int32,     // "i4"
    Int16,     // "i2"
    String,    // "string", WIDTH n
    Date,      // "date": a day number
    DateTime,  // "dateTime": day number plus fraction of the day
    Boolean,   // "boolean"
    Currency,  // "r8", SUBTYPE "Money"
    Memo,      // "bin.hex", SUBTYPE "Text"
    Float,     // "r8" without subtype
    Int64,     // "i8"
    Blob,      // "bin.hex" without subtype: bytes
    Other      // any other packet type: its value text is carried as is
};

enum class Storage : uint8_t { Int, Float, Bool, Text };
Storage storageOf(FieldType t);

// One field value, or blank. Integers, dates (day numbers) and booleans are
// integers; date-times, currency and floats are doubles; texts are Shift-JIS.
class Value {
public:
    Value() = default;
    static Value integer(int64_t v) { Value x; x.v_ = v; return x; }
    static Value real(double v) { Value x; x.v_ = v; return x; }
    static Value boolean(bool v) { Value x; x.v_ = v; return x; }
    static Value text(std::string v) { Value x; x.v_ = std::move(v); return x; }

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    int64_t asInt() const;
    double asReal() const;
    bool asBool() const;
    const std::string& asText() const;  // empty for non-texts

    bool operator==(const Value&) const = default;

private:
    std::variant<std::monostate, int64_t, double, bool, std::string> v_;
};

}  // namespace tamboro
