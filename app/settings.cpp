#include "app/settings.h"

#include "app/ini_file.h"
#include "controls/sjis_qt.h"

namespace tamboro {
namespace {

constexpr const char* kReadKey = "BUpPath";
constexpr const char* kWriteKey = "BupPath";

}  // namespace

QString readBackupFolder(const IniFile& ini) {
    return fromSjis(ini.readString(kMainSection, kReadKey, ""));
}

QString readBackupFolder(const std::filesystem::path& iniFile) { return readBackupFolder(IniFile(iniFile)); }

void writeBackupFolder(IniFile& ini, const QString& folder) {
    if (ini.readString(kMainSection, kReadKey) && readBackupFolder(ini) == folder) return;
    ini.setString(kMainSection, kWriteKey, toSjisQ(folder));
}

}  // namespace tamboro
