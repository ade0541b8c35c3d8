#pragma once
// The few file operations a whole-file save needs, in the system's own terms. One
// implementation per platform (FileSystemWin32.cpp, FileSystemPosix.cpp), chosen by CMake.
//
// Paths are the program's 8-bit paths, by their own bytes. On Windows these are in the ANSI
// code page and go to the system's ...A functions as they are: a folder named in that code
// page ("Jeux vid\xE9o", a user called Jos\xE9) is found exactly as the emulator's command line
// names it. (std::filesystem gives such a path back as UTF-8 there, which names no file.)
//
// Each operation that can fail returns nothing when it worked, and otherwise the system's own
// words for why not, as the platform says them: "Permission denied", "Access is denied.".

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::platform {

using Failure = std::optional<std::string>;

// The file a save through `path` replaces: where a symbolic link leads, followed to its end,
// so that the link stays a link. `path` itself when it is no link.
std::string FinalTarget(const std::string& path);

// Why an existing `path` must not be replaced: it is a folder, or it is write-protected (no
// write permission bit at all on POSIX, which even the superuser respects here; the read-only
// attribute on Windows). Nothing when it may be, also when it does not exist.
Failure RefuseReplacing(const std::string& path);

// Creates `path`, which must not exist yet, holding exactly `bytes`, flushed to the disk, with
// the permissions of the file `like` where there is one. No file is left when it fails;
// `created` tells whether it could be created at all, before its bytes failed.
Failure WriteNewFile(const std::string& path, std::string_view bytes, const std::string& like,
                     bool& created);

// Writes `bytes` into the existing file `path` in place, from its start, then cuts it to their
// length and flushes it to the disk. A file that is not there is not created. Should the
// write fail, as much of the file as was there before is still there: a write of the old bytes
// needs no room that the file does not have.
Failure OverwriteFile(const std::string& path, std::string_view bytes);

// Puts `from` in the place of `to` in one step, replacing any file there.
Failure MoveOver(const std::string& from, const std::string& to);

void RemoveFile(const std::string& path);

// Puts `from` at `to`, which must not exist yet: when a file is there already, both stay as
// they were and it fails. Two processes that pick the same new name thus never overwrite one
// another.
Failure MoveToNewName(const std::string& from, const std::string& to);

// Removes the file `path`. Nothing when it is gone afterwards, also when it was never there;
// a folder or a write-protected file (as RefuseReplacing) is a failure and stays.
Failure RemoveIfThere(const std::string& path);

// Whether the system says that nothing is at `path`: neither it nor a folder on its way there.
bool IsMissing(const std::string& path);

// Whether the open `file`, or what is at `path` (after following a symbolic link), is a regular
// file, which ends: a device or a pipe may never end.
bool IsRegularFile(std::FILE* file);
bool IsRegularFile(const std::string& path);

// Creates the folder `path`, but none of its parents. Nothing when it exists afterwards, also
// when it was there already; a file of that name is a failure.
Failure MakeFolder(const std::string& path);

}  // namespace velmora::platform
