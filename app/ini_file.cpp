#include "app/ini_file.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <vector>

#include "data/sjis.h"

namespace tamboro {
namespace {

struct Lines {
    std::vector<std::string> text;  // without line ends
    std::string eol = "\r\n";       // the file's own line end, CRLF for a new file
    bool finalEol = true;
};

[[noreturn]] void cannotWrite(const std::filesystem::path& path) {
    const std::u8string u8 = path.u8string();
    throw IniWriteError(formatMessage("%s に書き込めません", {std::string(u8.begin(), u8.end())}));
}

// The whole file, or nullopt when it exists but cannot be read.
std::optional<std::string> readAll(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return std::string();
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return std::nullopt;
        return all;
    } catch (const std::ios_base::failure&) {  // a folder, for one
        return std::nullopt;
    }
}

// Reading, an unreadable file is an empty one; writing, it must not be
// replaced by one holding only the new key.
Lines load(const std::filesystem::path& path, bool forWriting) {
    Lines lines;
    const std::optional<std::string> read = readAll(path);
    if (!read) {
        if (forWriting) cannotWrite(path);
        return lines;
    }
    const std::string& all = *read;
    size_t nl = all.find('\n');
    if (nl != std::string::npos && (nl == 0 || all[nl - 1] != '\r')) lines.eol = "\n";
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find('\n', pos);
        std::string line = all.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.text.push_back(std::move(line));
        if (end == std::string::npos) {
            lines.finalEol = false;
            break;
        }
        pos = end + 1;
    }
    return lines;
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

struct Found {
    std::optional<size_t> sectionLine;
    std::optional<size_t> keyLine;
    size_t lastEntry = 0;  // last non-blank line of the section
};

// The first section of that name and the first such key in it.
Found find(const Lines& lines, std::string_view section, std::string_view key) {
    Found f;
    for (size_t i = 0; i < lines.text.size(); ++i) {
        std::string_view line = lines.text[i];
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

void save(const std::filesystem::path& path, const Lines& lines) {
    std::string out;
    for (size_t i = 0; i < lines.text.size(); ++i) {
        out += lines.text[i];
        if (i + 1 < lines.text.size() || lines.finalEol) out += lines.eol;
    }
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (f) f.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (f) f.close();
    if (!f) cannotWrite(path);
}

}  // namespace

std::optional<std::string> IniFile::readString(std::string_view section, std::string_view key) const {
    const Lines lines = load(path_, false);
    const Found f = find(lines, section, key);
    if (!f.keyLine) return std::nullopt;
    std::string_view line = lines.text[*f.keyLine];
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

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    Lines lines = load(path_, true);
    const Found f = find(lines, section, key);
    std::string entry = std::string(key) + "=" + std::string(value);
    if (f.keyLine) {
        // Keep the key as the file spells it; only the value changes.
        std::string& line = lines.text[*f.keyLine];
        line = line.substr(0, keyOf(line)->second + 1) + std::string(value);
    } else if (f.sectionLine) {
        lines.text.insert(lines.text.begin() + static_cast<std::ptrdiff_t>(f.lastEntry + 1), std::move(entry));
    } else {
        lines.finalEol = true;
        lines.text.push_back("[" + std::string(section) + "]");
        lines.text.push_back(std::move(entry));
    }
    save(path_, lines);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
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
