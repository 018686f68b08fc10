#include "data/value.h"

namespace tamboro {

Storage storageOf(FieldType t) {
    switch (t) {
    case FieldType::Int32:
    case FieldType::Int16:
    case FieldType::Date:
    case FieldType::Int64: return Storage::Int;
    case FieldType::DateTime:
    case FieldType::Currency:
    case FieldType::Float: return Storage::Float;
    case FieldType::Boolean: return Storage::Bool;
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::Other: return Storage::Text;
    }
    return Storage::Text;
}

int64_t Value::asInt() const {
    if (auto p = std::get_if<int64_t>(&v_)) return *p;
    if (auto p = std::get_if<double>(&v_)) return static_cast<int64_t>(*p);
    if (auto p = std::get_if<bool>(&v_)) return *p ? 1 : 0;
    return 0;
}

double Value::asReal() const {
    if (auto p = std::get_if<double>(&v_)) return *p;
    if (auto p = std::get_if<int64_t>(&v_)) return static_cast<double>(*p);
    if (auto p = std::get_if<bool>(&v_)) return *p ? 1.0 : 0.0;
    return 0.0;
}

bool Value::asBool() const {
    if (auto p = std::get_if<bool>(&v_)) return *p;
    if (auto p = std::get_if<int64_t>(&v_)) return *p != 0;
    if (auto p = std::get_if<double>(&v_)) return *p != 0.0;
    return false;
}

const std::string& Value::asText() const {
    static const std::string empty;
    if (auto p = std::get_if<std::string>(&v_)) return *p;
    return empty;
}

}  // namespace tamboro
