#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CGameOptionFiles.h"
#include "FileSizeLimit.h"
#include "TempDir.h"

namespace velmora::config {
namespace {

using test::ReadBytes;
using test::WriteBytes;
using namespace std::string_literals;
namespace fs = std::filesystem;

// The emulator reads no more of an option file than this.
constexpr size_t kLimit = 32767;

#ifdef _WIN32
const std::string kSep = "\\";
#else
const std::string kSep = "/";
#endif

// An emulator directory with its cfg folder, and the option files of one game in it.
class OptionFilesTest : public ::testing::Test {
protected:
    OptionFilesTest() : files(dir.Str()) {
        fs::create_directory(dir.Path() / "cfg");
        files.m_nGame = 7;
    }

    std::string Cfg(const std::string& name) const {
        return dir.Str() + kSep + "cfg" + kSep + name;
    }
    std::string GameFile() const { return Cfg("Velmora007.cfg"); }
    std::string RendererFile() const { return Cfg("Velmora007_renderer.cfg"); }
    std::vector<std::string> CfgEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path() / "cfg")) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    static bool NoConfigure(const std::string&) { return false; }
    static bool Configures(const std::string&) { return true; }

    test::TempDir dir;
    CGameOptionFiles files;
};

struct LoadCase {
    const char* name;
    std::optional<std::string> file;  // nothing: the file is missing
    std::string options;
    std::string renderer;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }
};

class LoadGameOptionsTest : public OptionFilesTest,
                            public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadGameOptionsTest, StripsManagedOptionsAndTrims) {
    const LoadCase& c = GetParam();
    if (c.file) {
        WriteBytes(GameFile(), *c.file);
    }
    files.m_strRenderer = "stale.dll";
    EXPECT_EQ(files.LoadGameOptions(), c.file.has_value());
    EXPECT_EQ(files.m_strOptions, c.options);
    EXPECT_EQ(files.m_strRenderer, c.renderer);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadGameOptionsTest,
    ::testing::Values(
        LoadCase{"Missing", std::nullopt, "", ""}, LoadCase{"ZeroBytes", "", "", ""},
        LoadCase{"EmptyLineThenRenderer", "\r\n--renderer=render.dll\r\n", "", "render.dll"},
        LoadCase{"LongForm",
                 "--opt-a=1\r\n--opt-b=2\r\n--use-renderer-cfg-file=D:\\EMU\\cfg\\Velmora007_"
                 "renderer.cfg\r\n--renderer=render.dll\r\n",
                 "--opt-a=1\r\n--opt-b=2", "render.dll"},
        LoadCase{"RendererWithoutLineEnd", "--a=1\r\n--renderer=render.dll", "--a=1", "render.dll"},
        LoadCase{"LeadingBlankOfNameKept", "--renderer= render.dll  \r\n", "", " render.dll"},
        LoadCase{"UseConfigFileInTheMiddle", "--a=1\r\n--use-config-file=x.cfg\r\n--b=2\r\n",
                 "--a=1\r\n--b=2", ""},
        LoadCase{"SecondRendererStaysForEditing",
                 "--renderer=one.dll\r\n--a=1\r\n--renderer=two.dll\r\n",
                 "--a=1\r\n--renderer=two.dll", "one.dll"},
        LoadCase{"NulAtTen", "0123456789\0--renderer=x.dll\r\n"s, "0123456789", ""},
        LoadCase{"LoneLineFeeds", "--a=1\n--renderer=r.dll\n--b=2\n", "--a=1\n--b=2", "r.dll"},
        LoadCase{"TextBeforeOptionOnItsLineStays", "--a=1 --renderer=r.dll\r\n--b=2", "--a=1 --b=2",
                 "r.dll"},
        LoadCase{"TrailingWhiteSpaceOfEveryKind", " --a=1 \t\r\n\r\n\v\f ", " --a=1", ""}),
    [](const ::testing::TestParamInfo<LoadCase>& test) { return std::string(test.param.name); });

TEST_F(OptionFilesTest, RendererOptionsLoadTrimmedOnly) {
    EXPECT_FALSE(files.LoadRendererOptions());
    EXPECT_EQ(files.m_strRendererOptions, "");

    WriteBytes(RendererFile(), "\tfps=60\r\n--renderer=kept\r\n\r\n  ");
    EXPECT_TRUE(files.LoadRendererOptions());
    EXPECT_EQ(files.m_strRendererOptions, "\tfps=60\r\n--renderer=kept");
}

struct SaveCase {
    const char* name;
    std::string options;
    bool configures;
    std::string expected;  // with "<R>" for the renderer options file's full path

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }
};

