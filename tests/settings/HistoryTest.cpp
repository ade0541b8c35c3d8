// Every change keeps the files as they were, a restore can be undone, and a game keeps its
// twenty newest versions.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "History.h"
#include "SettingsOperations.h"
#include "SettingsSupport.h"
#include "SettingsWrite.h"

namespace velmora::settings {
namespace {

GameSettings Round(int round) {
    return {{"--round=" + std::to_string(round) + "\r\n", std::nullopt,
             round % 2 == 0 ? std::optional<std::string>("REGEDIT4\r\n\r\n") : std::nullopt}};
}

std::vector<int> Ids(const std::vector<StoredVersion>& versions) {
    std::vector<int> ids;
    for (const StoredVersion& version : versions) {
        ids.push_back(version.id);
    }
    return ids;
}

TEST(HistoryTest, ARestoreKeepsTodaysFilesSoItCanBeUndone) {
    const test::Folder folder;
    const std::string dir = folder.Str();
    const GameSettings first = test::SaveAsOk(dir, 5, "--first", "plain.so", "one");
    const GameSettings second = Round(2);
    ASSERT_TRUE(WriteGameSettings(dir, 5, second).written);
    ASSERT_TRUE(RemoveSettings(dir, 5).done);
    History history(dir);
    ASSERT_EQ(Ids(history.Versions(5)), (std::vector<int>{2, 1}));

    const struct {
        int restore;
        const GameSettings& files;
        std::vector<int> ids;
    } steps[] = {
        {1, first, {3, 2, 1}},              // the removed game gets its first files back
        {3, GameSettings{}, {4, 3, 2, 1}},  // undone: removed again
        {2, second, {5, 4, 3, 2, 1}},
        {5, GameSettings{}, {6, 5, 4, 3, 2, 1}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.restore);
        const GameSettings before = test::Files(dir, 5);
        const OperationResult restored = RestoreSettings(dir, 5, step.restore);
        ASSERT_TRUE(restored.done) << restored.error;
        EXPECT_EQ(test::Files(dir, 5), step.files);
        const std::vector<StoredVersion> versions = history.Versions(5);
        ASSERT_EQ(Ids(versions), step.ids);
        EXPECT_EQ(versions.front().settings, before);
        EXPECT_EQ(versions.front().saved.size(), std::string("2025-01-02 03:04:05").size());
    }
    EXPECT_EQ(RestoreSettings(dir, 5, 99).error,
              "Version 99 of game 5 was not restored. There is no such version.");
}

TEST(HistoryTest, TheTwentyFirstVersionDropsTheOldest) {
    const test::Folder folder;
    const std::string dir = folder.Str();
    test::Put(dir, 8, Round(0));
    for (int round = 1; round <= 21; ++round) {
        ASSERT_TRUE(WriteGameSettings(dir, 8, Round(round)).written);
        ASSERT_EQ(History(dir).Versions(8).size(),
                  std::min(static_cast<size_t>(round), kMaxVersions));
    }
    const std::vector<StoredVersion> versions = History(dir).Versions(8);
    EXPECT_EQ(versions.front().id, 21);
    EXPECT_EQ(versions.back().id, 2);
    EXPECT_EQ(versions.front().settings, Round(20));
    EXPECT_EQ(versions.back().settings, Round(1));
    // The files the emulator reads are the newest, and nothing else appears beside them.
    EXPECT_EQ(test::Files(dir, 8), Round(21));
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("cfg"))) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"Velmora008.cfg", "history"}));
}

TEST(HistoryTest, OnlyAChangeKeepsAVersion) {
    const test::Folder folder;
    const std::string dir = folder.Str();
    const GameSettings files = test::SaveAsOk(dir, 9, "--x", "plain.so", "");
    EXPECT_TRUE(WriteGameSettings(dir, 9, files).written);
    EXPECT_TRUE(CopySettings(dir, 9, {9}).done);
    {
        VersionBeforeSave unchanged(dir, 9);
        test::SaveAsOk(dir, 9, "--x", "plain.so", "");
        unchanged.Settle();
    }
    EXPECT_TRUE(History(dir).Versions(9).empty());

    VersionBeforeSave changed(dir, 9);
    test::SaveAsOk(dir, 9, "--y", "plain.so", "");
    changed.Settle();
    const std::vector<StoredVersion> versions = History(dir).Versions(9);
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(versions.front().settings, files);
}

TEST(HistoryTest, AFileThatCannotBeReadOrWrittenChangesNothing) {
    const test::Folder folder;
    const std::string dir = folder.Str();
    const GameSettings today = test::SaveAsOk(dir, 3, "--today", "plain.so", "today");
    const std::string renderer = GameFilePath(dir, 3, GameFile::kRendererOptions);
    namespace fs = std::filesystem;
    fs::permissions(renderer,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    test::SaveAsOk(dir, 4, "--other", "plain.so", "other");
    const OperationResult copied = CopySettings(dir, 4, {3});
    EXPECT_FALSE(copied.done);
    EXPECT_NE(copied.error.find("The settings of game 3 were not changed: " + renderer + ": "),
              std::string::npos)
        << copied.error;
    EXPECT_EQ(test::Files(dir, 3), today);  // the options written first are put back
    EXPECT_TRUE(History(dir).Versions(3).empty());
    fs::permissions(renderer, fs::perms::owner_write, fs::perm_options::add);

    // A folder where a file should be cannot be read, so it cannot be kept either.
    fs::remove(GameFilePath(dir, 3, GameFile::kPluginSettings));
    fs::create_directory(GameFilePath(dir, 3, GameFile::kPluginSettings));
    const OperationResult removed = RemoveSettings(dir, 3);
    EXPECT_FALSE(removed.done);
    EXPECT_NE(removed.error.find(GameFilePath(dir, 3, GameFile::kPluginSettings) + ": "),
              std::string::npos)
        << removed.error;
    EXPECT_TRUE(fs::exists(GameFilePath(dir, 3, GameFile::kOptions)));
    EXPECT_TRUE(History(dir).Versions(3).empty());
}

}  // namespace
}  // namespace velmora::settings
