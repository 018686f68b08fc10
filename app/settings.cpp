#include "app/settings.h"

#include "app/ini_file.h"
#include "data/sjis.h"

namespace tamboro {

QString readBackupFolder(const std::filesystem::path& iniFile) {
    const std::string sjis = IniFile(iniFile).readString(kMainSection, "BUpPath", "");
    return QString::fromStdString(toUtf8(sjis));
}

void writeBackupFolder(const std::filesystem::path& iniFile, const QString& folder) {
    IniFile(iniFile).writeString(kMainSection, "BupPath", toSjis(folder.toStdString()));
}

}  // namespace tamboro
