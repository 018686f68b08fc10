#include "data/recovery.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "data/catalogue_files.h"
#include "data/data_module.h"
#include "data/error.h"
#include "data/packet_file.h"

namespace tamboro {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMarkerHeader = "Tamboro recovery copy";
// Far beyond any marker this program writes; a bigger file is not one.
constexpr uintmax_t kMarkerLimit = 64 * 1024;

std::string fileNameOf(CatalogueTable t) { return std::string(definitionOf(t).fileName); }

[[noreturn]] void fail(std::string_view tmpl, std::initializer_list<std::string_view> args = {}) {
    throw DataError(formatMessage(tmpl, args));
}

[[noreturn]] void failPath(std::string_view action, const fs::path& p, const std::error_code& ec) {
    fail("%s '%s' を%sできません: %s", {"フォルダ", p.string(), action, ec.message()});
}

std::string formatTime(std::chrono::system_clock::time_point at, const char* format) {
    const std::time_t t = std::chrono::system_clock::to_time_t(at);
    std::tm local{};
    ::localtime_r(&t, &local);
    char buf[64];
    const size_t n = std::strftime(buf, sizeof buf, format, &local);
    return std::string(buf, n);
}

// A stamp goes into a folder name: digits and hyphens only.
bool validStamp(std::string_view s) {
    return !s.empty() && s.size() <= 32 &&
           std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

std::optional<CatalogueTable> tableOfFile(std::string_view name) {
    for (CatalogueTable t : kCopyOrder)
        if (definitionOf(t).fileName == name) return t;
    return std::nullopt;
}

bool present(const fs::path& p) {
    std::error_code ec;
    return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
}

void removeFile(const fs::path& p) {
    std::error_code ec;
    fs::remove(p, ec);
    if (ec) fail("ファイル '%s' を削除できません: %s", {p.string(), ec.message()});
}

// The copy without its marker first, so that a kill halfway leaves nothing
// that would be offered; an earlier recovery's replaced files stay.
void discardCopy(const fs::path& folder) {
    if (!present(folder)) return;
    removeFile(folder / kRecoveryMarkerName);
    for (CatalogueTable t : kCopyOrder) removeFile(folder / fileNameOf(t));
    std::error_code ec;
    if (fs::is_empty(folder, ec) && !ec) fs::remove(folder, ec);
}

std::string readMarkerFile(const fs::path& file) {
    std::error_code ec;
    const fs::file_status st = fs::status(file, ec);
    if (ec || st.type() != fs::file_type::regular) fail("復元データの目印 '%s' は通常のファイルではありません", {file.string()});
    if (fs::file_size(file, ec) > kMarkerLimit || ec) fail("復元データの目印 '%s' が大きすぎます", {file.string()});
    std::ifstream in(file, std::ios::binary);
    if (!in) fail("ファイル '%s' を読み込みできません: %s", {file.string(), std::strerror(errno)});
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

fs::path recoveryFolderOf(const fs::path& dataFolder) { return dataFolder / kRecoveryFolderName; }

std::string formatRecoveryMarker(const RecoveryMarker& marker) {
    std::string out(kMarkerHeader);
    out += "\ntime=" + marker.time + "\nstamp=" + marker.stamp + "\n";
    for (CatalogueTable t : marker.tables) out += "file=" + fileNameOf(t) + "\n";
    return out;
}

RecoveryMarker parseRecoveryMarker(std::string_view text) {
    RecoveryMarker m;
    bool header = false;
    size_t lineNo = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++lineNo;
        if (lineNo == 1) {
            header = line == kMarkerHeader;
            if (!header) break;
            continue;
        }
        if (line.empty()) continue;
        const size_t eq = line.find('=');
        const std::string_view key = line.substr(0, eq);
        const std::string_view value = eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
        if (key == "time") {
            m.time = value;
        } else if (key == "stamp") {
            if (!validStamp(value)) fail("復元データの目印の時刻 '%s' が正しくありません", {value});
            m.stamp = value;
        } else if (key == "file") {
            // Only the seven data files: a name from the marker must never
            // lead a copy outside the two folders.
            const std::optional<CatalogueTable> t = tableOfFile(value);
            if (!t) fail("復元データの目印に知らないファイル '%s' があります", {value});
            if (std::find(m.tables.begin(), m.tables.end(), *t) != m.tables.end())
                fail("復元データの目印にファイル '%s' が二度あります", {value});
            m.tables.push_back(*t);
        }
        // Other keys are left for later versions.
    }
    if (!header) fail("復元データの目印ではありません");
    if (m.time.empty() || m.stamp.empty()) fail("復元データの目印に時刻がありません");
    if (m.tables.empty()) fail("復元データの目印にファイルがありません");
    return m;
}

int updateRecoveryCopy(TDM1& dm, std::chrono::system_clock::time_point now) {
    const fs::path folder = recoveryFolderOf(dm.folder());
    RecoveryMarker marker{formatTime(now, "%Y/%m/%d %H:%M:%S"), formatTime(now, "%Y%m%d-%H%M%S"), {}};
    for (CatalogueTable t : kCopyOrder) {
        const Table& table = dm.table(t);
        if (table.active() && table.changeCount() != 0) marker.tables.push_back(t);
    }
    if (marker.tables.empty()) {
        discardCopy(folder);
        return 0;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) failPath("作成", folder, ec);
    for (CatalogueTable t : marker.tables) writePacketFile(folder / fileNameOf(t), dm.table(t));
    // Last, so that every file the marker names is whole.
    replaceFileContent(folder / kRecoveryMarkerName, formatRecoveryMarker(marker));
    // A table written to its file since (a backup closes them all) must not
    // come back from an older copy.
    for (CatalogueTable t : kCopyOrder)
        if (std::find(marker.tables.begin(), marker.tables.end(), t) == marker.tables.end())
            removeFile(folder / fileNameOf(t));
    return static_cast<int>(marker.tables.size());
}

std::optional<RecoveryMarker> findRecoveryCopy(const fs::path& dataFolder) {
    const fs::path marker = recoveryFolderOf(dataFolder) / kRecoveryMarkerName;
    if (!present(marker)) return std::nullopt;
    const std::string text = readMarkerFile(marker);
    try {
        return parseRecoveryMarker(text);
    } catch (const DataError& e) {
        fail("%s: %s", {marker.string(), e.what()});
    }
}

void checkRecoveryCopy(const fs::path& dataFolder, const RecoveryMarker& marker) {
    const fs::path folder = recoveryFolderOf(dataFolder);
    for (CatalogueTable t : marker.tables) {
        const fs::path file = folder / fileNameOf(t);
        if (!checkTableFile(file, t)) fail("ファイル '%s' がありません", {file.string()});
    }
}

void applyRecoveryCopy(const fs::path& dataFolder, const RecoveryMarker& marker) {
    checkRecoveryCopy(dataFolder, marker);
    const fs::path folder = recoveryFolderOf(dataFolder);
    const fs::path replaced = folder / kReplacedFolderName;
    std::error_code ec;
    fs::create_directories(replaced, ec);
    if (ec) failPath("作成", replaced, ec);
    // Every data file is kept before any is replaced.
    for (CatalogueTable t : marker.tables) {
        const fs::path kept = replaced / fileNameOf(t);
        if (!copyFileSafely(dataFolder / fileNameOf(t), kept)) removeFile(kept);
    }
    std::vector<CatalogueTable> done;
    try {
        for (CatalogueTable t : marker.tables) {
            copyFileSafely(folder / fileNameOf(t), dataFolder / fileNameOf(t));
            done.push_back(t);
        }
    } catch (...) {
        // Tables from two different moments would not fit together: put
        // back what was replaced, as far as it goes, and keep the copy.
        // The first error is the one reported; the kept files stay in replaced.
        for (CatalogueTable t : done) {
            const fs::path kept = replaced / fileNameOf(t);
            try {
                if (present(kept)) copyFileSafely(kept, dataFolder / fileNameOf(t));
                else fs::remove(dataFolder / fileNameOf(t));
            } catch (const std::exception&) {
            }
        }
        throw;
    }
    removeFile(folder / kRecoveryMarkerName);
    for (CatalogueTable t : marker.tables) removeFile(folder / fileNameOf(t));
}

fs::path setRecoveryCopyAside(const fs::path& dataFolder, const std::string& stamp) {
    const fs::path folder = recoveryFolderOf(dataFolder);
    std::string base = std::string(kRecoveryFolderName) + "-";
    if (validStamp(stamp)) {
        base += stamp;
    } else {
        // No readable marker: the folder's own time stands in.
        struct stat st {};
        const auto when = ::stat(folder.c_str(), &st) == 0 ? std::chrono::system_clock::from_time_t(st.st_mtime)
                                                          : std::chrono::system_clock::now();
        base += formatTime(when, "%Y%m%d-%H%M%S");
    }
    for (int n = 1; n < 1000; ++n) {
        const fs::path target = dataFolder / (n == 1 ? base : base + "-" + std::to_string(n));
        if (present(target)) continue;
        std::error_code ec;
        fs::rename(folder, target, ec);
        if (ec) fail("フォルダ '%s' の名前を '%s' に変更できません: %s", {folder.string(), target.string(), ec.message()});
        return target;
    }
    fail("フォルダ '%s' の名前を変更できません: 同じ名前のフォルダが多すぎます", {folder.string()});
}

void removeRecoveryFolder(const fs::path& dataFolder) {
    const fs::path folder = recoveryFolderOf(dataFolder);
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (ec) failPath("削除", folder, ec);
}

}  // namespace tamboro
