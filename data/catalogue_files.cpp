#include "data/catalogue_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "data/data_module.h"
#include "data/error.h"
#include "data/packet_file.h"
#include "data/sjis.h"

namespace tamboro {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void failRead(const fs::path& file, std::string_view why) {
    throw DataError(formatMessage("ファイル '%s' を読み込みできません: %s", {file.string(), why}));
}

// The source's bytes; nullopt when it does not exist. Opened without
// blocking so that a FIFO in its place is refused instead of waited on.
std::optional<std::string> readWhole(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        failRead(file, std::strerror(errno));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) failRead(file, std::strerror(errno));
    if (!S_ISREG(st.st_mode)) failRead(file, S_ISDIR(st.st_mode) ? "フォルダです" : "通常のファイルではありません");
    std::string bytes;
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t r = ::read(fd, buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            failRead(file, std::strerror(errno));
        }
        if (r == 0) break;
        bytes.append(buf, static_cast<size_t>(r));
    }
    return bytes;
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

}  // namespace

bool copyFileSafely(const fs::path& from, const fs::path& to) {
    if (sameFile(from, to)) return true;  // copying would truncate the one file
    std::optional<std::string> bytes = readWhole(from);
    if (!bytes) return false;
    replaceFileContent(to, *bytes);
    return true;
}

bool checkTableFile(const fs::path& file, CatalogueTable t) {
    // Missing as the copy would find it missing: a dangling link included.
    std::error_code ec;
    if (!fs::exists(file, ec)) return false;
    std::optional<Packet> packet;
    try {
        packet = readPacketFile(file);
    } catch (const DataError& e) {
        // The reader's own file errors name the file already.
        if (std::string_view(e.what()).find(file.string()) != std::string_view::npos) throw;
        failRead(file, e.what());
    }
    if (!packet) failRead(file, "空のファイルです");
    const TableDefinition& def = definitionOf(t);
    std::vector<std::string> needed = splitFieldList(sj(def.indexFields));
    if (!def.masterLink.empty()) needed.push_back(sj(def.masterLink));
    for (const std::string& name : needed)
        if (packet->schema.indexOf(name) < 0)
            failRead(file, formatMessage("項目 '%s' が見つかりません", {toUtf8(name)}));
    return true;
}

void saveCatalogueCopy(TDM1& dm, const fs::path& folder) {
    std::string errors;
    for (CatalogueTable t : kCopyOrder) {
        Table& table = dm.table(t);
        const fs::path target = folder / std::string(definitionOf(t).fileName);
        try {
            if (table.active()) writePacketFile(target, table);
            else copyFileSafely(table.file(), target);
        } catch (const std::exception& e) {
            if (!errors.empty()) errors += "\n";
            errors += e.what();
        }
    }
    if (!errors.empty()) throw DataError(errors);
}

}  // namespace tamboro
