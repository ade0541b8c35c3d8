#include <gtest/gtest.h>

#include "Contract.h"
#include "GameList.h"
#include "TempDir.h"

namespace velmora::games {
namespace {

struct Expected {
    const char* game;
    const char* country;
    const char* infos;
    int number;
};

// Each line ends in CR LF, as the emulator prints it.
TEST(ParseGameList, SplitsEveryKindOfLineIntoColumns) {
    const struct {
        const char* line;
        bool isGame;
        Expected row;
    } cases[] = {
        {"12 Alpha Beta (Japan) [2 players]",
         true,
         {"12 Alpha Beta ", "Japan", " [2 players]", 12}},
        {"7 Gamma [prototype]", true, {"7 Gamma ", "", "[prototype]", 7}},
        {"  8 Iota [x]", true, {"  8 Iota ", "", "[x]", 8}},
        {"3 Zeta (World [x]", true, {"3 Zeta ", "", "", 3}},
        {"6 Theta (Korea) [beta", true, {"6 Theta ", "Korea", "", 6}},
        {"10 Kappa (Lambda) Mu (Japan) [x]", true, {"10 Kappa ", "Lambda", " Mu (Japan) [x]", 10}},
        {"+4 Nu [x]", true, {"+4 Nu ", "", "[x]", 4}},
        {"9 Rho ]x[ y", true, {"9 Rho ]x", "", "", 9}},
        {"11 Sigma ] (Peru) [z", true, {"11 Sigma ] ", "Peru", "", 11}},
        {"5 Delta (USA)", false, {}},
        {"Games known:", false, {}},
        {"0 Omega [x]", false, {}},
        {"-4 Nu [x]", false, {}},
    };
    for (const auto& c : cases) {
        const std::string output = std::string(c.line) + "\r\n";
        const std::vector<GameRow> rows = ParseGameList(output);
        SCOPED_TRACE(c.line);
        if (!c.isGame) {
            EXPECT_TRUE(rows.empty());
            continue;
        }
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].game, c.row.game);
        EXPECT_EQ(rows[0].country, c.row.country);
        EXPECT_EQ(rows[0].infos, c.row.infos);
        EXPECT_EQ(rows[0].number, c.row.number);
    }
}

TEST(ParseGameList, OnlyCompleteLinesCountAndNothingIsMerged) {
    EXPECT_TRUE(ParseGameList("").empty());
    EXPECT_TRUE(ParseGameList("12 Alpha [x]").empty()) << "a line without LF is not a game";

    const std::vector<GameRow> rows =
        ParseGameList("Header\r\n2 B [x]\r\n2 B [x]\n1 A (J) [y]\r\n3 C [z]");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].number, 2);
    EXPECT_EQ(rows[1].number, 2);
    EXPECT_EQ(rows[2].game, "1 A ");
    EXPECT_EQ(rows[2].infos, " [y]") << "the CR before LF never reaches a column";
}

TEST(IsGameConfigured, NeedsAtLeastOneByteInTheOptionsFile) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "cfg");
    EXPECT_FALSE(IsGameConfigured(dir.Str(), 7));
    test::WriteBytes(emu::GameOptionsFile(dir.Str(), 7), "");
    EXPECT_FALSE(IsGameConfigured(dir.Str(), 7));
    test::WriteBytes(emu::GameOptionsFile(dir.Str(), 7), "x");
    EXPECT_TRUE(IsGameConfigured(dir.Str(), 7));
    test::WriteBytes(emu::GameOptionsFile(dir.Str(), 1234), "\r\n--renderer=a\r\n");
    EXPECT_TRUE(IsGameConfigured(dir.Str(), 1234));
}

TEST(ConfiguredGames, AgreesWithTheFileByFileRule) {
    test::TempDir dir;
    EXPECT_FALSE(ConfiguredGames(dir.Str()).IsConfigured(1)) << "no cfg folder at all";

    std::filesystem::create_directory(dir.Path() / "cfg");
    test::WriteBytes(emu::GameOptionsFile(dir.Str(), 1), "x");
    test::WriteBytes(emu::GameOptionsFile(dir.Str(), 2), "");
    test::WriteBytes(dir.File("cfg/VELMORA003.CFG"), "x");
    std::filesystem::create_directory(emu::GameOptionsFile(dir.Str(), 4));
    test::WriteBytes(emu::GameOptionsFile(dir.Str(), 1234), "--renderer=a\r\n");
    const ConfiguredGames configured(dir.Str());
    for (const int game : {1, 2, 3, 4, 5, 1234}) {
        EXPECT_EQ(configured.IsConfigured(game), IsGameConfigured(dir.Str(), game)) << game;
    }
    EXPECT_TRUE(configured.IsConfigured(1));
    EXPECT_TRUE(configured.IsConfigured(1234));
}

}  // namespace
}  // namespace velmora::games
