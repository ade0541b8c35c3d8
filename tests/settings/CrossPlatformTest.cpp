// A settings file exported on Linux imports on Windows, and one exported on Windows imports on
// Linux: every byte is kept but the managed options, which name this folder with this system's
// separator. The two samples were written by each system's own build (set
// VELMORA_WRITE_SETTINGS_SAMPLE to a folder to write this system's sample there again).

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Contract.h"
#include "Platform.h"
#include "SettingsFile.h"
#include "SettingsOperations.h"
#include "SettingsSupport.h"

namespace velmora::settings {
namespace {

struct Sample {
    const char* file;
    const char* folder;  // the emulator folder it was exported from
    char separator;
};

constexpr Sample kSamples[] = {
    {"made-on-linux.velmora", "/home/ana/zinc", '/'},
    {"made-on-windows.velmora", "C:\\EMU\\ZINC", '\\'},
};

// The options the user wrote for game 7, longer than the editors read.
std::string UserText() {
    return test::AwkwardBytes('o');
}

// Game 7's files as OK writes them in the sample's folder, with bytes no editor keeps.
GameSettings Exported(const Sample& sample) {
    const std::string cfg =
        std::string(sample.folder) + sample.separator + "cfg" + sample.separator;
    return {{UserText() + "--use-renderer-cfg-file=" + cfg + "Velmora007_renderer.cfg\r\n" +
                 "--renderer=plain.dll\r\n",
             std::string("w=640\rh=480\r\n") + '\0' + "\xC9t\xE9\r\n", test::kSnapshotText}};
}

TEST(CrossPlatformTest, ASampleFromEitherSystemIsWhatTheExportWritesAndImportsHere) {
    const test::Folder here("zinc here");
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.file);
        const std::string written =
            WriteSettingsFile(Exported(sample), 7, "Seven", "2025-01-02 03:04:05");
        const std::string path = std::string(VELMORA_SETTINGS_SAMPLES) + "/" + sample.file;
        if (const char* out = std::getenv("VELMORA_WRITE_SETTINGS_SAMPLE");
            out != nullptr && sample.separator == platform::kPathSeparator) {
            test::WriteBytes(std::string(out) + "/" + sample.file, written);
        }
        ASSERT_EQ(test::ReadBytes(path), written) << path;

        const OperationResult imported =
            ImportSettings(here.Str(), 12, path, [](const std::string&) { return false; });
        ASSERT_TRUE(imported.done) << imported.error;
        const GameSettings result = test::Files(here.Str(), 12);
        EXPECT_EQ(result[GameFile::kOptions], UserText() + "--use-renderer-cfg-file=" +
                                                  emu::RendererOptionsFile(here.Str(), 12) +
                                                  "\r\n--renderer=plain.dll\r\n");
        EXPECT_EQ(result[GameFile::kRendererOptions], Exported(sample)[GameFile::kRendererOptions]);
        EXPECT_EQ(result[GameFile::kPluginSettings], test::kSnapshotText);
        EXPECT_EQ(result[GameFile::kOptions]->find(sample.folder), std::string::npos);
    }
}

}  // namespace
}  // namespace velmora::settings
