#include <gtest/gtest.h>

#include <string>

#include "TextRules.h"

namespace velmora::text {
namespace {

// The rules every reader of the emulator's files shares: a change here changes how options,
// game lines, snapshot numbers and file names are read, all at once.
TEST(TextRules, ReadEightBitTextAsTheCLibraryDoes) {
    const struct {
        std::string text;
        std::string trimmedLeft;
        std::string trimmedRight;
        std::string folded;
    } cases[] = {
        {"", "", "", ""},
        {" \t\r\n\v\f", "", "", " \t\r\n\v\f"},
        {"  12 Alpha ", "12 Alpha ", "  12 Alpha", "  12 alpha "},
        {"\t+4 Nu\r\n", "+4 Nu\r\n", "\t+4 Nu", "\t+4 nu\r\n"},
        {"\xa0x\xa0", "\xa0x\xa0", "\xa0x\xa0", "\xa0x\xa0"},  // no-break space is no white space
        {"Caf\xc9 \xc9", "Caf\xc9 \xc9", "Caf\xc9 \xc9", "caf\xc9 \xc9"},  // only ASCII folds
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimLeft(c.text), c.trimmedLeft) << c.text;
        EXPECT_EQ(TrimRight(std::string_view(c.text)), c.trimmedRight) << c.text;
        std::string trimmed = c.text;
        TrimRight(trimmed);
        EXPECT_EQ(trimmed, c.trimmedRight) << c.text;
        EXPECT_EQ(FoldCase(c.text), c.folded) << c.text;
    }
}

TEST(TextRules, CompareLettersWithoutRegardToCase) {
    EXPECT_TRUE(StartsWithIgnoringCase("libVelmora_GL.so", "LIBVELMORA"));
    EXPECT_TRUE(StartsWithIgnoringCase("abc", ""));
    EXPECT_FALSE(StartsWithIgnoringCase("ab", "abc"));
    EXPECT_FALSE(StartsWithIgnoringCase("\xe9t\xe9", "\xc9T\xc9"))
        << "no letter outside ASCII folds";
    EXPECT_TRUE(LessIgnoringCase("alpha", "BETA"));
    EXPECT_FALSE(LessIgnoringCase("BETA", "alpha"));
    EXPECT_FALSE(LessIgnoringCase("Same", "sAME"));
    EXPECT_TRUE(LessIgnoringCase("z", "\xe9")) << "bytes above 0x7F sort after ASCII";
}

}  // namespace
}  // namespace velmora::text
