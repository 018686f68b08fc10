#include "data/packet_reader.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "data/base64.h"
#include "data/error.h"
#include "data/locale_jp.h"
#include "data/packet_text.h"
#include "data/messages.h"
#include "data/sjis.h"

namespace tamboro {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool equalNoCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

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

class Reader {
public:
    Reader(std::string_view bytes, std::string_view name)
        : b_(bytes.data()), p_(bytes.data()), e_(bytes.data() + bytes.size()), name_(name) {}

    Packet run();

private:
    struct Attr {
        std::string_view name;
        std::string_view value;
        const char* at = nullptr;  // the value's first byte
    };

    [[noreturn]] void fail(const char* at, std::string_view expected) const;
    bool startsWith(std::string_view s) const {
        return static_cast<size_t>(e_ - p_) >= s.size() && std::memcmp(p_, s.data(), s.size()) == 0;
    }
    bool tagIs(std::string_view name) const;
    void skipSpace() {
        while (p_ < e_ && isSpace(*p_)) ++p_;
    }
    void skipMisc();
    void openTag(std::string_view name);
    bool nextAttr(Attr& a, bool declaration = false);
    void skipAttrs() {
        Attr a;
        while (nextAttr(a)) {}
    }
    void expectEndTag(std::string_view name);
    std::string_view decode(const Attr& a, std::string& buf, bool convert, int field = -1);
    void appendSjis(std::string_view utf8, const char* at, bool exactPlace, std::string& out, int field = -1,
                    std::string_view place = {});
    std::string forField(int field) const;

    void parseDeclaration();
    void parseMetadata();
    void parseField();
    void parseParams();
    void parseParamElement(std::string& name, std::string& value, std::string& type);
    void parseRows();
    void parseRow();
    void setValue(RowBuilder& b, int f, const Attr& a);
    int inferField(std::string_view attrName);
    void finish();

    const char* b_;
    const char* p_;
    const char* e_;
    std::string_view name_;
    bool utf8_ = false;
    bool closed_ = false;  // the last tag opened ended with "/>"
    bool rowsOnly_ = false;

