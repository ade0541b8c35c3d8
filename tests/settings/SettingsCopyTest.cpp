// A game's settings taken to another game or folder keep every byte but the managed options,
// which come out exactly as Configure game's OK makes them there.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "History.h"
#include "SettingsOperations.h"
#include "SettingsSupport.h"

namespace velmora::settings {
namespace {

struct OkCase {
    const char* name;
    std::string text;
    std::string renderer;
    std::string rendererText;
    std::string snapshot = test::kSnapshotText;
};

const std::vector<OkCase>& OkCases() {
    static const std::vector<OkCase> cases = {
        {"a renderer that reads its options file", "--a=1\r\n--b=\xE9", "plain.so", "w=640"},
        {"a renderer that configures itself", "--a=1", test::kSelfConfiguring, "w=640"},
        {"no options of the user's", "", "plain.so", ""},
        {"bytes no editor keeps", test::AwkwardBytes('t'), "plain.so", test::AwkwardBytes('r'),
         test::AwkwardBytes('s')},
    };
    return cases;
}

bool Holds(const GameSettings& settings, const std::string& text) {
    for (const GameFile file : kGameFiles) {
        if (settings[file] && settings[file]->find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(SettingsCopyTest, AnImportFromAnotherFolderAndGameIsWhatOkWritesHere) {
    const test::Folder there("old place");
    const test::Folder here("zinc");
    for (const OkCase& c : OkCases()) {
        SCOPED_TRACE(c.name);
        GameSettings exported =
            test::SaveAsOk(there.Str(), 7, c.text, c.renderer, c.rendererText, c.snapshot);
        // A second managed line, put in by hand, must not carry the old folder along either.
        *exported[GameFile::kOptions] += "--use-renderer-cfg-file=" + there.Str() + "\r\n";
        test::Put(there.Str(), 7, exported);
        const std::string file = there.File("7.velmora");
        ASSERT_TRUE(ExportSettings(there.Str(), 7, "Seven", file).done);

        const OperationResult imported = ImportSettings(here.Str(), 12, file, test::TestProbe);
        ASSERT_TRUE(imported.done) << imported.error;
        EXPECT_EQ(imported.changedGames, std::vector<int>{12});
        const GameSettings result = test::Files(here.Str(), 12);
        EXPECT_FALSE(Holds(result, there.Str()));
        EXPECT_EQ(result,
                  test::SaveAsOk(here.Str(), 12, c.text, c.renderer, c.rendererText, c.snapshot));
    }
}

TEST(SettingsCopyTest, ACopyToSeveralGamesGivesEachItsOwnManagedOptions) {
    const test::Folder folder;
    for (const OkCase& c : OkCases()) {
        SCOPED_TRACE(c.name);
        test::SaveAsOk(folder.Str(), 1, c.text, c.renderer, c.rendererText, c.snapshot);
        test::SaveAsOk(folder.Str(), 2, "--mine", "other.so", "mine", "REGEDIT4\r\n\r\n");
        test::Clear(folder.Str(), 3);
        const std::vector<int> targets = {2, 3, 1234};
        const OperationResult copied = CopySettings(folder.Str(), 1, targets, {}, test::TestProbe);
        ASSERT_TRUE(copied.done) << copied.error;
        EXPECT_EQ(copied.changedGames, targets);
        for (const int game : targets) {
            const GameSettings result = test::Files(folder.Str(), game);
            EXPECT_EQ(result, test::SaveAsOk(folder.Str(), game, c.text, c.renderer, c.rendererText,
                                             c.snapshot))
                << "game " << game;
        }
        const std::vector<StoredVersion> versions = History(folder.Str()).Versions(3);
        ASSERT_FALSE(versions.empty());
        EXPECT_EQ(versions.front().settings, GameSettings{});
    }
}

TEST(SettingsCopyTest, EachPartIsCopiedAloneOrTogether) {
    const test::Folder folder;
    const std::string dir = folder.Str();
    const OkCase from{"source", "--from=1", "plain.so", "from renderer", test::kSnapshotText};
    const OkCase to{"target", "--to=1", test::kSelfConfiguring, "to renderer", "REGEDIT4\r\n\r\n"};
    const struct {
        SettingsParts parts;
        const OkCase& options;
        const OkCase& renderer;
        const OkCase& plugins;
    } cases[] = {
        {{true, true, true}, from, from, from}, {{true, false, false}, from, to, to},
        {{false, true, false}, to, from, to},   {{false, false, true}, to, to, from},
        {{true, false, true}, from, to, from},  {{false, false, false}, to, to, to},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.parts.emulatorOptions << c.parts.renderer << c.parts.pluginSettings);
        test::SaveAsOk(dir, 1, from.text, from.renderer, from.rendererText, from.snapshot);
        test::SaveAsOk(dir, 2, to.text, to.renderer, to.rendererText, to.snapshot);
        ASSERT_TRUE(CopySettings(dir, 1, {2}, c.parts, test::TestProbe).done);
        const GameSettings result = test::Files(dir, 2);
        EXPECT_EQ(result, test::SaveAsOk(dir, 2, c.options.text, c.renderer.renderer,
                                         c.renderer.rendererText, c.plugins.snapshot));
    }
}

TEST(SettingsCopyTest, AGameWithoutSettingsHasNothingToCopyOrExport) {
    const test::Folder folder;
    EXPECT_EQ(CopySettings(folder.Str(), 4, {5}).error, "Game 4 has no settings to copy.");
    EXPECT_EQ(ExportSettings(folder.Str(), 4, "", folder.File("x")).error,
              "Game 4 has no settings to export.");
    EXPECT_FALSE(std::filesystem::exists(folder.File("x")));
}

}  // namespace
}  // namespace velmora::settings
