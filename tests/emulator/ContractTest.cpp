#include <gtest/gtest.h>

#include "Contract.h"

namespace velmora::emu {
namespace {

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
        {"\t\r\n7x", 7},
        {"0 Omega", 0},
        {"- 4", 0},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(PerGameFiles, PadToThreeDigitsAndKeepLongerNumbers) {
    EXPECT_EQ(GameOptionsFile("/emu", 7), "/emu/cfg/Velmora007.cfg");
    EXPECT_EQ(RendererOptionsFile("/emu", 5), "/emu/cfg/Velmora005_renderer.cfg");
    EXPECT_EQ(SnapshotFile("/emu", 123), "/emu/cfg/Velmora123_registry.cfg");
    EXPECT_EQ(GameOptionsFile("/emu", 1234), "/emu/cfg/Velmora1234.cfg");
}

TEST(Commands, KeepPathsWithBlanksAsOneArgument) {
    const Command launch = LaunchCommand("/home/ann/My Games/zinc", 7);
    EXPECT_EQ(launch.program, "/home/ann/My Games/zinc/ZINC.EXE");
    ASSERT_EQ(launch.arguments.size(), 2u);
    EXPECT_EQ(launch.arguments[0], "7");
    EXPECT_EQ(launch.arguments[1], "--use-config-file=/home/ann/My Games/zinc/cfg/Velmora007.cfg");
    EXPECT_EQ(launch.workingDirectory, "/home/ann/My Games/zinc");

    EXPECT_EQ(ListGamesCommand("/emu").arguments, std::vector<std::string>{"--list-games"});
    EXPECT_TRUE(HelpTextCommand("/emu").arguments.empty());
    EXPECT_EQ(EmulatorPath(""), "ZINC.EXE");
    EXPECT_EQ(CommandLine(LaunchCommand("/e", 1234)),
              "/e/ZINC.EXE 1234 --use-config-file=/e/cfg/Velmora1234.cfg");
}

}  // namespace
}  // namespace velmora::emu
