#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "FileIo.h"
#include "FileSizeLimit.h"
#include "FileSystem.h"
#include "TempDir.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmora::files {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

size_t FilesIn(const TempDir& dir) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()),
                                             std::filesystem::directory_iterator()));
}

TEST(ReadPrefix, StopsAtLimitAndFirstNul) {
    TempDir dir;
    const std::string path = dir.File("f.cfg");
    EXPECT_FALSE(ReadPrefix(path).has_value());

    WriteBytes(path, std::string(40000, 'a'));
    EXPECT_EQ(ReadPrefix(path)->size(), 32767u) << "the emulator reads no more of a file";

    WriteBytes(path, std::string("0123456789") + '\0' + "tail");
    EXPECT_EQ(*ReadPrefix(path), "0123456789");
}

TEST(ReadAllOfRegularFile, ReadsWholeFilesButOnlyTheLimitOfOthers) {
    TempDir dir;
    const std::string path = dir.File("f.cfg");
    EXPECT_FALSE(ReadAllOfRegularFile(path, 10).has_value());

    const std::string withNul = std::string("01234") + '\0' + "6789";
    for (const std::string& bytes :
         {std::string(), std::string("0123456789"), std::string("0123456789a"), withNul + withNul,
          std::string(100000, 'x')}) {
        WriteBytes(path, bytes);
        EXPECT_EQ(ReadAllOfRegularFile(path, 10), bytes) << bytes.size() << " bytes";
    }
#ifndef _WIN32
    // A device that never ends gives the limit and no more.
    EXPECT_EQ(ReadAllOfRegularFile("/dev/zero", 10), std::string(10, '\0'));
#endif
}

TEST(WriteAtomically, ReplacesWholeOrNotAtAll) {
    TempDir dir;
    const std::string path = dir.File("f.cfg");
    WriteBytes(path, "old contents\r\n");

    ASSERT_TRUE(WriteAtomically(path, "new\r\n"));
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(FilesIn(dir), 1u) << "a temporary file was left behind";

    VELMORA_SKIP_WITHOUT_FILE_SIZE_LIMIT();
#ifndef _WIN32
    {
        const test::FileSizeLimit fullDisk(3);
        EXPECT_FALSE(WriteAtomically(path, "a longer text that fails half way"));
    }
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(FilesIn(dir), 1u) << "a failed write left its temporary file behind";
#endif
}

TEST(WriteAtomically, LeavesProtectedFilesAndMissingFoldersAlone) {
    TempDir dir;
    const std::string path = dir.File("f.cfg");
    WriteBytes(path, "keep");
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_FALSE(WriteAtomically(path, "changed"));
    EXPECT_EQ(ReadBytes(path), "keep");

    EXPECT_FALSE(WriteAtomically(dir.File("missing/f.cfg"), "x"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST(WriteAtomically, WritesThroughSymbolicLinks) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("real"));
    WriteBytes(dir.File("real/target.cfg"), "old");
    std::error_code ec;
    std::filesystem::create_symlink("real/target.cfg", dir.File("relative.cfg"), ec);
    if (ec) {
        GTEST_SKIP() << "this system makes no symbolic links: " << ec.message();
    }
    std::filesystem::create_symlink(dir.File("relative.cfg"), dir.File("chain.cfg"));
    for (const char* link : {"relative.cfg", "chain.cfg"}) {
        ASSERT_TRUE(WriteAtomically(dir.File(link), link));
        EXPECT_TRUE(std::filesystem::is_symlink(dir.File(link))) << link;
        EXPECT_EQ(ReadBytes(dir.File("real/target.cfg")), link);
    }
}

// A save that fails says why, in the system's own words; the old file keeps its bytes.
TEST(WriteAtomically, GivesTheSystemsReason) {
    TempDir dir;
    const std::string kept = dir.File("kept.cfg");
    WriteBytes(kept, "keep");
    std::filesystem::permissions(kept, std::filesystem::perms::owner_read);
    std::filesystem::create_directories(dir.File("folder.cfg"));
    const struct {
        const char* name;
        std::string path;
        int error;  // errno's value for it on POSIX
        bool fullDisk = false;
    } cases[] = {
        {"write-protected", kept, EACCES},
        {"missing folder", dir.File("missing/f.cfg"), ENOENT},
        {"a folder in the way", dir.File("folder.cfg"), EISDIR},
        {"full disk", dir.File("big.cfg"), EFBIG, true},
    };
    for (const auto& c : cases) {
        std::string reason;
        bool saved = true;
        if (c.fullDisk) {
#ifdef _WIN32
            continue;  // no file-size limit to be had
#else
            const test::FileSizeLimit fullDisk(3);
            saved = WriteAtomically(c.path, "more than three bytes", &reason);
#endif
        } else {
            saved = WriteAtomically(c.path, "changed", &reason);
        }
        EXPECT_FALSE(saved) << c.name;
#ifdef _WIN32
        EXPECT_FALSE(reason.empty()) << c.name;  // in the user's language
#else
        EXPECT_EQ(reason, std::strerror(c.error)) << c.name;
#endif
    }
    EXPECT_EQ(ReadBytes(kept), "keep");
    EXPECT_EQ(FilesIn(dir), 2u) << "a temporary file was left behind";
}

// Writing a file in place, as a save does where the folder takes no new file: the file ends
// where the new bytes do, and a file that is not there is not made.
TEST(OverwriteFile, LeavesExactlyTheNewBytes) {
    TempDir dir;
    const std::string path = dir.File("f.cfg");
    const struct {
        std::string old;
        std::string bytes;
    } cases[] = {
        {"a longer old text\r\n", "new\r\n"},
        {"old", "a much longer new text\r\n"},
        {"old", ""},
        {"", std::string(100000, 'x')},
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.old);
        EXPECT_FALSE(platform::OverwriteFile(path, c.bytes).has_value()) << c.bytes.size();
        EXPECT_EQ(ReadBytes(path), c.bytes);
    }
    EXPECT_TRUE(platform::OverwriteFile(dir.File("missing.cfg"), "x").has_value());
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.cfg")));
}

