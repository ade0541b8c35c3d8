#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "FileIo.h"
#include "FileSizeLimit.h"
#include "TempDir.h"

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

}  // namespace
}  // namespace velmora::files
