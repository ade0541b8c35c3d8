// The settings file keeps any bytes, and a cut, damaged or foreign file is refused before
// anything is written.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "History.h"
#include "SettingsFile.h"
#include "SettingsOperations.h"
#include "SettingsSupport.h"

namespace velmora::settings {
namespace {

using test::AwkwardBytes;

struct BytesCase {
    const char* name;
    GameSettings value;
};

std::vector<BytesCase> BytesCases(const std::string& dir) {
    const std::string lines = std::string(kFormatLine) + "\r\nPart: options, 3 bytes, CRC-32 " +
                              "00000000\r\nabc\r\n" + std::string(kEndLine) + "\r\n";
    return {
        {"awkward bytes in every file",
         {{AwkwardBytes('o'), AwkwardBytes('r'), AwkwardBytes('s')}}},
        {"the file's own lines inside the files", {{lines, lines + "\r", "\n" + lines}}},
        {"empty files", {{"", "", ""}}},
        {"only a snapshot", {{std::nullopt, std::nullopt, test::kSnapshotText}}},
        {"no renderer options", {{"--x=1\r\n", std::nullopt, std::string(1, '\0')}}},
        {"as OK writes them, naming the renderer options",
         test::SaveAsOk(dir, 7, "--x=1\r\n--caf\xE9=\xFF", "plain.so", "w=1\r\n\r\nh=2")},
        {"as OK writes them, for a renderer that configures itself",
         test::SaveAsOk(dir, 7, "", test::kSelfConfiguring, "")},
        {"as OK writes them, longer than the editors read",
         test::SaveAsOk(dir, 7, AwkwardBytes('x'), "plain.so", AwkwardBytes('y'))},
    };
}

TEST(SettingsFileTest, AnyBytesComeBackThroughExportAndImport) {
    const test::Folder folder;
    const std::string file = folder.File("game.velmora");
    const GameSettings other{{"--other\r\n", std::nullopt, std::nullopt}};
    for (const BytesCase& c : BytesCases(folder.Str())) {
        SCOPED_TRACE(c.name);
        std::string reason;
        const auto read =
            ReadSettingsFile(WriteSettingsFile(c.value, 7, "Name", "2025-01-02 03:04:05"), &reason);
        ASSERT_TRUE(read) << reason;
        EXPECT_EQ(read->settings, c.value);
        EXPECT_EQ(read->game, 7);
        EXPECT_EQ(read->saved, "2025-01-02 03:04:05");

        test::Put(folder.Str(), 7, c.value);
        const OperationResult exported = ExportSettings(folder.Str(), 7, "Name", file);
        ASSERT_TRUE(exported.done) << exported.error;
        test::Put(folder.Str(), 7, other);
        const OperationResult imported = ImportSettings(folder.Str(), 7, file, test::TestProbe);
        ASSERT_TRUE(imported.done) << imported.error;
        EXPECT_EQ(test::Files(folder.Str(), 7), c.value);
        const std::vector<StoredVersion> versions = History(folder.Str()).Versions(7);
        ASSERT_FALSE(versions.empty());
        EXPECT_EQ(versions.front().settings, other);
    }
}

TEST(SettingsFileTest, ACutDamagedOrForeignFileIsRefusedAndChangesNothing) {
    const GameSettings value{{"--x=1\r\n--renderer=plain.so\r\n", "w=1\r\n", test::kSnapshotText}};
    const std::string whole = WriteSettingsFile(value, 7, "Name", "2025-01-02 03:04:05");
    std::string reason;
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        ASSERT_FALSE(ReadSettingsFile(whole.substr(0, cut), &reason)) << "cut at " << cut;
    }
    const auto changed = [&](std::string_view from, std::string_view to) {
        std::string bytes = whole;
        const size_t at = bytes.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return bytes.replace(at, from.size(), to);
    };
    std::string lf = whole;
    for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) {
        lf.erase(at, 1);
    }
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"cut in the options", whole.substr(0, whole.find("--renderer")),
         "It has been cut short: the options should be"},
        {"cut before the end line", whole.substr(0, whole.find(kEndLine)),
         "It has been cut short: its end line is missing."},
        {"a byte of the options changed", changed("--x=1", "--x=2"),
         "It is damaged: the options do not match their checksum."},
        {"a byte of the plugin settings changed", changed("00000280", "00000281"),
         "It is damaged: the plugin settings do not match their checksum."},
        {"a length changed", changed("5 bytes", "6 bytes"), "It is damaged: the renderer options"},
        {"a part left out", changed("Part: renderer options", "Part: renderer"),
         "It is damaged: the renderer options part should come next."},
        {"line ends changed to LF", lf, "It is damaged: its line ends have been changed."},
        {"something after the end", whole + "more", "something follows its end line"},
        {"a later format", changed("format 1", "format 2"),
         "It is in format 2, which this Velmora does not read."},
        {"a snapshot file", test::kSnapshotText, "It is not a Velmora settings file."},
        {"an empty file", "", "It is not a Velmora settings file."},
    };
    const test::Folder folder;
    const GameSettings today = test::SaveAsOk(folder.Str(), 12, "--mine", "gl.so", "");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ReadSettingsFile(c.bytes, &reason));
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;

        const std::string file = folder.File("damaged.velmora");
        test::WriteBytes(file, c.bytes);
        const OperationResult imported = ImportSettings(folder.Str(), 12, file, test::TestProbe);
        EXPECT_FALSE(imported.done);
        EXPECT_EQ(imported.error, file + " was not imported. " + reason);
        EXPECT_EQ(test::Files(folder.Str(), 12), today);
        EXPECT_TRUE(History(folder.Str()).Versions(12).empty());
    }
    const OperationResult missing =
        ImportSettings(folder.Str(), 12, folder.File("missing.velmora"), test::TestProbe);
    EXPECT_EQ(missing.error,
              folder.File("missing.velmora") +
                  " was not imported. It cannot be read: No such file or directory.");
}

}  // namespace
}  // namespace velmora::settings