    std::vector<FieldDef> defs_;
    std::vector<std::string> attrNames_;  // per field, as ROW attributes name them
    std::unordered_map<std::string_view, int> byAttr_;
    std::vector<TableParam> params_;
    std::string changeLogText_;
    const char* changeLogAt_ = nullptr;
    std::vector<StoredRow> rows_;
    std::vector<std::vector<std::pair<int, std::string>>> looseRows_;  // rows-only packets
    std::vector<uint8_t> looseStatus_;
    std::vector<ChangeLogEntry> log_;
    std::string buf_, buf2_;
    std::optional<RowBuilder> builder_;  // reused: rows are built without temporaries
    std::vector<size_t> seenInRow_;      // per field: 1 + the row that last set it
};

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

void Reader::parseRows() {
    openTag("ROWDATA");
    skipAttrs();
    if (closed_) return;
    builder_.emplace(defs_.size());
    for (size_t i = 0; i < attrNames_.size(); ++i) byAttr_.emplace(attrNames_[i], static_cast<int>(i));
    for (;;) {
        if (p_ < e_ && *p_ == '<' && tagIs("ROW")) {
            parseRow();
            continue;
        }
        skipMisc();
        if (startsWith("</")) break;
        if (!tagIs("ROW")) fail(p_, "expected <ROW> or </ROWDATA>");
    }
    expectEndTag("ROWDATA");
}

int Reader::inferField(std::string_view attrName) {
    // A packet of rows only: each new attribute becomes a string field.
    int f = static_cast<int>(defs_.size());
    FieldDef fd = FieldDef::make(std::string(attrName), FieldType::String, 1);
    if (utf8_) {
        fd.name.clear();
        appendSjis(attrName, attrName.data(), true, fd.name, -1, " in an attribute name");
    }
    attrNames_.emplace_back(attrName);
    defs_.push_back(std::move(fd));
    // The map's keys view the stored names; rebuild after the vector moved.
    byAttr_.clear();
    for (size_t i = 0; i < attrNames_.size(); ++i) byAttr_.emplace(attrNames_[i], static_cast<int>(i));
    return f;
}

void Reader::parseRow() {
    openTag("ROW");
    RowBuilder& b = *builder_;
    uint32_t status = 0;
    size_t hint = 0;
    const size_t n = attrNames_.size();
    std::vector<std::pair<int, std::string>> loose;
    // A second value for a field would be dropped silently at the next save.
    const size_t rowMark = rows_.size() + looseRows_.size() + 1;
    bool haveState = false;
    Attr a;
    while (nextAttr(a)) {
        int f;
        if (a.name == "RowState") {
            if (haveState) fail(a.name.data(), "expected RowState only once in a ROW");
            haveState = true;
            auto [q, ec] = std::from_chars(a.value.data(), a.value.data() + a.value.size(), status);
            if (a.value.empty() || ec != std::errc() || q != a.value.data() + a.value.size() || status > 255)
                fail(a.at, "expected a RowState number from 0 to 255");
            continue;
        }
        if (hint < n && a.name == attrNames_[hint]) {
            f = static_cast<int>(hint);
        } else {
            auto it = byAttr_.find(a.name);
            if (it != byAttr_.end()) f = it->second;
            else if (rowsOnly_) f = inferField(a.name);
            else continue;  // an attribute no field claims
        }
        hint = static_cast<size_t>(f) + 1;
        if (seenInRow_.size() <= static_cast<size_t>(f)) seenInRow_.resize(static_cast<size_t>(f) + 1, 0);
        if (seenInRow_[static_cast<size_t>(f)] == rowMark)
            fail(a.name.data(), "expected one value" + forField(f) + " in a ROW, not two");
        seenInRow_[static_cast<size_t>(f)] = rowMark;
        if (rowsOnly_) loose.emplace_back(f, decode(a, buf_, true, f));
        else setValue(b, f, a);
    }
    if (!closed_) {
        skipMisc();
        expectEndTag("ROW");
    }
    // The removed-without-log bit is internal; a file never sets it.
    uint8_t st = static_cast<uint8_t>(status & ~uint32_t(RowRemoved));
    if (rowsOnly_) {
        looseRows_.push_back(std::move(loose));
        looseStatus_.push_back(st);
    } else {
        rows_.push_back({b.finish(), st});
    }
}

void Reader::setValue(RowBuilder& b, int f, const Attr& a) {
    const FieldDef& fd = defs_[static_cast<size_t>(f)];
    FieldType t = fd.type;
    bool text = t == FieldType::String || t == FieldType::Other;
    std::string_view v = decode(a, buf_, text, f);
    if (text) {
        b.setText(f, v);
        return;
    }
    auto bad = [&](std::string_view what) { fail(a.at, "expected " + std::string(what) + forField(f)); };
    // No value: blank, except for memos, where it is an empty text as for
    // strings (the writer writes an empty memo so).
    if (v.empty() && t != FieldType::Memo && t != FieldType::Blob) return;
    switch (t) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64: {
        std::string_view s = v;
        if (s.front() == '+') s.remove_prefix(1);
        int64_t x = 0;
        auto [q, ec] = std::from_chars(s.data(), s.data() + s.size(), x);
        if (s.empty() || ec != std::errc() || q != s.data() + s.size()) bad("an integer");
        if (t == FieldType::Int16 && (x < INT16_MIN || x > INT16_MAX)) bad("an integer from -32768 to 32767");
        if (t == FieldType::Int32 && (x < INT32_MIN || x > INT32_MAX)) bad("a 32-bit integer");
        b.setInt(f, x);
        return;
    }
    case FieldType::Date:
    case FieldType::DateTime: {
        int32_t day, ms;
        if (!parseStamp(v, day, ms)) bad(t == FieldType::Date ? "a date yyyymmdd" : "a date-time yyyymmddThh:mm:sssss");
        if (t == FieldType::Date) b.setInt(f, day);
        else b.setReal(f, joinDateTime(day, ms));
        return;
    }
    case FieldType::Boolean:
        if (v.front() == 'T' || v.front() == 't') b.setBool(f, true);
        else if (v.front() == 'F' || v.front() == 'f') b.setBool(f, false);
        else bad("TRUE or FALSE");
        return;
    case FieldType::Currency:
    case FieldType::Float: {
        std::string_view s = v;
        if (s.front() == '+') s.remove_prefix(1);
        double x = 0;
        auto [q, ec] = std::from_chars(s.data(), s.data() + s.size(), x);
        if (s.empty() || ec != std::errc() || q != s.data() + s.size()) bad("a number");
        b.setReal(f, x);
        return;
    }
    case FieldType::Memo:
    case FieldType::Blob: {
        size_t at = decodeBase64(v, buf2_);
        if (at != std::string_view::npos) {
            // Report where in the file, when the value was not rewritten.
            const char* where = v.data() == a.value.data() ? a.at + at : a.at;
            fail(where, "expected Base64 text" + forField(f));
        }
        if (t == FieldType::Memo && utf8_) {
            // The memo's bytes are UTF-8 as well; they are not the file's, so
            // the place reported is the value's start.
            std::string sjis;
            appendSjis(buf2_, a.at, false, sjis, f, " in the memo");
            b.setText(f, sjis);
        } else {
            b.setText(f, buf2_);
        }
        return;
    }
    case FieldType::String:
    case FieldType::Other: break;
    }
}

void Reader::finish() {
    if (rowsOnly_) {
        for (FieldDef& fd : defs_) fd.width = 1;
        RowBuilder b(defs_.size());
        for (size_t r = 0; r < looseRows_.size(); ++r) {
            for (auto& [f, v] : looseRows_[r]) {
                auto& w = defs_[static_cast<size_t>(f)].width;
                w = std::max(w, static_cast<int>(v.size()));
                b.setText(f, v);
            }
            rows_.push_back({b.finish(), looseStatus_[r]});
        }
    }
    if (!changeLogAt_) return;
    // Triples of 1-based ROW positions (0 for none) and the kind of change.
    std::vector<uint32_t> nums;
    const char* s = changeLogText_.data();
    const char* end = s + changeLogText_.size();
    while (s < end) {
        while (s < end && isSpace(*s)) ++s;
        if (s == end) break;
        uint32_t v = 0;
        auto [q, ec] = std::from_chars(s, end, v);
        if (ec != std::errc()) fail(changeLogAt_, "expected CHANGE_LOG as unsigned numbers");
        nums.push_back(v);
        s = q;
        if (s < end && !isSpace(*s)) fail(changeLogAt_, "expected CHANGE_LOG as unsigned numbers");
    }
    if (nums.size() % 3 != 0) fail(changeLogAt_, "expected CHANGE_LOG in triples");
    const size_t count = rows_.size();
    for (size_t i = 0; i < nums.size(); i += 3) {
        uint32_t row = nums[i], old = nums[i + 1], kind = nums[i + 2];
        if (row == 0 || row > count || old > count || kind > 255)
            fail(changeLogAt_, "expected CHANGE_LOG positions of existing rows");
        log_.push_back({row - 1, old == 0 ? ChangeLogEntry::kNone : old - 1, static_cast<uint8_t>(kind)});
    }
}

}  // namespace

Packet readPacket(std::string_view bytes, std::string_view sourceName) {
    return Reader(bytes, sourceName).run();
}

}  // namespace tamboro
