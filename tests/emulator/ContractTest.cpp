#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Contract.h"
#include "Platform.h"

namespace velmora::emu {
namespace {

// The command as one line, as a user would type it.
std::string CommandLine(const Command& command) {
    std::string line = command.program;
    for (const std::string& argument : command.arguments) {
        line += ' ' + argument;
    }
    return line;
}

TEST(LeadingNumber, ReadsAsAtoiDoes) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"12 Alpha", 12},
        {"  8 Iota ", 8},
        {"+4 Nu", 4},
        {"-4 Nu", -4},
        {"Games known:", 0},
        {"", 0},
        {"\t\r\n\v\f7x", 7},
        {"0 Omega", 0},
        {"- 4", 0},
        {"+-4", 0},
        {"\2407", 0},  // no-break space (octal 240) is no white space
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

// Paths below are written with "/"; the code under test joins them with the platform's own
// separator.
std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '/', platform::kPathSeparator);
    return path;
}

TEST(PerGameFiles, PadToThreeDigitsAndKeepLongerNumbers) {
    EXPECT_EQ(GameOptionsFile(Native("/emu"), 7), Native("/emu/cfg/Velmora007.cfg"));
    EXPECT_EQ(RendererOptionsFile(Native("/emu"), 5), Native("/emu/cfg/Velmora005_renderer.cfg"));
    EXPECT_EQ(SnapshotFile(Native("/emu"), 123), Native("/emu/cfg/Velmora123_registry.cfg"));
    EXPECT_EQ(GameOptionsFile(Native("/emu"), 1234), Native("/emu/cfg/Velmora1234.cfg"));
}

TEST(Commands, KeepPathsWithBlanksAsOneArgument) {
    const std::string dir = Native("/home/ann/My Games/zinc");
    const Command launch = LaunchCommand(dir, 7);
    EXPECT_EQ(launch.program, Native("/home/ann/My Games/zinc/ZINC.EXE"));
    ASSERT_EQ(launch.arguments.size(), 2u);
    EXPECT_EQ(launch.arguments[0], "7");
    EXPECT_EQ(launch.arguments[1],
              Native("--use-config-file=/home/ann/My Games/zinc/cfg/Velmora007.cfg"));
    EXPECT_EQ(launch.workingDirectory, dir);

    const Command list = ListGamesCommand(EmulatorPath(Native("/emu")), Native("/emu"));
    EXPECT_EQ(list.arguments, std::vector<std::string>{"--list-games"});
    EXPECT_EQ(list.workingDirectory, Native("/emu"));
    EXPECT_TRUE(HelpTextCommand(EmulatorPath(Native("/emu")), Native("/emu")).arguments.empty());
    EXPECT_EQ(EmulatorPath(""), "ZINC.EXE");
    EXPECT_EQ(CommandLine(LaunchCommand(Native("/e"), 1234)),
              Native("/e/ZINC.EXE 1234 --use-config-file=/e/cfg/Velmora1234.cfg"));
}

#ifdef _WIN32
// On Windows the names are those the emulator and the users' existing files expect, to the
// byte: drive letters, backslashes, and the directory in upper case as frame creation makes it.
TEST(WindowsNames, AreFormattedExactly) {
    struct Case {
        std::string actual;
        std::string expected;
    };
    const Case cases[] = {
        {GameOptionsFile("C:\\EMU", 7), "C:\\EMU\\cfg\\Velmora007.cfg"},
        {GameOptionsFile("D:\\EMU", 7), "D:\\EMU\\cfg\\Velmora007.cfg"},
        {RendererOptionsFile("D:\\EMU", 7), "D:\\EMU\\cfg\\Velmora007_renderer.cfg"},
        {SnapshotFile("C:\\EMU\\ZINC", 42), "C:\\EMU\\ZINC\\cfg\\Velmora042_registry.cfg"},
        {GameOptionsFile("C:", 5), "C:\\cfg\\Velmora005.cfg"},
        {EmulatorPath("C:\\EMU\\ZINC"), "C:\\EMU\\ZINC\\ZINC.EXE"},
        {EmulatorPath("C:"), "C:\\ZINC.EXE"},
        {CommandLine(LaunchCommand("C:\\EMU\\ZINC", 7)),
         "C:\\EMU\\ZINC\\ZINC.EXE 7 --use-config-file=C:\\EMU\\ZINC\\cfg\\Velmora007.cfg"},
        {CommandLine(LaunchCommand("C:\\PROGRAM FILES\\ZINC", 123)),
         "C:\\PROGRAM FILES\\ZINC\\ZINC.EXE 123 "
         "--use-config-file=C:\\PROGRAM FILES\\ZINC\\cfg\\Velmora123.cfg"},
        // An unknown directory leaves the names beginning with a backslash.
        {CommandLine(LaunchCommand("", 7)), "\\ZINC.EXE 7 --use-config-file=\\cfg\\Velmora007.cfg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.actual, c.expected);
    }
}
#endif

}  // namespace
}  // namespace velmora::emu
