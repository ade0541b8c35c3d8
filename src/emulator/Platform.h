#pragma once
// The few things that differ between Windows and the rest. One implementation per platform
// (PlatformWin32.cpp, PlatformPosix.cpp), chosen by CMake.

#include <string>
#include <string_view>

namespace velmora::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The emulator directory for an executable at `executablePath`: the text before the last
// separator. Windows upper-cases the whole path first, as its file system ignores case; a
// case-sensitive file system keeps the directory exactly as it is. Empty when there is no
// separator.
std::string EmulatorDirectoryFor(std::string_view executablePath);

// The per-user folder for Velmora's own data (the registry stand-in lives there).
std::string UserConfigDirectory();

// Flushes a written file's bytes to the disk before it replaces the old one.
bool SyncFile(const std::string& path);

}  // namespace velmora::platform
