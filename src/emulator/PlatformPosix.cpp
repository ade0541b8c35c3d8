#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "Platform.h"
#include "TextRules.h"

namespace velmora::platform {

std::string EmulatorDirectoryFor(std::string_view executablePath) {
    const size_t slash = executablePath.rfind('/');
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::string(executablePath.substr(0, slash));
}

std::string ExecutablePath() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<size_t>(length) >= path.size()) {
        return {};
    }
    path.resize(static_cast<size_t>(length));
    return path;
}

bool ChangeDirectory(const std::string& dir) {
    return ::chdir(dir.c_str()) == 0;
}

std::string UserConfigDirectory() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        return std::string(xdg) + "/Velmora";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/Velmora";
}

std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::string& dir) {
    std::vector<DirectoryEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(dir.c_str()), &::closedir);
    if (!folder) {
        return std::nullopt;
    }
    while (const dirent* entry = ::readdir(folder.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        // The entry's own type spares a look at every file; links and file systems that do
        // not tell are looked at.
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat status {};
            regular = ::stat((dir + '/' + name).c_str(), &status) == 0 && S_ISREG(status.st_mode);
        }
        entries.push_back({name, regular});
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return text::LessIgnoringCase(a.name, b.name); });
    return entries;
}

void* LoadLibraryFile(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return nullptr;
    }
    // With a slash in it, dlopen takes the name as a path and searches nowhere else.
    const std::string exact = path.find('/') == std::string::npos ? "./" + path : path;
    return ::dlopen(exact.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* LibraryEntry(void* library, const char* name) {
    return library != nullptr ? ::dlsym(library, name) : nullptr;
}

void FreeLibraryFile(void* library) {
    if (library != nullptr) {
        ::dlclose(library);
    }
}

}  // namespace velmora::platform
