#pragma once
#include <QString>
#include <filesystem>

namespace tamboro {

class IniFile;

// The main window's section of the settings file.
inline constexpr const char* kMainSection = "TFMain";

// The backup folder, read under "BUpPath" (empty when missing). Any spelling
// of the key's case names the same entry.
QString readBackupFolder(const std::filesystem::path& iniFile);
QString readBackupFolder(const IniFile& ini);
// Sets the backup folder under "BupPath", also when empty, in the file's
// memory (IniFile::save writes it). A stored value that still reads as this
// folder keeps its bytes, even if another program wrote it in another
// encoding.
void writeBackupFolder(IniFile& ini, const QString& folder);

}  // namespace tamboro
