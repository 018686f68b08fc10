#include "tools/cli_output.h"

#include <cstdio>

namespace tamboro::cli {

namespace {

// Tab-separated: tab, line breaks and backslash escaped with a backslash so
// that every row stays on one line; a blank field is an empty cell.
// A writer of one line per row, where a blank field is an empty cell.
class LineWriter : public RowWriter {
public:
    explicit LineWriter(std::ostream& out) : out_(out) {}
    void header(const std::vector<std::string>& names) override { line(names); }
    void row(const std::vector<Cell>& cells) override {
        std::vector<std::string> texts;
        texts.reserve(cells.size());
        for (const Cell& c : cells) texts.push_back(c ? *c : std::string());
        line(texts);
    }

protected:
    virtual void line(const std::vector<std::string>& texts) = 0;
    std::ostream& out_;
};

class TsvWriter : public LineWriter {
public:
    using LineWriter::LineWriter;

private:
    void line(const std::vector<std::string>& texts) override {
        for (size_t i = 0; i < texts.size(); ++i) {
            if (i) out_ << '\t';
            for (char c : texts[i]) {
                switch (c) {
                case '\t': out_ << "\\t"; break;
                case '\n': out_ << "\\n"; break;
                case '\r': out_ << "\\r"; break;
                case '\\': out_ << "\\\\"; break;
                default: out_ << c;
                }
            }
        }
        out_ << '\n';
    }
};

// RFC 4180: fields quoted when they hold a comma, quote or line break, and
// records ended by CR LF.
class CsvWriter : public LineWriter {
public:
    using LineWriter::LineWriter;

private:
    void line(const std::vector<std::string>& texts) override {
        for (size_t i = 0; i < texts.size(); ++i) {
            if (i) out_ << ',';
            const std::string& t = texts[i];
            if (t.find_first_of(",\"\r\n") == std::string::npos) {
                out_ << t;
                continue;
            }
            out_ << '"';
            for (char c : t) {
                if (c == '"') out_ << '"';
                out_ << c;
            }
            out_ << '"';
        }
        out_ << "\r\n";
    }
};

// An array of objects keyed by field name, one per line; blank is null.
class JsonWriter : public RowWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}
    void header(const std::vector<std::string>& names) override {
        for (const auto& n : names) keys_.push_back(jsonString(n));
        out_ << '[';
    }
    void row(const std::vector<Cell>& cells) override {
        out_ << (first_ ? "\n{" : ",\n{");
        first_ = false;
        for (size_t i = 0; i < cells.size() && i < keys_.size(); ++i) {
            if (i) out_ << ", ";
            out_ << keys_[i] << ": " << (cells[i] ? jsonString(*cells[i]) : "null");
        }
        out_ << '}';
    }
    void finish() override { out_ << "\n]\n"; }

private:
    std::ostream& out_;
    std::vector<std::string> keys_;
    bool first_ = true;
};

}  // namespace

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (char ch : s) {
        auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out.push_back(ch);
            }
        }
    }
    out += '"';
    return out;
}

std::unique_ptr<RowWriter> makeRowWriter(std::string_view format, std::ostream& out) {
    if (format == "tsv") return std::make_unique<TsvWriter>(out);
    if (format == "csv") return std::make_unique<CsvWriter>(out);
    if (format == "json") return std::make_unique<JsonWriter>(out);
    return nullptr;
}

}  // namespace tamboro::cli
