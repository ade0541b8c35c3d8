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

std::string UserConfigDirectory() {
    const char* appData = std::getenv("APPDATA");
    return std::string(appData != nullptr ? appData : ".") + "\\Velmora";
}

bool SyncFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool synced = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return synced;
}

}  // namespace velmora::platform
