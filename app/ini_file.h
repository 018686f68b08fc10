#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/error.h"

namespace tamboro {

// A write to the settings file failed; the message names the file and why.
class IniWriteError : public DataError {
public:
    using DataError::DataError;
};

// A private-profile (INI) file: "[section]" lines followed by "key=value"
// lines. Section and key names compare without regard to ASCII case; values
// are bytes (Shift-JIS as the program writes them). The file is read once,
// edited in memory and written back whole by save(), so that the file on
// disk is always either the old one or the new one. Every line the program
// does not change keeps its bytes. A missing file reads as empty and is
// created by the first save.
class IniFile {
public:
    // Reads the file now; a file that cannot be read reads as empty (and
    // refuses to be saved, see save()).
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    // The value, trimmed of surrounding blanks; nullopt when the section or
    // key is missing.
    std::optional<std::string> readString(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;

    // A signed decimal integer, or hexadecimal after "0x" or "$"; anything
    // else (and a value outside 32 bits) gives the fallback.
    int readInteger(std::string_view section, std::string_view key, int fallback) const;

    // Set the value in memory, adding the key (and section) when missing. A
    // key keeps its spelling, and a value already equal keeps its bytes.
    void setString(std::string_view section, std::string_view key, std::string_view value);
    void setInteger(std::string_view section, std::string_view key, int value);

    // True when the content differs from the file as read.
    bool changed() const;

    // Writes the content through a temporary file renamed over the old one;
    // does nothing when nothing changed. Throws IniWriteError
    // "<path> に書き込めません: <reason>" and leaves the file as it was.
    void save();

private:
    struct Found;
    Found find(std::string_view section, std::string_view key) const;
    std::string text() const;

    std::filesystem::path path_;
    std::vector<std::string> lines_;  // without line ends
    std::string eol_ = "\r\n";        // the file's own line end, CRLF for a new file
    bool finalEol_ = true;
    bool existed_ = false;
    std::string original_;            // the bytes as read
    std::optional<std::string> readFailure_;  // why an existing file could not be read
};

// Parses an integer as the settings file stores it; nullopt for anything else.
std::optional<int> parseIniInteger(std::string_view text);

// The settings file of an executable: its path with the extension replaced
// by ".INI", or ".INI" appended when it has none.
std::filesystem::path settingsFileFor(const std::filesystem::path& executable);

}  // namespace tamboro
