#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>
#include <optional>
#include <string>

#include "CGameOptionFiles.h"
#include "CPluginLibrary.h"
#include "Contract.h"
#include "TempDir.h"

namespace velmora::config {
namespace {

namespace fs = std::filesystem;

// An emulator directory holding copies of the stand-in plugins under the names a test needs.
class PluginDir {
public:
    PluginDir() {
        Copy(VELMORA_TEST_RENDERER_CONFIGURABLE, "gl.dll");
        Copy(VELMORA_TEST_RENDERER_PLAIN, "soft.dll");
        Copy(VELMORA_TEST_NOT_A_PLUGIN, "broken.dll");
        Copy(VELMORA_TEST_RENDERER_PLAIN, "r\xe9nder.so");  // a Windows-1252 name, not UTF-8
        Copy(VELMORA_TEST_RENDERER_PLAIN, "sound.znc");     // a library under a suffix of its own
        // Only the decorated names exist: QLibrary would find them for "ghost" on its own.
        Copy(VELMORA_TEST_RENDERER_PLAIN, "libghost.so");
        Copy(VELMORA_TEST_RENDERER_PLAIN, "ghost.so");
        Copy(VELMORA_TEST_RENDERER_PLAIN, "ghost.dll");
        fs::create_directory(dir.Path() / "cfg");
        fs::create_directory(dir.Path() / "folder.dll");
    }
    std::string Path(const std::string& name) const { return dir.File(name); }
    std::string Str() const { return dir.Str(); }

private:
    void Copy(const char* from, const std::string& to) {
        fs::copy_file(from, dir.Path() / to, fs::copy_options::overwrite_existing);
    }
    test::TempDir dir;
};

struct LibraryCase {
    const char* name;
    const char* file;
    bool loads;
    bool hasInit;
    bool hasConfigure;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const LibraryCase& c, std::ostream* os) { *os << c.name; }
};

class PluginLibraryTest : public ::testing::TestWithParam<LibraryCase> {};

TEST_P(PluginLibraryTest, LoadsOnlyTheExactFile) {
    const LibraryCase& c = GetParam();
#ifdef _WIN32
    if (std::string_view(c.name) == "NameNotUtf8") {
        GTEST_SKIP() << "Windows names are UTF-16: which file a byte like 0xE9 names depends on "
                        "the code page, and std::filesystem and the ANSI calls may disagree on it";
    }
#endif
    PluginDir plugins;
    const CPluginLibrary library(plugins.Path(c.file));
    EXPECT_EQ(library.IsLoaded(), c.loads);
    EXPECT_EQ(library.HasEntry(emu::kRendererInitEntry), c.hasInit);
    EXPECT_EQ(library.HasEntry(emu::kRendererConfigureEntry), c.hasConfigure);
    EXPECT_FALSE(library.HasEntry("NoSuchEntry"));
    EXPECT_EQ(CPluginLibrary::ExportsEntry(plugins.Path(c.file), emu::kRendererConfigureEntry),
              c.hasConfigure);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PluginLibraryTest,
    ::testing::Values(LibraryCase{"WithConfigure", "gl.dll", true, true, true},
                      LibraryCase{"WithoutConfigure", "soft.dll", true, true, false},
                      LibraryCase{"NameNotUtf8", "r\xe9nder.so", true, true, false},
                      LibraryCase{"OwnSuffix", "sound.znc", true, true, false},
                      LibraryCase{"TextFile", "broken.dll", false, false, false},
                      LibraryCase{"Missing", "gone.dll", false, false, false},
                      LibraryCase{"OnlyDecoratedNamesExist", "ghost", false, false, false},
                      LibraryCase{"Folder", "folder.dll", false, false, false},
                      LibraryCase{"DotEntry", ".", false, false, false}),
    [](const ::testing::TestParamInfo<LibraryCase>& test) { return std::string(test.param.name); });

TEST(PluginLibrary, CallsEntriesAndUnloadsOnScopeExit) {
    PluginDir plugins;
    {
        CPluginLibrary library(plugins.Path("gl.dll"));
        ASSERT_TRUE(library.IsLoaded());
        EXPECT_TRUE(library.Call(emu::kRendererConfigureEntry));
        EXPECT_FALSE(library.Call("NoSuchEntry"));
        EXPECT_EQ(library.Lookup("VelmoraTestConfigureCalls")(), 1);

        // Moving hands the library on; the moved-from holder has nothing left to call.
        CPluginLibrary moved(std::move(library));
        EXPECT_FALSE(library.IsLoaded());  // NOLINT(bugprone-use-after-move)
        EXPECT_FALSE(library.Call(emu::kRendererConfigureEntry));
        EXPECT_TRUE(moved.Call(emu::kRendererConfigureEntry));
        EXPECT_EQ(moved.Lookup("VelmoraTestConfigureCalls")(), 2);
    }
    // Unloaded at the end of the scope: a fresh load starts from a fresh library.
    const CPluginLibrary again(plugins.Path("gl.dll"));
    ASSERT_TRUE(again.IsLoaded());
    EXPECT_EQ(again.Lookup("VelmoraTestConfigureCalls")(), 0);
}

TEST(PluginLibrary, SaveChoosesBlockByProbingTheLibrary) {
    PluginDir plugins;
    const auto probe = [](const std::string& path) {
        return CPluginLibrary::ExportsEntry(path, emu::kRendererConfigureEntry);
    };
    const std::string longBlock =
        "\r\n--use-renderer-cfg-file=" + emu::RendererOptionsFile(plugins.Str(), 3);
    for (const auto& [renderer, configures] : {std::pair{"gl.dll", true},
                                               {"soft.dll", false},
                                               {"broken.dll", false},
                                               {"gone.dll", false}}) {
        CGameOptionFiles files(plugins.Str());
        files.m_nGame = 3;
        ASSERT_TRUE(files.SaveGameOptions(std::string(renderer), probe));
        const std::string tail = std::string("\r\n--renderer=") + renderer + "\r\n";
        EXPECT_EQ(files.m_strOptions, configures ? tail : longBlock + tail) << renderer;
    }
}

}  // namespace
}  // namespace velmora::config
