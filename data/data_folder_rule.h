#pragma once
#include <filesystem>
#include <string_view>

namespace tamboro {

// Where the catalogue lives, decided without Qt so that tamboro-cli follows
// the same rule as the program. A copy of the program anywhere else keeps
// its files beside itself (a portable folder); the installed one cannot, as
// its bin folder is shared and not the user's.

// The bin folder of the installation this build was configured for
// ("/usr/bin" for the Debian package); empty when the build names none.
std::filesystem::path installedBinFolder();

// True when `executableFolder` is `installedBin`, links resolved. Asking
// whether the folder is writable could not tell them apart: root can write
// to /usr/bin.
bool runsFromInstalledBin(const std::filesystem::path& executableFolder, const std::filesystem::path& installedBin);

// The user's data folder for the program, as Qt's AppDataLocation finds it
// on Linux: $XDG_DATA_HOME, or ~/.local/share when that is unset, then the
// application name.
std::filesystem::path userDataFolder(std::string_view applicationName = "Tamboro");

// The running executable's own folder (from /proc/self/exe); empty when the
// system does not tell.
std::filesystem::path runningExecutableFolder();

}  // namespace tamboro
