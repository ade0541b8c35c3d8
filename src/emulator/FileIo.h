#pragma once
// Whole-file reads and writes for the per-game files. Every write replaces the file in one
// step (a temporary file beside it, flushed, then renamed over it), so a crash, a full disk or
// a failing write leaves the previous file whole. Only where the folder takes no new file is
// an existing file written in place instead, its old bytes put back should that fail.

#include <cstddef>
#include <optional>
#include <string>

namespace velmora::files {

// The per-game option files are read through a 32 KiB buffer: at most this many bytes count.
inline constexpr size_t kOptionFileLimit = 32767;

// The file's first `limit` bytes, cut at the first NUL; nothing when it does not open.
std::optional<std::string> ReadPrefix(const std::string& path, size_t limit = kOptionFileLimit);

// The whole file, byte for byte; nothing when it does not open or cannot be read whole.
std::optional<std::string> ReadAll(const std::string& path);

// The whole file, byte for byte, when it is a regular file or ends within `limit` bytes;
// otherwise (a device or a pipe may never end) its first `limit` bytes, as also when the rest
// cannot be read. Nothing when it does not open. A file within the limit costs one open and
// no more, as it does with ReadPrefix.
std::optional<std::string> ReadAllOfRegularFile(const std::string& path, size_t limit);

// Replaces (or creates) `path` with exactly `bytes`. When the folder takes no new file, an
// existing `path` the user may write is written in place. Returns false, leaving any old file
// as it was and no temporary file behind, when the folder is missing, the file is
// write-protected (no write permission bit at all, which even the superuser respects here, as
// Windows does for read-only files) or the write fails; `reason` then receives the system's
// words for why ("Permission denied", "Access is denied.", "No space left on device").
bool WriteAtomically(const std::string& path, const std::string& bytes,
                     std::string* reason = nullptr);

// A file that was not saved, and why, as the system put it.
struct SaveFailure {
    std::string path;
    std::string reason;
};

}  // namespace velmora::files
