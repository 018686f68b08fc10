#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "data/error.h"

namespace tamboro {

// A write to the settings file failed; the message names the file.
class IniWriteError : public DataError {
public:
    using DataError::DataError;
};

// A private-profile (INI) file: "[section]" lines followed by "key=value"
// lines. Section and key names compare without regard to ASCII case; values
// are Shift-JIS bytes. Every call reads the file afresh and every write
// rewrites it, keeping all other lines as they were. A missing file reads as
// empty and is created by the first write.
class IniFile {
public:
    explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    // The value, trimmed of surrounding blanks; nullopt when the section or
    // key is missing. A file that cannot be read reads as empty.
    std::optional<std::string> readString(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;

    // A signed decimal integer, or hexadecimal after "0x" or "$"; anything
    // else (and a value outside 32 bits) gives the fallback.
    int readInteger(std::string_view section, std::string_view key, int fallback) const;

    // Sets the value, adding the key (and section) when missing. Throws
    // IniWriteError "<path> に書き込めません" when the file cannot be written.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int value);

private:
    std::filesystem::path path_;
};

// Parses an integer as the settings file stores it; nullopt for anything else.
std::optional<int> parseIniInteger(std::string_view text);

// The settings file of an executable: its path with the extension replaced
// by ".INI", or ".INI" appended when it has none.
std::filesystem::path settingsFileFor(const std::filesystem::path& executable);

}  // namespace tamboro
