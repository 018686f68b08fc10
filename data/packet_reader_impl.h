#pragma once
// The packet reader's parser, shared by the files that make it up: the tags,
// fields and parameters in packet_reader.cpp, the rows in packet_rows.cpp.
#include <charconv>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/packet.h"
#include "data/row_data.h"

namespace tamboro::packet_reading {

inline bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

inline bool equalNoCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

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

}  // namespace tamboro::packet_reading
