#include "data/packet_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "data/error.h"
#include "data/packet_reader.h"
#include "data/packet_writer.h"

namespace tamboro {

namespace {

std::string displayName(const std::filesystem::path& file) { return file.string(); }

[[noreturn]] void failIo(std::string_view action, const std::filesystem::path& file, int err) {
    throw DataError(formatMessage("ファイル '%s' を%sできません: %s",
                                  {displayName(file), action, std::strerror(err)}));
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

}  // namespace

std::optional<Packet> readPacketFile(const std::filesystem::path& file) {
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        failIo("読み込み", file, errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) failIo("読み込み", file, errno);
    if (S_ISDIR(st.st_mode)) failIo("読み込み", file, EISDIR);
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
    std::filesystem::path temp = file;
    temp += ".tmp";
    Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.get() < 0) failIo("書き込み", file, errno);
    auto abandon = [&](int err) {
        if (fd.get() >= 0) fd.close();
        ::unlink(temp.c_str());
        failIo("書き込み", file, err);
    };
    // Keep the old file's permissions.
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) ::fchmod(fd.get(), st.st_mode & 07777);
    if (!writeAll(fd.get(), bytes.data(), bytes.size())) abandon(errno);
    if (::fsync(fd.get()) != 0) abandon(errno);
    if (fd.close() != 0) abandon(errno);
    if (::rename(temp.c_str(), file.c_str()) != 0) abandon(errno);
    // Make the rename itself durable; the new file is in place either way,
    // so a folder that cannot be synced is not an error.
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

void writePacketFile(const std::filesystem::path& file, const Table& table) {
    replaceFileContent(file, writePacket(table));
}

}  // namespace tamboro
