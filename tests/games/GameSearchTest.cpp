#include "GameSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora::games {
namespace {

// Game texts as the emulator prints them: some names in Windows-1252, one in UTF-8.
const std::vector<std::string> kGameTexts = {
    "1 Starfield Courier ",  // 0
    "2 Lantern Drift ",      // 1
    "14 Caf\xe9 Racer ",     // 2  Windows-1252 é
    "15 Night Lantern ",     // 3
    "21 \xc9lan ",           // 4  Windows-1252 É
    "22 Caf\xc3\xa9 Noir ",  // 5  UTF-8 é
    "140 \x8cuvre ",         // 6  Windows-1252 Œ (0x8C), outside Latin-1
    "  8 Iota ",             // 7  blanks before the number
    "141 M\xfcnster\xff ",   // 8  Windows-1252 ü and ÿ
};

std::vector<GameRow> Rows(const std::vector<std::string>& texts) {
    std::vector<GameRow> rows;
    for (const std::string& text : texts) {
        rows.push_back({.game = text, .country = {}, .infos = {}, .number = 0});
    }
    return rows;
}

struct Case {
    const char* what;
    int current;
    const char* search;  // UTF-8, as typed
    int expected;
};

class FindGameRowTest : public ::testing::TestWithParam<Case> {};

TEST_P(FindGameRowTest, FindsTheRow) {
    const Case& c = GetParam();
    EXPECT_EQ(FindGameRow(Rows(kGameTexts), c.current, c.search), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Search, FindGameRowTest,
    ::testing::Values(
        // Digits: the start of the game text, as the list has always found game numbers.
        Case{"no current row: from the top", -1, "1", 0},
        Case{"one key starts after the current row", 0, "1", 2},
        Case{"more keys keep a current row that still fits", 2, "14", 2},
        Case{"more keys move on when it no longer fits", 2, "140", 6},
        Case{"wraps round to the top", 6, "1", 8}, Case{"wraps past the end", 8, "1", 0},
        Case{"a digit search never looks at names", -1, "9", -1},
        Case{"letters after the number count too", -1, "14 c", 2},
        // Names: their start first, then anywhere in them.
        Case{"name start", -1, "lan", 1},
        Case{"a name start further on beats a nearer name holding it", 2, "lan", 1},
        Case{"anywhere in the name when no name starts with it", -1, "ntern", 1},
        Case{"anywhere, from the current row on", 2, "ntern", 3},
        Case{"the number is not part of the name", -1, "4 caf", -1},
        Case{"blanks before the number are skipped", -1, "iota", 7},
        Case{"case does not count", -1, "sTaRF", 0}, Case{"nothing fits", 3, "xyz", -1},
        Case{"an empty search finds nothing", 3, "", -1},
        // Letters beyond ASCII, compared as shown: Windows-1252 rows and UTF-8 rows alike.
        Case{"typed é finds the Windows-1252 É", -1, "\xc3\xa9", 4},
        Case{"typed É finds the Windows-1252 é", 1, "CAF\xc3\x89", 2},
        Case{"the same word in a UTF-8 row", 3, "caf\xc3\xa9", 5},
        Case{"typed Œ finds the Windows-1252 œ byte 0x8C", -1, "\xc5\x93uv", 6},
        Case{"typed Ÿ finds the Windows-1252 ÿ", -1, "R\xc5\xb8", 8},
        Case{"typed Ü anywhere in a name", -1, "\xc3\x9cnst", 8}));

TEST(FindGameRow, NoRowsFindNothing) {
    EXPECT_EQ(FindGameRow({}, -1, "a"), -1);
    EXPECT_EQ(FindGameRow({}, 0, "1"), -1);
}

TEST(FindGameRow, CurrentRowOutOfRangeSearchesFromTheTop) {
    EXPECT_EQ(FindGameRow(Rows(kGameTexts), 99, "1"), 0);
}

TEST(GameName, FollowsTheNumberAndItsBlanks) {
    const std::pair<const char*, const char*> cases[] = {
        {"14 Caf\xe9 ", "Caf\xe9 "}, {"  8\tIota ", "Iota "}, {"+9 Sign", "Sign"}, {"12", ""},
        {"Games", "Games"},          {"1942 1943 ", "1943 "},
    };
    for (const auto& [text, name] : cases) {
        EXPECT_EQ(GameName(text), name) << text;
    }
}

TEST(AppendFolded, ReadsUtf8OnlyWhenWellFormed) {
    // Results are UTF-8.
    const std::pair<std::string, std::string> cases[] = {
        {"AZ az", "az az"},
        {"\xc0\xde\xd7\xdf", "\xc3\xa0\xc3\xbe\xc3\x97\xc3\x9f"},  // À Þ fold, × ß stay
        {"\x8a\x8c\x8e\x9f\x80", "\xc5\xa1\xc5\x93\xc5\xbe\xc3\xbf\xe2\x82\xac"},  // Š Œ Ž Ÿ €
        {"\x81", "\xc2\x81"},                              // unassigned: its C1 code point
        {"\xc3\x89\xe2\x82\xac", "\xc3\xa9\xe2\x82\xac"},  // UTF-8 É and €
        {"\xf0\x9f\x8e\xae", "\xf0\x9f\x8e\xae"},          // four bytes
        {"\xc0\xaf", "\xc3\xa0\xc2\xaf"},                  // overlong: Windows-1252
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xe2\x82\xac"},  // a surrogate: Windows-1252
        {"Caf\xc3", "caf\xc3\xa3"},                        // cut short: Windows-1252
        {"\xc3\xa9\xe9", "\xc3\xa3\xc2\xa9\xc3\xa9"},      // one bad byte decides
    };
    for (const auto& [bytes, folded] : cases) {
        std::string out = "x";
        AppendFolded(bytes, out);
        EXPECT_EQ(out, "x" + folded) << bytes;
    }
}

}  // namespace
}  // namespace velmora::games
