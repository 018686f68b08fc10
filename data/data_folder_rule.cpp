#include "data/data_folder_rule.h"

#include <cstdlib>
#include <system_error>

namespace tamboro {
namespace fs = std::filesystem;

namespace {

// Compared after resolving links: on a merged-/usr system /bin/tamboro and
// /usr/bin/tamboro are the same program.
fs::path resolved(const fs::path& p) {
    std::error_code ec;
    fs::path r = fs::weakly_canonical(p, ec);
    return ec ? p.lexically_normal() : r;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

fs::path installedBinFolder() {
#ifdef TAMBORO_INSTALL_BINDIR
    return fs::path(TAMBORO_INSTALL_BINDIR);
#else
    return {};
#endif
}

bool runsFromInstalledBin(const fs::path& executableFolder, const fs::path& installedBin) {
    if (executableFolder.empty() || installedBin.empty()) return false;
    // A trailing separator must not make the same folder look different.
    auto trimmed = [](const fs::path& p) {
        fs::path r = resolved(p);
        return r.has_filename() ? r : r.parent_path();
    };
    return trimmed(executableFolder) == trimmed(installedBin);
}

fs::path userDataFolder(std::string_view applicationName) {
    // As Qt does: a set XDG_DATA_HOME is taken as it is, and without HOME
    // the home folder is the root.
    fs::path base = environment("XDG_DATA_HOME");
    if (base.empty()) {
        const std::string home = environment("HOME");
        base = fs::path(home.empty() ? "/" : home) / ".local" / "share";
    }
    return (base / applicationName).lexically_normal();
}

fs::path runningExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

}  // namespace tamboro
