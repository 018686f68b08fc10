#include "data/packet_reader.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "data/base64.h"
#include "data/error.h"
#include "data/locale_jp.h"
#include "data/packet_reader_impl.h"
#include "data/packet_text.h"
#include "data/messages.h"
#include "data/sjis.h"

namespace tamboro {

namespace {

using packet_reading::isSpace;

// A PARAM child's Name is written back as an attribute name, so only names
// that can be one are carried, and none that FIELD uses for itself.
bool carriedParamName(std::string_view n) {
    if (n.empty()) return false;
    for (char c : n)
        if (isSpace(c) || c == '=' || c == '>' || c == '/' || c == '<' || c == '"' || c == '\'' || c == '?' ||
            c == ':')
            return false;
    for (std::string_view reserved : {"attrname", "tagname", "fieldname", "fieldtype", "readonly", "required",
                                      "hidden", "linkfield", "SUBTYPE", "WIDTH", "CHANGE_LOG"})
        if (n == reserved) return false;
    return true;
}

// Every field type a packet may name, in its canonical spelling.
constexpr std::string_view kFieldTypes[] = {
    "i1", "i2", "i4", "i8", "int", "ui1", "ui2", "ui4", "ui8", "uint", "r8", "r10", "fixed",
    "fixedFMT", "date", "time", "dateTime", "SQLdateTime", "boolean", "string", "string.uni",
    "bin.hex", "IntArray", "UIntArray", "nested", "struct"};

}  // namespace

namespace packet_reading {

void Reader::fail(const char* at, std::string_view expected) const {
    std::string m(msg::kBadPacket);
    m += ": ";
    m += name_;
    m += ": byte ";
    m += std::to_string(at - b_);
    m += ": ";
    m += expected;
    throw DataError(m);
}

bool Reader::tagIs(std::string_view name) const {
    size_t need = name.size() + 1;
    if (static_cast<size_t>(e_ - p_) <= need || *p_ != '<' || std::memcmp(p_ + 1, name.data(), name.size()) != 0)
        return false;
    char c = p_[need];
    return isSpace(c) || c == '/' || c == '>';
}

void Reader::skipMisc() {
    for (;;) {
        skipSpace();
        if (startsWith("<!--")) {
            const char* start = p_;
            p_ += 4;
            for (;;) {
                const void* dash = std::memchr(p_, '-', static_cast<size_t>(e_ - p_));
                if (!dash) fail(start, "expected '-->' to end the comment");
                p_ = static_cast<const char*>(dash);
                if (startsWith("-->")) break;
                ++p_;
            }
            p_ += 3;
        } else if (startsWith("<?")) {
            const char* start = p_;
            p_ += 2;
            for (;;) {
                const void* q = std::memchr(p_, '?', static_cast<size_t>(e_ - p_));
                if (!q) fail(start, "expected '?>' to end the processing instruction");
                p_ = static_cast<const char*>(q);
                if (startsWith("?>")) break;
                ++p_;
            }
            p_ += 2;
        } else {
            return;
        }
    }
}

void Reader::openTag(std::string_view name) {
    if (!tagIs(name)) fail(p_, "expected <" + std::string(name) + ">");
    p_ += name.size() + 1;
    closed_ = false;
}

// Reads the next attribute of the tag being read. At the tag's end, consumes
// ">" or "/>" (or "?>" for a declaration), sets closed_, and returns false.
bool Reader::nextAttr(Attr& a, bool declaration) {
    const char* before = p_;
    skipSpace();
    if (p_ >= e_) fail(p_, "expected '>' to end the tag");
    char c = *p_;
    if (c == '>' && !declaration) {
        ++p_;
        closed_ = false;
        return false;
    }
    if (c == '/' || (declaration && c == '?')) {
        if (p_ + 1 >= e_ || p_[1] != '>') fail(p_ + 1, declaration ? "expected '?>'" : "expected '>' after '/'");
        p_ += 2;
        closed_ = true;
        return false;
    }
    if (p_ == before) fail(p_, "expected white space, '/>' or '>' after attribute value");
    const char* n = p_;
    while (p_ < e_ && !isSpace(*p_) && *p_ != '=' && *p_ != '>' && *p_ != '/' && *p_ != '<' && *p_ != '"' &&
           *p_ != '\'')
        ++p_;
    if (p_ == n) fail(p_, "expected attribute name");
    a.name = std::string_view(n, static_cast<size_t>(p_ - n));
    skipSpace();
    if (p_ >= e_ || *p_ != '=') fail(p_, "expected '=' after attribute name");
    ++p_;
    skipSpace();
    if (p_ >= e_ || (*p_ != '"' && *p_ != '\'')) fail(p_, "expected '\"' to start attribute value");
    char quote = *p_++;
    const void* end = std::memchr(p_, quote, static_cast<size_t>(e_ - p_));
    if (!end) fail(p_ - 1, "expected closing quote of attribute value");
    a.at = p_;
    a.value = std::string_view(p_, static_cast<size_t>(static_cast<const char*>(end) - p_));
    p_ = static_cast<const char*>(end) + 1;
    return true;
}

void Reader::expectEndTag(std::string_view name) {
    skipMisc();
    const char* at = p_;
    if (!startsWith("</") || static_cast<size_t>(e_ - p_) < name.size() + 2 ||
        std::memcmp(p_ + 2, name.data(), name.size()) != 0)
        fail(at, "expected </" + std::string(name) + ">");
    p_ += name.size() + 2;
    skipSpace();
    if (p_ >= e_ || *p_ != '>') fail(at, "expected </" + std::string(name) + ">");
    ++p_;
}

// Converts UTF-8 text of the packet to Shift-JIS, appending to out. at is
// where the text stands in the file; when it is not the file's bytes as they
// are (exactPlace false), at is reported as is.
void Reader::appendSjis(std::string_view utf8, const char* at, bool exactPlace, std::string& out, int field,
                        std::string_view place) {
    auto problem = appendSjisExact(utf8, out);
    if (problem)
        fail(exactPlace ? at + problem->offset : at, describeProblem(*problem) + std::string(place) + forField(field));
}

// " for field 'X'" to end a message, or nothing for no field.
std::string Reader::forField(int field) const {
    if (field < 0) return {};
    return " for field '" + toUtf8(defs_[static_cast<size_t>(field)].name) + "'";
}

// The attribute's value with references decoded and, when the packet is
// UTF-8 and convert is set, turned into Shift-JIS; field, if any, is named
// in the message of a failure.
std::string_view Reader::decode(const Attr& a, std::string& buf, bool convert, int field) {
    std::string_view v = a.value;
    bool hasRef = std::memchr(v.data(), '&', v.size()) != nullptr;
    if (!hasRef && !(convert && utf8_)) return v;
    buf.clear();
    if (auto err = decodeAttributeText(v, utf8_, convert, buf)) fail(a.at + err->offset, err->expected + forField(field));
    return buf;
}

void Reader::parseDeclaration() {
    const char* start = p_;
    p_ += 2;
    const char* n = p_;
    while (p_ < e_ && !isSpace(*p_) && *p_ != '?') ++p_;
    if (!equalNoCaseAscii(std::string_view(n, static_cast<size_t>(p_ - n)), "xml")) {
        p_ = start;
        skipMisc();  // another processing instruction
        return;
    }
    Attr a;
    while (nextAttr(a, true))
        if (a.name == "encoding") utf8_ = equalNoCaseAscii(a.value, "UTF-8");
}

Packet Reader::run() {
    if (startsWith("\xEF\xBB\xBF")) p_ += 3;  // a byte-order mark some editors add
    skipSpace();
    if (p_ >= e_ || *p_ != '<') fail(p_, "expected '<' at the start of the packet");
    if (startsWith("<?")) parseDeclaration();
    skipMisc();
    bool inPacket = false;
    if (tagIs("DATAPACKET")) {
        openTag("DATAPACKET");
        skipAttrs();
        if (closed_) fail(p_, "expected METADATA or ROWDATA inside DATAPACKET");
        inPacket = true;
        skipMisc();
    }
    if (tagIs("METADATA")) {
        parseMetadata();
        skipMisc();
        if (tagIs("ROWDATA")) parseRows();
    } else if (tagIs("ROWDATA")) {
        rowsOnly_ = true;
        parseRows();
    } else {
        fail(p_, "expected <METADATA> or <ROWDATA>");
    }
    if (inPacket) expectEndTag("DATAPACKET");
    skipMisc();
    if (p_ != e_) fail(p_, "expected the end of the file after the packet");
    finish();
    Packet pk;
    pk.schema = Schema(std::move(defs_));
    pk.params = std::move(params_);
    pk.rows = std::move(rows_);
    pk.changeLog = std::move(log_);
    return pk;
}

void Reader::parseMetadata() {
    openTag("METADATA");
    skipAttrs();
    if (closed_) fail(p_, "expected <FIELDS> inside METADATA");
    skipMisc();
    openTag("FIELDS");
    skipAttrs();
    if (!closed_) {
        for (;;) {
            skipMisc();
            if (startsWith("</")) break;
            parseField();
        }
        expectEndTag("FIELDS");
    }
    skipMisc();
    if (tagIs("PARAMS")) parseParams();
    expectEndTag("METADATA");
}

void Reader::parseField() {
    const char* start = p_;
    openTag("FIELD");
    FieldDef fd;
    std::string attrName, type, fieldName;
    Attr attrNameAttr;
    bool haveAttrName = false, haveName = false;
    const char* widthAt = nullptr;
    std::string widthText;
    Attr a;
    while (nextAttr(a)) {
        if (a.name == "attrname" || a.name == "tagname") {
            attrName = decode(a, buf_, false);
            attrNameAttr = a;
            haveAttrName = true;
        } else if (a.name == "fieldname") {
            fieldName = decode(a, buf_, true);
            haveName = true;
        } else if (a.name == "fieldtype") {
            type = decode(a, buf_, false);
        } else if (a.name == "readonly" || a.name == "required" || a.name == "hidden" || a.name == "linkfield") {
            bool on = equalNoCaseAscii(decode(a, buf_, false), "true");
            if (a.name == "readonly") fd.readOnly = on;
            else if (a.name == "required") fd.required = on;
            else if (a.name == "hidden") fd.hidden = on;
            else fd.linkField = on;
        } else if (a.name == "SUBTYPE") {
            fd.subtype = decode(a, buf_, false);
        } else if (a.name == "WIDTH") {
            widthText = decode(a, buf_, false);
            widthAt = a.at;
        } else if (a.name.find(':') == std::string_view::npos) {
            // Type annotations such as "dt:dt" are dropped; the rest is kept.
            fd.extra.emplace_back(std::string(a.name), std::string(decode(a, buf_, true)));
        }
    }
    if (!closed_) {
        for (;;) {
            skipMisc();
            if (startsWith("</")) break;
            const char* at = p_;
            if (!tagIs("PARAM")) fail(at, "expected <PARAM> or </FIELD>");
            std::string n, v, t;
            parseParamElement(n, v, t);
            if (n == "SUBTYPE") fd.subtype = v;
            else if (n == "WIDTH") widthText = v, widthAt = at;
            else if (carriedParamName(n)) fd.extra.emplace_back(n, v);
        }
        expectEndTag("FIELD");
    }
    if (!haveAttrName || attrName.empty()) fail(start, "expected attrname on FIELD");
    if (type.empty()) fail(start, "expected fieldtype on FIELD");
    if (widthAt) {
        auto [q, ec] = std::from_chars(widthText.data(), widthText.data() + widthText.size(), fd.width);
        if (widthText.empty() || ec != std::errc() || q != widthText.data() + widthText.size() || fd.width < 0)
            fail(widthAt, "expected a decimal WIDTH");
    }
    std::string_view canonical;
    for (std::string_view t : kFieldTypes)
        if (equalNoCaseAscii(t, type)) canonical = t;
    if (canonical.empty()) fail(start, "expected a known fieldtype, not '" + type + "'");
    if (canonical == "nested" || canonical == "struct")
        fail(start, "field type '" + std::string(canonical) + "' is not supported");
    fd.packetType = canonical;
    bool money = equalNoCaseAscii(fd.subtype, "Money"), text = equalNoCaseAscii(fd.subtype, "Text");
    if (canonical == "i2") fd.type = FieldType::Int16;
    else if (canonical == "i4") fd.type = FieldType::Int32;
    else if (canonical == "i8") fd.type = FieldType::Int64;
    else if (canonical == "date") fd.type = FieldType::Date;
    else if (canonical == "dateTime") fd.type = FieldType::DateTime;
    else if (canonical == "boolean") fd.type = FieldType::Boolean;
    else if (canonical == "string") fd.type = FieldType::String;
    else if (canonical == "r8") fd.type = money ? FieldType::Currency : FieldType::Float;
    else if (canonical == "bin.hex") fd.type = text ? FieldType::Memo : FieldType::Blob;
    else fd.type = FieldType::Other;  // carried as its text
    if (haveName && !fieldName.empty()) {
        fd.name = std::move(fieldName);
    } else if (utf8_) {
        fd.name.clear();
        appendSjis(attrName, attrNameAttr.at, attrName == attrNameAttr.value, fd.name, -1, " in attrname");
    } else {
        fd.name = attrName;
    }
    attrNames_.push_back(std::move(attrName));
    defs_.push_back(std::move(fd));
}

void Reader::parseParamElement(std::string& name, std::string& value, std::string& type) {
    const char* start = p_;
    openTag("PARAM");
    bool haveName = false;
    Attr a;
    while (nextAttr(a)) {
        if (a.name == "Name") name = decode(a, buf_, false), haveName = true;
        else if (a.name == "Value") value = decode(a, buf_, true);
        else if (a.name == "Type") type = decode(a, buf_, false);
    }
    if (!closed_) expectEndTag("PARAM");
    if (!haveName || name.empty()) fail(start, "expected Name on PARAM");
}

void Reader::parseParams() {
    openTag("PARAMS");
    Attr a;
    while (nextAttr(a)) {
        if (a.name == "CHANGE_LOG") {
            changeLogText_ = decode(a, buf_, false);
            changeLogAt_ = a.at;
        } else {
            params_.push_back({std::string(a.name), std::string(decode(a, buf_, true)), ""});
        }
    }
    if (closed_) return;
    for (;;) {
        skipMisc();
        if (startsWith("</")) break;
        const char* at = p_;
        if (!tagIs("PARAM")) fail(at, "expected <PARAM> or </PARAMS>");
        TableParam tp;
        parseParamElement(tp.name, tp.value, tp.type);
        if (tp.name == "CHANGE_LOG") {
            changeLogText_ = tp.value;
            changeLogAt_ = at;
        } else if (carriedParamName(tp.name)) {
            params_.push_back(std::move(tp));
        }
    }
    expectEndTag("PARAMS");
}

}  // namespace packet_reading

Packet readPacket(std::string_view bytes, std::string_view sourceName) {
    return packet_reading::Reader(bytes, sourceName).run();
}

}  // namespace tamboro
