#include "data/packet_writer.h"

#include <array>
#include <charconv>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "data/base64.h"
#include "data/packet_text.h"
#include "data/sjis.h"
#include "data/table.h"

namespace tamboro {

namespace {

// Per byte: 0 copy, 1 lead byte of a double-byte character, 2 escape.
constexpr std::array<uint8_t, 256> makeClasses() {
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = isLeadByte(static_cast<unsigned char>(c)) ? 1 : 0;
    for (unsigned char c : {'<', '>', '&', '\'', '"', '\r', '\n', '\t', '\\'}) t[c] = 2;
    return t;
}
constexpr std::array<uint8_t, 256> kClass = makeClasses();

constexpr bool isTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

const char* escapeOf(unsigned char c) {
    switch (c) {
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '&': return "&amp;";
    case '\'': return "&apos;";
    case '"': return "&quot;";
    case '\r': return "&#013;";
    case '\n': return "&#010;";
    case '\t': return "&#009;";
    default: return "&#092;";
    }
}

// What the writer needs of one field, worked out once per packet.
struct FieldOut {
    std::string prefix;  // ' attrname="'
    FieldType type;
};

// The rule's names for every field, made unique: a name the rule gives
// twice (a field named "xF3" beside the fourth field, or "A B" beside "A_B")
// would hand one field's values to the other when read back, so a later
// duplicate takes its numbered form, extended with "_" if that is taken too.
std::vector<std::string> attrNamesOf(const Schema& schema, std::vector<bool>& needsName) {
    std::vector<std::string> names(schema.size());
    needsName.assign(schema.size(), false);
    std::unordered_set<std::string> used;
    for (size_t i = 0; i < schema.size(); ++i) {
        bool n = false;
        names[i] = attrNameOf(schema[i].name, i, n);
        needsName[i] = n;
    }
    std::unordered_map<std::string, int> count;
    for (const auto& n : names) ++count[n];
    for (size_t i = 0; i < schema.size(); ++i) {
        if (count[names[i]] > 1 && used.count(names[i])) {
            std::string alt = "xF" + std::to_string(i);
            while (count.count(alt) || used.count(alt)) alt += '_';
            names[i] = alt;
            needsName[i] = true;
        }
        used.insert(names[i]);
    }
    return names;
}

void appendField(const FieldDef& f, const std::string& attr, bool needsName, std::string& out) {
    out += "<FIELD";
    if (needsName) {
        out += " fieldname=\"";
        appendEscaped(f.name, out);
        out += '"';
    }
    out += " attrname=\"";
    appendEscaped(attr, out);
    out += "\" fieldtype=\"";
    std::string_view type = f.packetType;
    if (type.empty()) type = FieldDef::make(std::string(), f.type).packetType;
    if (type.empty()) type = "string";
    appendEscaped(type, out);
    out += '"';
    if (f.readOnly) out += " readonly=\"true\"";
    if (f.required) out += " required=\"true\"";
    if (f.hidden) out += " hidden=\"true\"";
    if (f.linkField) out += " linkfield=\"true\"";
    if (!f.subtype.empty()) {
        out += " SUBTYPE=\"";
        appendEscaped(f.subtype, out);
        out += '"';
    }
    if (f.type == FieldType::String || f.width != 0) {
        out += " WIDTH=\"";
        appendInt(f.width, out);
        out += '"';
    }
    for (const auto& [name, value] : f.extra) {
        out += ' ';
        out += name;
        out += "=\"";
        appendEscaped(value, out);
        out += '"';
    }
    out += "/>";
}

void appendParam(std::string_view name, std::string_view value, std::string& out) {
    out += ' ';
    out += name;
    out += "=\"";
    appendEscaped(value, out);
    out += '"';
}

void appendParams(const std::vector<TableParam>& params, const std::string& changeLog, std::string& out) {
    out += "<PARAMS";
    auto named = [&](std::string_view n) {
        for (const TableParam& p : params)
            if (p.name == n) appendParam(p.name, p.value, out);
    };
    named("DEFAULT_ORDER");
    named("PRIMARY_KEY");
    named("UNIQUE_KEY");
    if (!changeLog.empty()) appendParam("CHANGE_LOG", changeLog, out);
    named("AUTOINCVALUE");
    for (const TableParam& p : params) {
        if (p.name == "DEFAULT_ORDER" || p.name == "PRIMARY_KEY" || p.name == "UNIQUE_KEY" ||
            p.name == "CHANGE_LOG" || p.name == "AUTOINCVALUE")
            continue;
        appendParam(p.name, p.value, out);
    }
    out += "/>";
}

template <class T> T scalar(std::string_view bytes) {
    T v{};
    if (bytes.size() == sizeof(T)) std::memcpy(&v, bytes.data(), sizeof(T));
    return v;
}

void appendRow(const RowData& row, const std::vector<FieldOut>& fields, std::string& out) {
    row.forEachPresent([&](int f, std::string_view bytes) {
        if (static_cast<size_t>(f) >= fields.size()) return;
        const FieldOut& fo = fields[static_cast<size_t>(f)];
        out += fo.prefix;
        switch (fo.type) {
        case FieldType::Int32:
        case FieldType::Int16:
        case FieldType::Int64: appendInt(scalar<int64_t>(bytes), out); break;
        case FieldType::Date: appendDate(static_cast<int32_t>(scalar<int64_t>(bytes)), out); break;
        case FieldType::DateTime: appendDateTime(scalar<double>(bytes), out); break;
        case FieldType::Boolean: out += !bytes.empty() && bytes[0] ? "TRUE" : "FALSE"; break;
        case FieldType::Currency:
        case FieldType::Float: appendReal(scalar<double>(bytes), out); break;
        case FieldType::Memo:
        case FieldType::Blob: appendBase64(bytes, out); break;
        case FieldType::String:
        case FieldType::Other: appendEscaped(bytes, out); break;
        }
        out += '"';
    });
}

std::string write(const Schema& schema, const std::vector<TableParam>& params, const std::vector<StoredRow>& rows,
                  const std::vector<ChangeLogEntry>& log, bool logging) {
    // Which rows go to the file, and their 1-based positions there.
    std::vector<uint32_t> position(rows.size(), 0);
    uint32_t written = 0;
    size_t bytes = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        bool keep = logging ? !(rows[r].status & RowRemoved) : rows[r].current();
        if (keep) {
            position[r] = ++written;
            bytes += rows[r].data.byteSize();
        }
    }
    std::string changeLog;
    if (logging) {
        for (const ChangeLogEntry& e : log) {
            if (e.row >= rows.size() || position[e.row] == 0) continue;  // its row is gone
            uint32_t old = e.oldRow < rows.size() ? position[e.oldRow] : 0;
            if (!changeLog.empty()) changeLog += ' ';
            appendInt(position[e.row], changeLog);
            changeLog += ' ';
            appendInt(old, changeLog);
            changeLog += ' ';
            appendInt(e.kind, changeLog);
        }
    }

