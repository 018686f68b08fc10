#include "app/ini_file.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "data/packet_file.h"
#include "data/sjis.h"

namespace tamboro {
namespace {

std::string pathText(const std::filesystem::path& path) {
    const std::u8string u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

[[noreturn]] void cannotWrite(const std::filesystem::path& path, std::string_view reason) {
    throw IniWriteError(formatMessage("%s に書き込めません: %s", {pathText(path), reason}));
}

struct FileText {
    std::optional<std::string> bytes;    // nullopt when there is no file
    std::optional<std::string> failure;  // why a file that is there cannot be read
};

FileText readAll(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(path, ec);
    if (st.type() == std::filesystem::file_type::not_found) return {};
    if (ec) return {std::nullopt, ec.message()};
    // A FIFO would block start-up; a folder cannot be read as text.
    if (st.type() != std::filesystem::file_type::regular) return {std::nullopt, "通常のファイルではありません"};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {std::nullopt, std::strerror(errno)};
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return {std::nullopt, std::strerror(errno)};
    return {std::move(all), std::nullopt};
}

std::string_view trim(std::string_view s) {
    const char* blanks = " \t";
    size_t b = s.find_first_not_of(blanks);
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(blanks);
    return s.substr(b, e - b + 1);
}

char foldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Case folds ASCII letters only, never the second byte of a double-byte
// character, so two different kanji never compare equal.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The section named by a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> sectionOf(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(t.substr(1, close - 1));
}

// The key of a "key=value" line and the position of its "=".
std::optional<std::pair<std::string_view, size_t>> keyOf(std::string_view line) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view key = trim(line.substr(0, eq));
    if (key.empty() || key.front() == ';') return std::nullopt;
    return std::make_pair(key, eq);
}

// A line's text runs up to "\n", less a "\r" just before it; a line end of
// each kind is kept so that untouched lines are written back as they were.
std::string_view bodyOf(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace

struct IniFile::Found {
    std::optional<size_t> sectionLine;
    std::optional<size_t> keyLine;
    size_t lastEntry = 0;  // last non-blank line of the section
};

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {
    FileText file = readAll(path_);
    readFailure_ = std::move(file.failure);
    existed_ = file.bytes || readFailure_;
    if (!file.bytes) return;
    original_ = std::move(*file.bytes);
    const size_t nl = original_.find('\n');
    if (nl != std::string::npos && (nl == 0 || original_[nl - 1] != '\r')) eol_ = "\n";
    size_t pos = 0;
    while (pos < original_.size()) {
        size_t end = original_.find('\n', pos);
        end = end == std::string::npos ? original_.size() : end + 1;
        lines_.push_back(original_.substr(pos, end - pos));
        pos = end;
    }
}

IniFile::Found IniFile::find(std::string_view section, std::string_view key) const {
    // The first section of that name and the first such key in it.
    Found f;
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view line = bodyOf(lines_[i]);
        if (auto name = sectionOf(line)) {
            if (f.sectionLine) break;
            if (sameName(*name, section)) f.sectionLine = f.lastEntry = i;
            continue;
        }
        if (!f.sectionLine) continue;
        if (!trim(line).empty()) f.lastEntry = i;
        auto k = keyOf(line);
        if (k && sameName(k->first, key)) {
            f.keyLine = i;
            break;
        }
    }
    return f;
}

std::optional<std::string> IniFile::readString(std::string_view section, std::string_view key) const {
    const Found f = find(section, key);
    if (!f.keyLine) return std::nullopt;
    std::string_view line = bodyOf(lines_[*f.keyLine]);
    return std::string(trim(line.substr(keyOf(line)->second + 1)));
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view fallback) const {
    auto v = readString(section, key);
    return v ? *v : std::string(fallback);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
    auto v = readString(section, key);
    if (!v) return fallback;
    return parseIniInteger(*v).value_or(fallback);
}

void IniFile::setString(std::string_view section, std::string_view key, std::string_view value) {
    const Found f = find(section, key);
    // A new line needs the previous one ended.
    auto endLast = [this](size_t i) {
        if (lines_[i].empty() || lines_[i].back() != '\n') lines_[i] += eol_;
    };
    const std::string entry = std::string(key) + "=" + std::string(value) + eol_;
    if (f.keyLine) {
        if (readString(section, key) == value) return;
        // Keep the key as the file spells it, and the line end; only the value changes.
        std::string& line = lines_[*f.keyLine];
        const std::string_view body = bodyOf(line);
        const size_t valueStart = body.find_first_not_of(" \t", keyOf(body)->second + 1);
        line = std::string(body.substr(0, std::min(valueStart, body.size()))) + std::string(value) +
               line.substr(body.size());
    } else if (f.sectionLine) {
        endLast(f.lastEntry);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(f.lastEntry + 1), entry);
    } else {
        if (!lines_.empty()) endLast(lines_.size() - 1);
        lines_.push_back("[" + std::string(section) + "]" + eol_);
        lines_.push_back(entry);
    }
}

void IniFile::setInteger(std::string_view section, std::string_view key, int value) {
    // "0x10" stays as it is when it still holds the value.
    if (auto v = readString(section, key); v && parseIniInteger(*v) == value) return;
    setString(section, key, std::to_string(value));
}

std::string IniFile::text() const {
    std::string out;
    for (const std::string& line : lines_) out += line;
    return out;
}

bool IniFile::changed() const { return existed_ ? readFailure_ || text() != original_ : !lines_.empty(); }

void IniFile::save() {
    if (!changed()) return;
    // What could not be read must not be replaced by only the keys set here.
    if (readFailure_) cannotWrite(path_, *readFailure_);
    std::string out = text();
    try {
        replaceFileContent(path_, out);
    } catch (const DataError& e) {
        cannotWrite(path_, e.what());
    }
    original_ = std::move(out);
    existed_ = true;
}

std::optional<int> parseIniInteger(std::string_view text) {
    std::string_view t = text;
    bool negative = false;
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.remove_prefix(2);
    } else if (t.size() > 1 && t[0] == '$') {
        base = 16;
        t.remove_prefix(1);
    }
    if (t.empty()) return std::nullopt;
    uint64_t magnitude = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), magnitude, base);
    if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    int64_t v;
    if (base == 16) {
        // Hexadecimal spells the 32-bit pattern: $FFFFFFFF is -1.
        if (magnitude > 0xFFFFFFFFull) return std::nullopt;
        v = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
    } else {
        if (magnitude > 0x80000000ull) return std::nullopt;
        v = static_cast<int64_t>(magnitude);
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int>(v);
}

std::filesystem::path settingsFileFor(const std::filesystem::path& executable) {
    std::filesystem::path p = executable;
    p.replace_extension(".INI");
    return p;
}

}  // namespace tamboro