class SaveGameOptionsTest : public OptionFilesTest,
                            public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveGameOptionsTest, WritesTextAndManagedBlock) {
    const SaveCase& c = GetParam();
    std::string expected = c.expected;
    if (const size_t at = expected.find("<R>"); at != std::string::npos) {
        expected.replace(at, 3, RendererFile());
    }
    files.m_strOptions = c.options;
    std::string probed;
    const auto probe = [&](const std::string& path) {
        probed = path;
        return c.configures;
    };
    EXPECT_TRUE(files.SaveGameOptions("render.dll", probe));
    EXPECT_EQ(probed, dir.Str() + kSep + "render.dll");
    EXPECT_EQ(ReadBytes(GameFile()), expected);
    EXPECT_EQ(files.m_strOptions, expected);
    EXPECT_EQ(files.m_strRenderer, "render.dll");
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, SaveGameOptionsTest,
    ::testing::Values(
        SaveCase{
            "LongForm", "--opt-a=1\r\n--opt-b=2 ", false,
            "--opt-a=1\r\n--opt-b=2\r\n--use-renderer-cfg-file=<R>\r\n--renderer=render.dll\r\n"},
        SaveCase{"ShortForm", "--opt-a=1\r\n--opt-b=2 ", true,
                 "--opt-a=1\r\n--opt-b=2\r\n--renderer=render.dll\r\n"},
        SaveCase{"EmptyTextShort", "", true, "\r\n--renderer=render.dll\r\n"},
        SaveCase{"TypedManagedOptionsReplaced", "--renderer=typed.dll\r\n--a=1\r\n\r\n", true,
                 "--a=1\r\n--renderer=render.dll\r\n"},
        SaveCase{"SecondRendererLineRemovedAtSave", "--a=1\r\n--renderer=two.dll", false,
                 "--a=1\r\n--use-renderer-cfg-file=<R>\r\n--renderer=render.dll\r\n"}),
    [](const ::testing::TestParamInfo<SaveCase>& test) { return std::string(test.param.name); });

TEST_F(OptionFilesTest, LoadThenSaveWritesTheSameBytes) {
    const std::string longForm =
        "--opt-a=1\r\n--opt-b=2\r\n--use-renderer-cfg-file=" + RendererFile() +
        "\r\n--renderer=render.dll\r\n";
    const std::string shortForm = "--opt-a=1\r\n--renderer=gl.so\r\n";
    for (const auto& [bytes, configures] : {std::pair{longForm, false}, {shortForm, true}}) {
        WriteBytes(GameFile(), bytes);
        ASSERT_TRUE(files.LoadGameOptions());
        const std::string renderer = files.m_strRenderer;
        const auto probe = [configures = configures](const std::string&) { return configures; };
        ASSERT_TRUE(files.SaveGameOptions(renderer, probe));
        EXPECT_EQ(ReadBytes(GameFile()), bytes);
        // Saving again from the same state changes nothing either.
        ASSERT_TRUE(files.SaveGameOptions(renderer, probe));
        EXPECT_EQ(ReadBytes(GameFile()), bytes);
    }
}

TEST_F(OptionFilesTest, NoSelectionWritesNoGameOptionsFile) {
    files.m_strOptions = "--a=1\r\n--renderer=x.dll";
    EXPECT_FALSE(files.SaveGameOptions(std::nullopt, Configures));
    EXPECT_FALSE(fs::exists(GameFile()));
    EXPECT_EQ(files.m_strOptions, "--a=1\r\n");  // managed options stripped all the same

    WriteBytes(GameFile(), "--old=1\r\n--renderer=old.dll\r\n");
    EXPECT_FALSE(files.SaveGameOptions(std::nullopt, Configures));
    EXPECT_EQ(ReadBytes(GameFile()), "--old=1\r\n--renderer=old.dll\r\n");

    EXPECT_TRUE(files.SaveRendererOptions());
    EXPECT_EQ(ReadBytes(RendererFile()), "\r\n");
}

TEST_F(OptionFilesTest, RendererOptionsSavedTrimmedWithOneLineEnd) {
    for (const auto& [text, bytes] :
         {std::pair{""s, "\r\n"s},
          {" \t\r\n\r\n"s, "\r\n"s},
          {"\tfps=60 \r\nsize=2\r\n\r\n"s, "\tfps=60 \r\nsize=2\r\n"s}}) {
        files.m_strRendererOptions = text;
        EXPECT_TRUE(files.SaveRendererOptions());
        EXPECT_EQ(ReadBytes(RendererFile()), bytes);
        EXPECT_EQ(files.m_strRendererOptions, bytes);
    }
}

