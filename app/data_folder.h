#pragma once
#include <filesystem>

namespace tamboro {

// Where the program finds its files: the data files in dataFolder, the
// settings in iniFile.
struct StartupPaths {
    std::filesystem::path dataFolder;
    std::filesystem::path iniFile;
};

// The folders of a program at `executable`: beside it (a portable folder),
// unless it runs from `installedBin`, where the data files go to the user's
// data folder and the settings file to the user's configuration folder
// (Qt's AppDataLocation and AppConfigLocation).
StartupPaths startupPathsFor(const std::filesystem::path& executable, const std::filesystem::path& installedBin);

// The folders of this program, by the rule above and the installation's bin
// folder the build was configured for.
StartupPaths startupPaths();

// Creates the data folder and the settings file's folder when missing (the
// first start from the installation). Throws DataError naming a folder that
// cannot be created.
void createStartupFolders(const StartupPaths& paths);

}  // namespace tamboro
