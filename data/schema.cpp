#include "data/schema.h"

#include "data/sjis.h"

namespace tamboro {

FieldDef FieldDef::make(std::string sjisName, FieldType type, int width) {
    FieldDef f;
    f.name = std::move(sjisName);
    f.type = type;
    switch (type) {
    case FieldType::Int32: f.packetType = "i4"; break;
    case FieldType::Int16: f.packetType = "i2"; break;
    case FieldType::String: f.packetType = "string"; f.width = width; break;
    case FieldType::Date: f.packetType = "date"; break;
    case FieldType::DateTime: f.packetType = "dateTime"; break;
    case FieldType::Boolean: f.packetType = "boolean"; break;
    case FieldType::Currency: f.packetType = "r8"; f.subtype = "Money"; break;
    case FieldType::Memo: f.packetType = "bin.hex"; f.subtype = "Text"; break;
    case FieldType::Float: f.packetType = "r8"; break;
    case FieldType::Int64: f.packetType = "i8"; break;
    case FieldType::Blob: f.packetType = "bin.hex"; break;
    case FieldType::Other: break;
    }
    return f;
}

std::string upperAsciiSjis(std::string_view s) {
    std::string out(s);
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (isLeadByte(c)) {
            ++i;  // the trail byte may look like a letter; it is not one
        } else if (c >= 'a' && c <= 'z') {
            out[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

std::vector<std::string> splitFieldList(std::string_view list) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string_view::npos) end = list.size();
        std::string_view part = list.substr(start, end - start);
        while (!part.empty() && static_cast<unsigned char>(part.front()) <= ' ') part.remove_prefix(1);
        while (!part.empty() && static_cast<unsigned char>(part.back()) <= ' ') part.remove_suffix(1);
        if (!part.empty()) out.emplace_back(part);
        start = end + 1;
    }
    return out;
}

Schema::Schema(std::vector<FieldDef> fields) : fields_(std::move(fields)) {
    byName_.reserve(fields_.size() * 2);
    for (size_t i = 0; i < fields_.size(); ++i)
        byName_.emplace(upperAsciiSjis(fields_[i].name), static_cast<int>(i));  // first one wins
}

int Schema::indexOf(std::string_view sjisName) const {
    auto it = byName_.find(upperAsciiSjis(sjisName));
    return it == byName_.end() ? -1 : it->second;
}

}  // namespace tamboro