TEST_F(OptionFilesTest, GameNumberNamesBothFiles) {
    for (const auto& [game, stem] :
         {std::pair{5, "Velmora005"s}, {123, "Velmora123"s}, {1234, "Velmora1234"s}}) {
        files.m_nGame = game;
        files.m_strOptions.clear();
        files.m_strRendererOptions = "r=1";
        ASSERT_TRUE(files.SaveGameOptions("r.dll", NoConfigure));
        ASSERT_TRUE(files.SaveRendererOptions());
        EXPECT_EQ(ReadBytes(Cfg(stem + ".cfg")),
                  "\r\n--use-renderer-cfg-file=" + Cfg(stem + "_renderer.cfg") +
                      "\r\n--renderer=r.dll\r\n");
        EXPECT_EQ(ReadBytes(Cfg(stem + "_renderer.cfg")), "r=1\r\n");

        files.m_strRenderer.clear();
        ASSERT_TRUE(files.LoadGameOptions());
        EXPECT_EQ(files.m_strRenderer, "r.dll");
    }
}

TEST_F(OptionFilesTest, UnwritableFilesStayAsTheyWere) {
    WriteBytes(GameFile(), "--keep=1\r\n");
    WriteBytes(RendererFile(), "keep=1\r\n");
    for (const std::string& path : {GameFile(), RendererFile()}) {
        fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    }
    files.m_strRendererOptions = "changed";
    EXPECT_FALSE(files.SaveGameOptions("r.dll", NoConfigure));
    EXPECT_FALSE(files.SaveRendererOptions());
    EXPECT_EQ(ReadBytes(GameFile()), "--keep=1\r\n");
    EXPECT_EQ(ReadBytes(RendererFile()), "keep=1\r\n");

    // Velmora never creates the cfg folder.
    CGameOptionFiles elsewhere((dir.Path() / "no-emulator-here").string());
    EXPECT_FALSE(elsewhere.SaveGameOptions("r.dll", NoConfigure));
    EXPECT_FALSE(elsewhere.SaveRendererOptions());
    EXPECT_FALSE(fs::exists(dir.Path() / "no-emulator-here"));
}

TEST_F(OptionFilesTest, FailingWriteLeavesOldFilesWhole) {
    const std::string oldGame = "--old=1\r\n--renderer=old.dll\r\n";
    WriteBytes(GameFile(), oldGame);
    WriteBytes(RendererFile(), "old=1\r\n");
    files.m_strOptions = "--new=1";
    files.m_strRendererOptions = "new=1";

    VELMORA_SKIP_WITHOUT_FILE_SIZE_LIMIT();
    bool gameSaved = true;
    bool rendererSaved = true;
#ifndef _WIN32
    {
        const test::FileSizeLimit fullDisk(4);
        gameSaved = files.SaveGameOptions("new.dll", NoConfigure);
        rendererSaved = files.SaveRendererOptions();
    }
#endif

    EXPECT_FALSE(gameSaved);
    EXPECT_FALSE(rendererSaved);
    EXPECT_EQ(ReadBytes(GameFile()), oldGame);
    EXPECT_EQ(ReadBytes(RendererFile()), "old=1\r\n");
    EXPECT_EQ(CfgEntries().size(), 2u) << "a temporary file was left behind";
}

// Lines "--opt-00001=xxxxxxxx\r\n" (22 bytes each) until the text passes `bytes`.
std::string OptionLines(size_t bytes) {
    std::string text;
    for (int i = 0; text.size() < bytes; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "--opt-%05d=xxxxxxxx\r\n", i);
        text += line;
    }
    return text;
}

TEST_F(OptionFilesTest, LongFileLoadsWholeLinesWithinTheLimit) {
    const std::string user = OptionLines(40000);
    const std::string bytes =
        user + "--use-renderer-cfg-file=" + RendererFile() + "\r\n--renderer=render.dll\r\n";
    WriteBytes(GameFile(), bytes);

    ASSERT_TRUE(files.LoadGameOptions());
    const size_t shown = user.rfind('\n', kLimit - 1) + 1;
    EXPECT_LE(shown, kLimit);
    EXPECT_EQ(files.m_strOptions + "\r\n", user.substr(0, shown));
    // The renderer line lies beyond the limit and still names the renderer.
    EXPECT_EQ(files.m_strRenderer, "render.dll");

    // Unedited, a save gives back the very same file.
    ASSERT_TRUE(files.SaveGameOptions(files.m_strRenderer, NoConfigure));
    EXPECT_EQ(ReadBytes(GameFile()), bytes);

    // An edit keeps the unread part after the user's text, and the new block alone, last.
    ASSERT_TRUE(files.LoadGameOptions());
    files.m_strOptions = "--first=1\r\n" + files.m_strOptions + "\r\n--added=1\r\n";
    ASSERT_TRUE(files.SaveGameOptions("gl.so", Configures));
    EXPECT_EQ(ReadBytes(GameFile()), "--first=1\r\n" + user.substr(0, shown) + "--added=1\r\n" +
                                         user.substr(shown) + "--renderer=gl.so\r\n");
}

