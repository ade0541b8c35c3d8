#include <gtest/gtest.h>

#include <string>

#include "EightBitText.h"

namespace velmora::text {
namespace {

using namespace std::string_literals;

// Windows-1252 bytes as the UTF-8 they read as, for the expectations below.
std::string Cp1252(const std::string& bytes) {
    std::string utf8;
    for (const char c : bytes) {
        AppendUtf8(FromWindows1252(static_cast<unsigned char>(c)), utf8);
    }
    return utf8;
}

TEST(EightBitText, TextEndingInALeadByteIsWindows1252) {
    // Any byte that may begin a character, standing last, begins one that never ends.
    for (int lead = 0xC2; lead <= 0xF4; ++lead) {
        for (const std::string& before : {""s, "Caf"s, "caf\xC3\xA9 "s}) {
            const std::string bytes = before + static_cast<char>(lead);
            SCOPED_TRACE(testing::Message()
                         << "lead 0x" << std::hex << lead << " after \"" << before << "\"");
            EXPECT_FALSE(IsUtf8(bytes));
            EXPECT_EQ(EightBitToUtf8(bytes), Cp1252(bytes));
        }
    }
}

TEST(EightBitText, ReadsUtf8OnlyWhenEveryCharacterIsWhole) {
    const struct {
        const char* name;
        std::string bytes;
        bool utf8;
    } cases[] = {
        {"empty", "", true},
        {"ASCII", "--renderer=gl.znc\r\n", true},
        {"two bytes", "Caf\xC3\xA9", true},
        {"three bytes", "\xE2\x82\xAC 5", true},
        {"four bytes", "\xF0\x9F\x98\x80", true},
        {"highest code point", "\xF4\x8F\xBF\xBF", true},
        {"two bytes cut to one", "Caf\xC3", false},
        {"three bytes cut to two", "x\xE2\x82", false},
        {"three bytes cut to one", "x\xE2", false},
        {"four bytes cut to three", "x\xF0\x9F\x98", false},
        {"four bytes cut to two", "x\xF0\x9F", false},
        {"four bytes cut to one", "x\xF0", false},
        {"cut short before a line end", "Caf\xC3\r\n", false},
        {"Windows-1252 letter", "Caf\xE9 au lait", false},
        {"lone continuation byte", "\x80", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"byte beyond any lead", "\xF5\x80\x80\x80", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsUtf8(c.bytes), c.utf8) << c.name;
        EXPECT_EQ(EightBitToUtf8(c.bytes), c.utf8 ? c.bytes : Cp1252(c.bytes)) << c.name;
    }
    EXPECT_EQ(EightBitToUtf8("Caf\xC3"), "Caf\xC3\x83");
    EXPECT_EQ(EightBitToUtf8("Jeux vid\xE9o"), "Jeux vid\xC3\xA9o");
    EXPECT_EQ(EightBitToUtf8("\x80\x9F"), "\xE2\x82\xAC\xC5\xB8");
}

TEST(EightBitText, Windows1252GivesEveryByteACharacterAndBack) {
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const char32_t c = FromWindows1252(static_cast<unsigned char>(byte));
        ASSERT_EQ(ToWindows1252(c), static_cast<unsigned char>(byte)) << byte;
    }
    const struct {
        unsigned char byte;
        char32_t code;
    } known[] = {{0x41, U'A'},      {0x80, U'\u20AC'}, {0x81, U'\u0081'},
                 {0x8C, U'\u0152'}, {0x9D, U'\u009D'}, {0x9F, U'\u0178'},
                 {0xA0, U'\u00A0'}, {0xE9, U'\u00E9'}, {0xFF, U'\u00FF'}};
    for (const auto& k : known) {
        EXPECT_EQ(FromWindows1252(k.byte), k.code) << int{k.byte};
    }
    for (const char32_t none : {U'\u0080', U'\u009F', U'\u0100', U'\u2713', U'\U0001F600'}) {
        EXPECT_FALSE(ToWindows1252(none).has_value()) << static_cast<unsigned>(none);
    }
}

}  // namespace
}  // namespace velmora::text
