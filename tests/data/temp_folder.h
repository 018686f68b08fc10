#pragma once
// A fresh folder per test, and whole-file reads and writes in it.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace tamboro::test {

class TempFolder {
public:
    TempFolder() : path_(std::filesystem::temp_directory_path() /
                         ("tamboro-test-" + std::to_string(std::random_device()()) + "-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;  // a test may have left the folder read-only
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const char* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void spit(const std::filesystem::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

}  // namespace tamboro::test
