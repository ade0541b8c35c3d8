// The settings commands as a script would use them: their exact output, their one line of
// error and their exit status.

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "Contract.h"
#include "SettingsModes.h"
#include "SettingsSupport.h"

namespace velmora::app {
namespace {

#ifdef _WIN32
const std::string kArrow = " -> ";
#else
const std::string kArrow = " \xE2\x86\x92 ";
#endif

TEST(SettingsModesTest, EachCommandSaysWhatItDidAndEndsWithItsStatus) {
    const test::Folder folder("my zinc");
    const std::string dir = folder.Str();
    const settings::GameSettings twelve =
        test::SaveAsOk(dir, 12, "--a=1\r\n--b=2", "plain.so", "w=1");
    const std::string file = folder.File("twelve.velmora");
    const std::string missing = folder.File("missing.velmora");
    std::string out;
    std::string error;
    const SettingsSinks sinks{[&](std::string_view bytes) {
                                  out += bytes;
                                  return true;
                              },
                              [&](std::string_view line) { error += std::string(line) + "|"; }};
    const std::string added = "options: 2 lines added; renderer: none" + kArrow +
                              "plain.so; renderer options: 1 line added; plugin settings: 2 "
                              "values added";
    const std::string removed = "options: 2 lines removed; renderer: plain.so" + kArrow +
                                "none; renderer options: 1 line removed; plugin settings: 2 "
                                "values removed";
    const struct {
        const char* name;
        std::function<int()> run;
        int status;
        std::string out;
        std::string error;
    } steps[] = {
        {"no history yet", [&] { return ShowSettingsHistory(dir, 12, sinks); }, 0, "", ""},
        {"export", [&] { return ExportGameSettings(dir, 12, "Twelve", file, sinks); }, 0, "", ""},
        {"import", [&] { return ImportGameSettings(dir, 13, file, sinks); }, 0, "", ""},
        {"the import kept a version", [&] { return ShowSettingsHistory(dir, 13, sinks); }, 0,
         "1\tTIME\t" + added + "\n", ""},
        {"remove", [&] { return RemoveGameSettings(dir, 13, sinks); }, 0, "", ""},
        {"the removal kept a version", [&] { return ShowSettingsHistory(dir, 13, sinks); }, 0,
         "2\tTIME\t" + removed + "\n1\tTIME\tno difference\n", ""},
        {"removing nothing", [&] { return RemoveGameSettings(dir, 13, sinks); }, 0, "", ""},
        {"restore", [&] { return RestoreSettingsVersion(dir, 13, 2, sinks); }, 0, "", ""},
        {"a version that is not there", [&] { return RestoreSettingsVersion(dir, 13, 9, sinks); },
         1, "", "Version 9 of game 13 was not restored. There is no such version.|"},
        {"a file that is not there", [&] { return ImportGameSettings(dir, 13, missing, sinks); }, 1,
         "", missing + " was not imported. It cannot be read: No such file or directory.|"},
        {"copy",
         [&] {
             return CopyGameSettings(dir, 12, {14, 15}, sinks);
         },
         0, "", ""},
        {"copy from a game without settings",
         [&] { return CopyGameSettings(dir, 16, {14}, sinks); }, 1, "",
         "Game 16 has no settings to copy.|"},
        {"a start's dry run", [&] { return DryRunStart(dir, 12, sinks); }, 0,
         dir + "\n\"" + emu::EmulatorPath(dir) +
             "\" 12 \"--use-config-file=" + emu::GameOptionsFile(dir, 12) +
             "\"\nPSEmu Pro\\Video: \"Folder\"=\"C:\\\\Games\\\\\"\n"
             "PSEmu Pro\\Video: \"Width\"=dword:00000280\n",
         ""},
        {"a dry run of a game not configured", [&] { return DryRunStart(dir, 16, sinks); }, 1, "",
         "Game 16 is not configured yet: a start would ask to configure it first.|"},
    };
    const std::regex time("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}");
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        out.clear();
        error.clear();
        EXPECT_EQ(step.run(), step.status);
        EXPECT_EQ(std::regex_replace(out, time, "TIME"), step.out);
        EXPECT_EQ(error, step.error);
    }
    for (const int game : {13, 14, 15}) {
        EXPECT_EQ(test::Files(dir, game),
                  test::SaveAsOk(dir, game, "--a=1\r\n--b=2", "plain.so", "w=1"))
            << "game " << game;
    }
}

}  // namespace
}  // namespace velmora::app
