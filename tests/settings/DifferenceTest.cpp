// What a user reads about the difference between two of a game's settings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsDifference.h"

namespace velmora::settings {
namespace {

std::string Snapshot(const std::string& values) {
    return "REGEDIT4\r\n\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro\\Video]\r\n" +
           values;
}

const GameSettings kBefore{{"--a=1\r\n--b=2\r\n--c=3\r\n\r\n--renderer=plain.so\r\n", "w=1\r\n",
                            Snapshot("\"Width\"=dword:00000280\r\n\"Height\"=dword:000001e0\r\n"
                                     "\"Name\"=\"old\"\r\n\"Gone\"=hex:01\r\n")}};

TEST(DifferenceTest, TheSummarySaysWhatDiffersInOneLine) {
    const struct {
        const char* name;
        GameSettings after;
        const char* summary;
    } cases[] = {
        {"the same", kBefore, "no difference"},
        {"the line ends and the managed options' places do not count",
         {{"--renderer=plain.so\n--a=1\n--b=2\n--c=3\n", "w=1", kBefore.files[2]}},
         "no difference"},
        {"the example",
         {{"--a=1\r\n--b=20\r\n--c=30\r\n--renderer=gl.so\r\n", "w=1\r\n",
           Snapshot("\"Width\"=dword:00000400\r\n\"Height\"=dword:00000300\r\n"
                    "\"Name\"=\"new\"\r\n\"Gone\"=hex:01\r\n")}},
         "options: 2 lines changed; renderer: plain.so \xE2\x86\x92 gl.so; plugin settings: 3 "
         "values changed"},
        {"added and removed",
         {{"--a=1\r\n--b=2\r\n--c=3\r\n--d=4\r\n--renderer=plain.so\r\n", "",
           Snapshot("\"Width\"=dword:00000280\r\n\"Height\"=dword:000001e0\r\n"
                    "\"Name\"=\"old\"\r\n\"New\"=hex:02\r\n\"Newer\"=hex:03\r\n")}},
         "options: 1 line added; renderer options: 1 line removed; plugin settings: 2 values "
         "added, 1 removed"},
        {"changed and added",
         {{"--a=1\r\n--b=5\r\n--c=3\r\n--d=4\r\n--e=5\r\n--renderer=plain.so\r\n", "w=1\r\n",
           kBefore.files[2]}},
         "options: 1 line changed, 2 added"},
        {"no files at all",
         {},
         "options: 3 lines removed; renderer: plain.so \xE2\x86\x92 none; renderer options: 1 "
         "line removed; plugin settings: 4 values removed"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Summary(Difference(kBefore, c.after)), c.summary) << c.name;
    }
    EXPECT_EQ(Summary(Difference(kBefore, cases[2].after), " -> "),
              "options: 2 lines changed; renderer: plain.so -> gl.so; plugin settings: 3 values "
              "changed");
}

TEST(DifferenceTest, TheDetailShowsLinesAndValuesByKeyAndName) {
    const GameSettings after{{"--a=1\r\n--b=2\r\n--d=4\r\n--renderer=plain.so\r\n", "w=1\r\n",
                              Snapshot("\"Width\"=dword:00000400\r\n\"Height\"=dword:000001e0\r\n"
                                       "\"Name\"=\"two\r\nlines\"\r\n\"\"=\"default\"\r\n")}};
    const std::vector<std::string> expected = {
        "Options:",
        "+ --d=4",
        "- --c=3",
        "Plugin settings:",
        "+ PSEmu Pro\\Video: \"\"=\"default\"",
        "- PSEmu Pro\\Video: \"Gone\"=hex:01",
        "* PSEmu Pro\\Video: \"Name\"=\"old\" -> \"two\\r\\nlines\"",
        "* PSEmu Pro\\Video: \"Width\"=dword:00000280 -> dword:00000400",
    };
    EXPECT_EQ(DetailLines(Difference(kBefore, after), " -> "), expected);
}

}  // namespace
}  // namespace velmora::settings
