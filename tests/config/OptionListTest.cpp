#include <gtest/gtest.h>

#include <ostream>

#include "OptionList.h"

namespace velmora::config {
namespace {

struct ListCase {
    const char* name;
    std::string_view help;
    std::string_view list;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }
};

class OptionListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(OptionListTest, ListsBracketedOptionsAsWritten) {
    EXPECT_EQ(BuildOptionList(GetParam().help), GetParam().list);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    HelpTexts, OptionListTest,
    ::testing::Values(
        ListCase{"EmptyHelp", "", ""},
        ListCase{"ValuesOnlyManagedLeftOut", "zinc [--a=N] [--b] [--renderer=FILE] [--c=x]\r\n",
                 "--a=N\r\n--c=x\r\n"},
        ListCase{"EveryManagedOptionLeftOut",
                 "[--use-config-file=F] [--use-renderer-cfg-file=F] [x --renderer=y] [--d=1]",
                 "--d=1\r\n"},
        ListCase{"CloseBeforeOpenYieldsNothingThenGoesOn", "a] b [--a=1] c", "--a=1\r\n"},
        ListCase{"ManyClosesBeforeOpen", "]]]]=]]][--a=1]", "--a=1\r\n"},
        ListCase{"BracketInsideItem", "[x [y=1] z]", "x [y=1\r\n"},
        ListCase{"OpenWithoutCloseEndsScan", "[--a=1", ""},
        ListCase{"CloseWithoutOpenEndsScan", "--a=1] [", ""},
        ListCase{"NothingTrimmedDuplicatesKept", "[ --a = 1 ][ --a = 1 ]",
                 " --a = 1 \r\n --a = 1 \r\n"},
        ListCase{"EightBitTextUntouched", "[--t\xe9te=\xff]", "--t\xe9te=\xff\r\n"},
        ListCase{"NulInsideHelp", "[--a=\0]"sv, "--a=\0\r\n"sv}),
    [](const ::testing::TestParamInfo<ListCase>& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace velmora::config
