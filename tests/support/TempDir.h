#pragma once
// A fresh folder per test, removed afterwards, so no test sees another's files.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace velmora::test {

// A folder name in Latin-1, as a French user's "Jeux vidéo" may be spelt: its 0xE9 is no UTF-8.
inline constexpr const char* kEightBitFolder = "Jeux vid\xE9o";

class TempDir {
public:
    explicit TempDir(const std::string& label = "velmora",
                     const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::random_device random;
        m_path = base / (label + "-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::all, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string Str() const { return m_path.string(); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// A folder in memory (/dev/shm) where the system has one, else the temporary folder.
inline std::filesystem::path MemoryFolder() {
    std::error_code ec;
    const std::filesystem::path shm = "/dev/shm";
    return std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace velmora::test
