#include "FileIo.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <random>
#include <utility>

#include "FileSystem.h"

namespace velmora::files {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Unique across processes too: two Velmora windows may save the same game at once.
std::string TemporaryBeside(const std::string& path) {
    static const unsigned long long processTag = [] {
        std::random_device random;
        return (static_cast<unsigned long long>(random()) << 32) ^ random();
    }();
    static std::atomic<unsigned> counter{0};
    return path + ".velmora-tmp-" + std::to_string(processTag) + "-" + std::to_string(counter++);
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
    if (bytes.size() > limit &&
        (!platform::IsRegularFile(file.get()) || !AppendRest(file.get(), bytes))) {
        bytes.resize(limit);
    }
    return bytes;
}

namespace {

// A folder that takes no new file (a cfg folder the user may not write to) may still hold a
// file the user may write: that file is written in place, as a plain program would. Should
// that fail too, its old bytes are put back. Where no such file is (or no regular one, whose
// old bytes could be read back), the reason the new one could not be made stands.
platform::Failure WriteInPlace(const std::string& target, const std::string& bytes,
                               std::string notCreated) {
    const std::optional<std::string> old =
        platform::IsRegularFile(target) ? ReadAll(target) : std::nullopt;
    if (!old) {
        return notCreated;
    }
    platform::Failure failure = platform::OverwriteFile(target, bytes);
    if (failure) {
        platform::OverwriteFile(target, *old);
    }
    return failure;
}

}  // namespace

bool WriteAtomically(const std::string& path, const std::string& bytes, std::string* reason) {
    // The path stays the program's own bytes from here to the system: on Windows, a trip
    // through std::filesystem would hand back another spelling of a folder such as
    // "Jeux vid\xE9o".
    const std::string target = platform::FinalTarget(path);
    platform::Failure failure = platform::RefuseReplacing(target);
    if (!failure) {
        const std::string temp = TemporaryBeside(target);
        bool created = false;
        failure = platform::WriteNewFile(temp, bytes, target, created);
        if (!failure) {
            failure = platform::MoveOver(temp, target);
            if (failure) {
                platform::RemoveFile(temp);
            }
        } else if (!created) {
            failure = WriteInPlace(target, bytes, std::move(*failure));
        }
    }
    if (failure && reason != nullptr) {
        *reason = std::move(*failure);
    }
    return !failure;
}

}  // namespace velmora::files