TEST_F(OptionFilesTest, LongFileEdgeCases) {
    // Exactly at the limit: everything is read, nothing is held back.
    std::string atLimit = OptionLines(kLimit - 40);
    atLimit += std::string(kLimit - atLimit.size(), 'z');
    WriteBytes(GameFile(), atLimit);
    ASSERT_TRUE(files.LoadGameOptions());
    EXPECT_EQ(files.m_strOptions, atLimit);

    // One line longer than the limit: its start is shown, and nothing is lost. Unchanged, the
    // line is whole again; changed, the rest follows on a line of its own.
    const std::string oneLine = std::string(40000, 'q') + "\r\n--b=1\r\n--renderer=r.dll\r\n";
    WriteBytes(GameFile(), oneLine);
    ASSERT_TRUE(files.LoadGameOptions());
    EXPECT_EQ(files.m_strOptions, std::string(kLimit, 'q'));
    EXPECT_EQ(files.m_strRenderer, "r.dll");
    ASSERT_TRUE(files.SaveGameOptions("r.dll", Configures));
    EXPECT_EQ(ReadBytes(GameFile()), oneLine);
    ASSERT_TRUE(files.LoadGameOptions());
    files.m_strOptions = "--new=1";
    ASSERT_TRUE(files.SaveGameOptions("r.dll", Configures));
    EXPECT_EQ(ReadBytes(GameFile()), "--new=1\r\n" + oneLine.substr(kLimit));

    // What was held back belongs to game 7's file alone.
    files.m_strOptions.clear();
    files.m_nGame = 8;
    ASSERT_TRUE(files.SaveGameOptions("r.dll", Configures));
    EXPECT_EQ(ReadBytes(Cfg("Velmora008.cfg")), "\r\n--renderer=r.dll\r\n");

    // A NUL within the limit ends the text: what follows was never option text.
    files.m_nGame = 7;
    WriteBytes(GameFile(), "--a=1\r\n\0"s + std::string(40000, 'n'));
    ASSERT_TRUE(files.LoadGameOptions());
    EXPECT_EQ(files.m_strOptions, "--a=1");
    ASSERT_TRUE(files.SaveGameOptions("r.dll", Configures));
    EXPECT_EQ(ReadBytes(GameFile()), "--a=1\r\n--renderer=r.dll\r\n");

    // Lone line ends, and the blank lines where the limit cuts, come back as they were.
    const std::string lone = OptionLines(kLimit - 30) + "--x=1\n\n  \n--y\r--z\n";
    WriteBytes(GameFile(), lone + "--renderer=r.dll\r\n");
    ASSERT_TRUE(files.LoadGameOptions());
    ASSERT_TRUE(files.SaveGameOptions("r.dll", Configures));
    EXPECT_EQ(ReadBytes(GameFile()), lone.substr(0, lone.size() - 1) + "\r\n--renderer=r.dll\r\n");

    // So does a NUL beyond the limit. Kept in the rest, a save would bring it within the
    // limit, and the next load would lose the renderer line written after it.
    const std::string head = OptionLines(kLimit - 100) + "--renderer=old.dll\r\n";
    WriteBytes(GameFile(), head + std::string(200, 'm') + "\r\n\0--c=1\r\n"s);
    ASSERT_TRUE(files.LoadGameOptions());
    ASSERT_TRUE(files.SaveGameOptions("new.dll", Configures));
    ASSERT_TRUE(files.LoadGameOptions());
    EXPECT_EQ(files.m_strRenderer, "new.dll");
    EXPECT_EQ(ReadBytes(GameFile()).find('\0'), std::string::npos);
}

TEST_F(OptionFilesTest, LongRendererOptionsKeepTheirRest) {
    const std::string text = OptionLines(50000);
    WriteBytes(RendererFile(), text + "\r\n\r\n");
    ASSERT_TRUE(files.LoadRendererOptions());
    const size_t shown = text.rfind('\n', kLimit - 1) + 1;
    EXPECT_EQ(files.m_strRendererOptions + "\r\n", text.substr(0, shown));

    files.m_strRendererOptions = "";
    ASSERT_TRUE(files.SaveRendererOptions());
    EXPECT_EQ(ReadBytes(RendererFile()), text.substr(shown));
    EXPECT_EQ(files.m_strRendererOptions, "\r\n");
}

}  // namespace
}  // namespace velmora::config