// A cfg folder the user may read but not write to, whose files the user may write (folder
// 0555, files 0644): a save writes the file in place instead of beside it, and puts the old
// bytes back when that fails half way. A file that is not there, or is write-protected, is
// not saved, for the system's reason.
TEST(WriteAtomically, WritesInPlaceWhereTheFolderTakesNoNewFile) {
#ifdef _WIN32
    GTEST_SKIP() << "a folder here has no permission that keeps new files out of it";
#else
    if (geteuid() == 0) {
        GTEST_SKIP() << "the superuser creates files in any folder; the test command runs this "
                        "as an ordinary user too (ctest -R unprivileged)";
    }
    const struct {
        const char* name;
        const char* old;  // nullptr: no file
        mode_t mode;
        std::string bytes;
        int error;     // 0 when it is saved
        size_t limit;  // a full disk at this size; 0 for none
    } cases[] = {
        {"shorter text", "a longer old text\r\n", 0644, "new\r\n", 0, 0},
        {"longer text", "old", 0644, "a much longer new text\r\n", 0, 0},
        {"no file yet", nullptr, 0644, "new\r\n", EACCES, 0},
        {"write-protected file", "old", 0444, "new\r\n", EACCES, 0},
        {"disk full half way", "old", 0644, std::string(40, 'n'), EFBIG, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.File("f.cfg");
        if (c.old != nullptr) {
            WriteBytes(path, c.old);
            ::chmod(path.c_str(), c.mode);
        }
        ::chmod(dir.Str().c_str(), 0555);
        std::string reason;
        bool saved = false;
        {
            std::optional<test::FileSizeLimit> fullDisk;
            if (c.limit != 0) {
                fullDisk.emplace(c.limit);
            }
            saved = WriteAtomically(path, c.bytes, &reason);
        }
        ::chmod(dir.Str().c_str(), 0755);
        EXPECT_EQ(saved, c.error == 0);
        EXPECT_EQ(reason, c.error == 0 ? "" : std::strerror(c.error));
        if (c.old == nullptr) {
            EXPECT_FALSE(std::filesystem::exists(path));
            continue;
        }
        EXPECT_EQ(ReadBytes(path), c.error == 0 ? c.bytes : c.old);
        struct stat status {};
        ::stat(path.c_str(), &status);
        EXPECT_EQ(status.st_mode & 07777, c.mode) << "the file keeps its permissions";
        EXPECT_EQ(FilesIn(dir), 1u);
    }
#endif
}

}  // namespace
}  // namespace velmora::files
