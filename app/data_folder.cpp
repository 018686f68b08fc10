#include "app/data_folder.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QString>
#include <system_error>

#include "app/ini_file.h"
#include "data/data_folder_rule.h"
#include "data/error.h"

namespace tamboro {
namespace fs = std::filesystem;

namespace {

fs::path standardFolder(QStandardPaths::StandardLocation which) {
    return fs::path(QStandardPaths::writableLocation(which).toStdU16String());
}

void createFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    // create_directories reports no error for an existing file of that name.
    if (ec || !fs::is_directory(folder))
        throw DataError(formatMessage("フォルダ '%s' を作成できません%s",
                                      {folder.string(), ec ? ": " + ec.message() : std::string()}));
}

}  // namespace

StartupPaths startupPathsFor(const fs::path& executable, const fs::path& installedBin) {
    const fs::path settingsBeside = settingsFileFor(executable);
    if (!runsFromInstalledBin(executable.parent_path(), installedBin))
        return {executable.parent_path(), settingsBeside};
    return {standardFolder(QStandardPaths::AppDataLocation),
            standardFolder(QStandardPaths::AppConfigLocation) / settingsBeside.filename()};
}

StartupPaths startupPaths() {
    return startupPathsFor(fs::path(QCoreApplication::applicationFilePath().toStdU16String()), installedBinFolder());
}

void createStartupFolders(const StartupPaths& paths) {
    createFolder(paths.dataFolder);
    createFolder(paths.iniFile.parent_path());
}

}  // namespace tamboro
