#pragma once
// A scratch emulator directory for the fuzzers that go through real files: in memory
// (/dev/shm) where there is one, so that the flush before each rename costs nothing.

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace velmora::fuzz {

class FuzzDir {
public:
    FuzzDir() {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec)) {
            base = std::filesystem::temp_directory_path(ec);
        }
        m_path = base / ("velmora-fuzz-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_path, ec);
        std::filesystem::create_directories(m_path / "cfg", ec);
    }
    ~FuzzDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    FuzzDir(const FuzzDir&) = delete;
    FuzzDir& operator=(const FuzzDir&) = delete;

    std::string Str() const { return m_path.string(); }
    std::filesystem::path Cfg() const { return m_path / "cfg"; }

    // Empties the cfg folder for the next input.
    void Clear() const {
        std::error_code ec;
        std::filesystem::remove_all(Cfg(), ec);
        std::filesystem::create_directories(Cfg(), ec);
    }

private:
    std::filesystem::path m_path;
};

}  // namespace velmora::fuzz
