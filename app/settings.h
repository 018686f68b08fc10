#pragma once
#include <QString>
#include <filesystem>

namespace tamboro {

// The main window's section of the settings file.
inline constexpr const char* kMainSection = "TFMain";

// The backup folder, read under "BUpPath" (empty when missing). Any spelling
// of the key's case names the same entry.
QString readBackupFolder(const std::filesystem::path& iniFile);
// Writes the backup folder under "BupPath", also when empty; throws
// IniWriteError when the file cannot be written.
void writeBackupFolder(const std::filesystem::path& iniFile, const QString& folder);

}  // namespace tamboro
