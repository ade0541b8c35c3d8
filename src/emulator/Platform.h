#pragma once
// The few things that differ between Windows and the rest. One implementation per platform
// (PlatformWin32.cpp, PlatformPosix.cpp), chosen by CMake.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The full path of the running program, by its own bytes; empty when it cannot be had.
std::string ExecutablePath();

// Makes `dir` the process's current directory; false when it cannot.
bool ChangeDirectory(const std::string& dir);

// The per-user folder for Velmora's own data (the registry stand-in lives there).
std::string UserConfigDirectory();

// A folder's entries by their names' own bytes, whatever encoding they may be in. On Windows
// in the order the listing yields them; elsewhere, where that order is arbitrary, sorted by
// name with letters compared without regard to case. "." and ".." are left out; nothing when
// the folder cannot be read (or does not exist).
struct DirectoryEntry {
    std::string name;
    bool regularFile = false;  // after following a symbolic link
};
std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::string& dir);

// Loads the library file at exactly `path`: no name is added or tried, and a file that is no
// library, or is cut short, simply does not load (nullptr).
void* LoadLibraryFile(const std::string& path);
void* LibraryEntry(void* library, const char* name);
void FreeLibraryFile(void* library);

}  // namespace velmora::platform
