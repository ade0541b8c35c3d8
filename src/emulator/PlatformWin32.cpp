#include <windows.h>

#include <cstdlib>

#include "Platform.h"

namespace velmora::platform {

std::string EmulatorDirectoryFor(std::string_view executablePath) {
    std::string path(executablePath);
    if (!path.empty()) {
        CharUpperA(path.data());  // by the user's code page, drive and file name alike
    }
    const size_t backslash = path.rfind('\\');
    if (backslash == std::string::npos) {
        return {};
    }
    path.resize(backslash);
    return path;
}

std::string ExecutablePath() {
    // The emulator's own front ends have always taken at most 255 characters here.
    char path[256];
    const DWORD length = GetModuleFileNameA(nullptr, path, 255);
    return length == 0 || length >= 255 ? std::string() : std::string(path, length);
}

bool ChangeDirectory(const std::string& dir) {
    return SetCurrentDirectoryA(dir.c_str()) != 0;
}

std::string UserConfigDirectory() {
    const char* appData = std::getenv("APPDATA");
    return std::string(appData != nullptr ? appData : ".") + "\\Velmora";
}

std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::string& dir) {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // An empty folder still lists "." and ".."; only a folder that cannot be read ends here.
        return std::nullopt;
    }
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        constexpr DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
        entries.push_back({name, (found.dwFileAttributes & kNotAFile) == 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

void* LoadLibraryFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return nullptr;
    }
    // LoadLibrary appends ".dll" to a file name without a dot; a trailing dot stops that.
    std::string exact = path;
    const size_t name = exact.find_last_of("\\/");
    if (exact.find('.', name == std::string::npos ? 0 : name) == std::string::npos) {
        exact += '.';
    }
    // No "cannot load" box for a file that is no library: it is simply left out.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryA(exact.c_str());
    SetErrorMode(oldMode);
    return reinterpret_cast<void*>(library);
}

void* LibraryEntry(void* library, const char* name) {
    if (library == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void FreeLibraryFile(void* library) {
    if (library != nullptr) {
        FreeLibrary(static_cast<HMODULE>(library));
    }
}

}  // namespace velmora::platform