    std::vector<FieldOut> fields;
    fields.reserve(schema.size());
    std::string out;
    // Generous: pages never written are never touched, and growing a string
    // of this size would copy it.
    out.reserve(bytes * 2 + written * 16 + 4096);
    out += "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA>";
    if (schema.size() == 0) out += "<FIELDS/>";
    else out += "<FIELDS>";
    std::vector<bool> needsName;
    const std::vector<std::string> attrs = attrNamesOf(schema, needsName);
    for (size_t f = 0; f < schema.size(); ++f) {
        appendField(schema[f], attrs[f], needsName[f], out);
        std::string prefix = " ";
        prefix += attrs[f];
        prefix += "=\"";
        fields.push_back({std::move(prefix), schema[f].type});
    }
    if (schema.size() != 0) out += "</FIELDS>";
    appendParams(params, changeLog, out);
    out += "</METADATA>";
    if (written == 0) {
        out += "<ROWDATA/>";
    } else {
        out += "<ROWDATA>";
        for (size_t r = 0; r < rows.size(); ++r) {
            if (position[r] == 0) continue;
            out += "<ROW";
            uint8_t status = rows[r].status & static_cast<uint8_t>(~RowRemoved);
            if (logging && status != 0) {
                out += " RowState=\"";
                appendInt(status, out);
                out += '"';
            }
            appendRow(rows[r].data, fields, out);
            out += "/>";
        }
        out += "</ROWDATA>";
    }
    out += "</DATAPACKET>";
    return out;
}

}  // namespace

std::string attrNameOf(std::string_view name, size_t position, bool& needsFieldName) {
    std::string attr(name);
    needsFieldName = false;
    bool numbered = name.empty();
    for (char& c : attr) {
        auto u = static_cast<unsigned char>(c);
        if (isLeadByte(u)) {
            numbered = true;
            break;
        }
        switch (c) {
        case ' ': case '!': case '#': case '$': case '%': case '(': case ')': case '*': case '?':
            c = '_';
            needsFieldName = true;
            break;
        case '"': case '\'': case '<': case '>': case '&': case '=': case '/':
            // These would break the ROW element; such a name is numbered too.
            numbered = true;
            break;
        default:
            if (u < 0x20) numbered = true;
        }
        if (numbered) break;
    }
    // RowState names the row's status; a field may not take it over.
    if (numbered || attr == "RowState") {
        needsFieldName = true;
        return "xF" + std::to_string(position);
    }
    return attr;
}

void appendEscaped(std::string_view s, std::string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const size_t n = s.size();
    size_t run = 0;  // start of bytes still to copy
    for (size_t i = 0; i < n; ++i) {
        uint8_t k = kClass[p[i]];
        if (k == 0) continue;
        if (k == 1) {
            // The second byte of a character is copied whatever it is; a
            // stray lead byte before a non-trail byte is a character alone.
            if (i + 1 < n && isTrailByte(p[i + 1])) ++i;
            continue;
        }
        out.append(s.data() + run, i - run);
        out += escapeOf(p[i]);
        run = i + 1;
    }
    if (run < n) out.append(s.data() + run, n - run);
}

std::string writePacket(const Packet& p, bool logging) {
    return write(p.schema, p.params, p.rows, p.changeLog, logging);
}

std::string writePacket(const Table& t) {
    return write(t.schema(), t.params(), t.storedRows(), t.changeLog(), t.logging());
}

}  // namespace tamboro
