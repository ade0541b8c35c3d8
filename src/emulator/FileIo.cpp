#include "FileIo.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#include "Platform.h"

namespace velmora::files {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool IsWriteProtected(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        return false;
    }
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & kAnyWrite) == fs::perms::none;
}

// Unique across processes too: two Velmora windows may save the same game at once.
fs::path TemporaryBeside(const fs::path& path) {
    static const unsigned long long processTag = [] {
        std::random_device random;
        return (static_cast<unsigned long long>(random()) << 32) ^ random();
    }();
    static std::atomic<unsigned> counter{0};
    fs::path temp = path;
    temp += ".velmora-tmp-" + std::to_string(processTag) + "-" + std::to_string(counter++);
    return temp;
}

// Saving through a symbolic link replaces the file it points to and leaves the link a link.
fs::path FollowLinks(fs::path path) {
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, ec)); ++hops) {
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

bool WriteAllBytes(std::FILE* file, const std::string& bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        return false;
    }
    return std::fflush(file) == 0;
}

// Appends what is left of `file`; false when a read fails.
bool AppendRest(std::FILE* file, std::string& bytes) {
    char buffer[65536];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, read);
    }
    return std::ferror(file) == 0;
}

}  // namespace

std::optional<std::string> ReadPrefix(const std::string& path, size_t limit) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    std::string text(limit, '\0');
    const size_t read = std::fread(text.data(), 1, limit, file.get());
    text.resize(read);
    if (const size_t nul = text.find('\0'); nul != std::string::npos) {
        text.resize(nul);
    }
    return text;
}

std::optional<std::string> ReadAll(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    if (!AppendRest(file.get(), bytes)) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> ReadAllOfRegularFile(const std::string& path, size_t limit) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    // One byte past the limit tells whether there is more.
    std::string bytes(limit + 1, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    if (bytes.size() > limit) {
        std::error_code ec;
        if (!fs::is_regular_file(fs::path(path), ec) || !AppendRest(file.get(), bytes)) {
            bytes.resize(limit);
        }
    }
    return bytes;
}

bool WriteAtomically(const std::string& path, const std::string& bytes) {
    const fs::path target = FollowLinks(fs::path(path));
    std::error_code ec;
    if (IsWriteProtected(target) || fs::is_directory(target, ec)) {
        return false;
    }
    const fs::path temp = TemporaryBeside(target);
    bool written = false;
    {
        FilePtr file(std::fopen(temp.string().c_str(), "wb"));
        if (!file) {
            return false;  // no folder, or no right to create files in it
        }
        written = WriteAllBytes(file.get(), bytes);
        written = (std::fclose(file.release()) == 0) && written;
    }
    if (written && fs::exists(target, ec)) {
        // Keep the permissions the user gave the old file.
        fs::permissions(temp, fs::status(target, ec).permissions(), ec);
    }
    written = written && platform::SyncFile(temp.string());
    if (written) {
        fs::rename(temp, target, ec);
        written = !ec;
    }
    if (!written) {
        fs::remove(temp, ec);
    }
    return written;
}

}  // namespace velmora::files
