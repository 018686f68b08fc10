#include "data/packet_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <random>

#include "data/error.h"
#include "data/packet_reader.h"
#include "data/packet_writer.h"

namespace tamboro {

namespace {

namespace fs = std::filesystem;

std::string displayName(const fs::path& file) { return file.string(); }

[[noreturn]] void failIo(std::string_view action, const fs::path& file, int err) {
    throw DataError(formatMessage("ファイル '%s' を%sできません: %s",
                                  {displayName(file), action, std::strerror(err)}));
}

// What a data file must not be: reading a FIFO or a device could block or
// never end, and saving over one would replace it.
const char* specialKind(mode_t mode) {
    if (S_ISREG(mode)) return nullptr;
    if (S_ISDIR(mode)) return "フォルダ";
    if (S_ISFIFO(mode)) return "名前付きパイプ";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "デバイス";
    if (S_ISSOCK(mode)) return "ソケット";
    return "特殊なファイル";
}

[[noreturn]] void failNotRegular(const fs::path& file, const char* kind) {
    throw DataError(formatMessage("ファイル '%s' は通常のファイルではないため使えません (%s)", {displayName(file), kind}));
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now, reporting the error a delayed write may surface here.
    int close() {
        int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

private:
    int fd_;
};

bool writeAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

// The file a save must replace: a symbolic link is followed to its final
// target, so that the link stays a link and its target gets the new data.
fs::path saveTarget(const fs::path& file) {
    fs::path p = file;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::error_code ec;
        fs::path to = fs::read_symlink(p, ec);
        if (ec) failIo("書き込み", file, ec.value());
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    failIo("書き込み", file, ELOOP);
}

// Temporary files are named "<name>.<8 letters or digits>.tmp".
constexpr size_t kTempTagLength = 8;
constexpr std::string_view kTempSuffix = ".tmp";

bool isTempNameOf(std::string_view entry, std::string_view name) {
    if (entry.size() != name.size() + 1 + kTempTagLength + kTempSuffix.size()) return false;
    if (entry.substr(0, name.size()) != name || entry[name.size()] != '.' ||
        entry.substr(entry.size() - kTempSuffix.size()) != kTempSuffix)
        return false;
    for (char c : entry.substr(name.size() + 1, kTempTagLength))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

// Removes what a save that was killed before its rename left beside target.
void removeLeftovers(const fs::path& folder, const std::string& name) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return;
    while (dirent* e = ::readdir(dir.get())) {
        if (!isTempNameOf(e->d_name, name)) continue;
        const fs::path leftover = folder / e->d_name;
        struct stat st {};
        // Never a folder; a link is removed as the link, not what it names.
        if (::lstat(leftover.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) ::unlink(leftover.c_str());
    }
}

std::string tempTag() {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 rng(std::random_device{}() ^ (static_cast<uint64_t>(::getpid()) << 32));
    std::string tag(kTempTagLength, ' ');
    for (char& c : tag) c = kChars[rng() % (sizeof kChars - 1)];
    return tag;
}

// Creates a temporary file under a name no one else uses, never through a
// link or over an existing entry; fills temp with its path.
int createTemp(const fs::path& folder, const std::string& name, fs::path& temp) {
    for (int attempt = 0;; ++attempt) {
        temp = folder / (name + "." + tempTag() + std::string(kTempSuffix));
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno == EEXIST && attempt < 100) continue;
        // The data file itself may well be writable: say what failed.
        throw DataError(formatMessage("フォルダ '%s' に一時ファイル '%s' を作成できません: %s",
                                      {displayName(folder), temp.filename().string(), std::strerror(errno)}));
    }
}

}  // namespace

std::optional<Packet> readPacketFile(const std::filesystem::path& file) {
    // Non-blocking, so that a FIFO in the file's place is told at once
    // instead of waiting for a writer.
    Fd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        failIo("読み込み", file, errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) failIo("読み込み", file, errno);
    if (const char* kind = specialKind(st.st_mode)) failNotRegular(file, kind);
    size_t size = static_cast<size_t>(st.st_size);
    if (size == 0) return std::nullopt;  // an empty file counts as absent
    // Uninitialised on purpose: the buffer is overwritten at once and is as
    // large as the file.
    auto buf = std::make_unique_for_overwrite<char[]>(size);
    size_t got = 0;
    while (got < size) {
        ssize_t r = ::read(fd.get(), buf.get() + got, size - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            failIo("読み込み", file, errno);
        }
        if (r == 0) break;  // shrank meanwhile: parse what is there
        got += static_cast<size_t>(r);
    }
    if (got == 0) return std::nullopt;
    return readPacket(std::string_view(buf.get(), got), file.filename().string());
}

void replaceFileContent(const std::filesystem::path& file, std::string_view bytes) {
    const fs::path target = saveTarget(file);
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed) {
        if (const char* kind = specialKind(old.st_mode)) failNotRegular(target, kind);
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    const std::string name = target.filename().string();
    removeLeftovers(folder, name);
    fs::path temp;
    Fd fd(createTemp(folder, name, temp));
    auto abandon = [&](int err) {
        if (fd.get() >= 0) fd.close();
        ::unlink(temp.c_str());
        failIo("書き込み", file, err);
    };
    // Keep the old file's owner where we may (only root may give a file
    // away, so a failure is no error), and its permissions.
    if (existed) {
        [[maybe_unused]] int owned = ::fchown(fd.get(), old.st_uid, old.st_gid);
        ::fchmod(fd.get(), old.st_mode & 07777);
    }
    if (!writeAll(fd.get(), bytes.data(), bytes.size())) abandon(errno);
    if (::fsync(fd.get()) != 0) abandon(errno);
    if (fd.close() != 0) abandon(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) abandon(errno);
    // Make the rename itself durable; the new file is in place either way,
    // so a folder that cannot be synced is not an error.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

void writePacketFile(const std::filesystem::path& file, const Table& table) {
    replaceFileContent(file, writePacket(table));
}

}  // namespace tamboro
