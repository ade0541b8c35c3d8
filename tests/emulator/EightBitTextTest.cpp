#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "EightBitText.h"

namespace velmora::text {
namespace {

using namespace std::string_literals;

// A Latin-1 byte (0xA0 to 0xFF) as UTF-8: Windows-1252 reads those bytes as Latin-1 does.
std::string Latin1(int byte) {
    return {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
}

TEST(EightBitText, TextEndingInALeadByteIsWindows1252) {
    // Any byte that may begin a character, standing last, begins one that never ends.
    const struct {
        std::string bytes;
        std::string shown;  // as UTF-8
    } befores[] = {{"", ""}, {"Caf", "Caf"}, {"caf\xC3\xA9 ", "caf\xC3\x83\xC2\xA9 "}};
    for (int lead = 0xC2; lead <= 0xF4; ++lead) {
        for (const auto& before : befores) {
            const std::string bytes = before.bytes + static_cast<char>(lead);
            SCOPED_TRACE(testing::Message()
                         << "lead 0x" << std::hex << lead << " after \"" << before.bytes << "\"");
            EXPECT_FALSE(IsUtf8(bytes));
            EXPECT_EQ(EightBitToUtf8(bytes), before.shown + Latin1(lead));
        }
    }
}

TEST(EightBitText, ReadsUtf8OnlyWhenEveryCharacterIsWhole) {
    const struct {
        const char* name;
        std::string bytes;
        const char* shown;  // as UTF-8; nullptr: the bytes as they are, which are UTF-8
    } cases[] = {
        {"empty", "", nullptr},
        {"ASCII", "--renderer=gl.znc\r\n", nullptr},
        {"two bytes", "Caf\xC3\xA9", nullptr},
        {"three bytes", "\xE2\x82\xAC 5", nullptr},
        {"four bytes", "\xF0\x9F\x98\x80", nullptr},
        {"highest code point", "\xF4\x8F\xBF\xBF", nullptr},
        {"two bytes cut to one", "Caf\xC3", "Caf\xC3\x83"},
        {"three bytes cut to two", "x\xE2\x82", "x\xC3\xA2\xE2\x80\x9A"},
        {"three bytes cut to one", "x\xE2", "x\xC3\xA2"},
        {"four bytes cut to three", "x\xF0\x9F\x98", "x\xC3\xB0\xC5\xB8\xCB\x9C"},
        {"four bytes cut to two", "x\xF0\x9F", "x\xC3\xB0\xC5\xB8"},
        {"four bytes cut to one", "x\xF0", "x\xC3\xB0"},
        {"cut short before a line end", "Caf\xC3\r\n", "Caf\xC3\x83\r\n"},
        {"Windows-1252 letter", "Caf\xE9 au lait", "Caf\xC3\xA9 au lait"},
        {"Latin-1 folder name", "Jeux vid\xE9o", "Jeux vid\xC3\xA9o"},
        {"lone continuation byte", "\x80", "\xE2\x82\xAC"},
        {"overlong slash", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
        {"overlong three bytes", "\xE0\x80\xAF", "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},
        {"surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
        {"byte beyond any lead", "\xF5\x80\x80\x80",
         "\xC3\xB5\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsUtf8(c.bytes), c.shown == nullptr) << c.name;
        EXPECT_EQ(EightBitToUtf8(c.bytes), c.shown == nullptr ? c.bytes : c.shown) << c.name;
    }
}

// Where Windows-1252 differs from Latin-1: its 27 letters and signs from 0x80 to 0x9F, and the
// 5 bytes it gives none, which keep their C1 code points as Windows' own conversion does.
TEST(EightBitText, Windows1252LettersFrom0x80To0x9F) {
    const struct {
        unsigned char byte;
        char32_t code;
        const char* utf8;
    } table[] = {
        {0x80, U'\u20AC', "\xE2\x82\xAC"}, {0x81, U'\u0081', "\xC2\x81"},
        {0x82, U'\u201A', "\xE2\x80\x9A"}, {0x83, U'\u0192', "\xC6\x92"},
        {0x84, U'\u201E', "\xE2\x80\x9E"}, {0x85, U'\u2026', "\xE2\x80\xA6"},
        {0x86, U'\u2020', "\xE2\x80\xA0"}, {0x87, U'\u2021', "\xE2\x80\xA1"},
        {0x88, U'\u02C6', "\xCB\x86"},     {0x89, U'\u2030', "\xE2\x80\xB0"},
        {0x8A, U'\u0160', "\xC5\xA0"},     {0x8B, U'\u2039', "\xE2\x80\xB9"},
        {0x8C, U'\u0152', "\xC5\x92"},     {0x8D, U'\u008D', "\xC2\x8D"},
        {0x8E, U'\u017D', "\xC5\xBD"},     {0x8F, U'\u008F', "\xC2\x8F"},
        {0x90, U'\u0090', "\xC2\x90"},     {0x91, U'\u2018', "\xE2\x80\x98"},
        {0x92, U'\u2019', "\xE2\x80\x99"}, {0x93, U'\u201C', "\xE2\x80\x9C"},
        {0x94, U'\u201D', "\xE2\x80\x9D"}, {0x95, U'\u2022', "\xE2\x80\xA2"},
        {0x96, U'\u2013', "\xE2\x80\x93"}, {0x97, U'\u2014', "\xE2\x80\x94"},
        {0x98, U'\u02DC', "\xCB\x9C"},     {0x99, U'\u2122', "\xE2\x84\xA2"},
        {0x9A, U'\u0161', "\xC5\xA1"},     {0x9B, U'\u203A', "\xE2\x80\xBA"},
        {0x9C, U'\u0153', "\xC5\x93"},     {0x9D, U'\u009D', "\xC2\x9D"},
        {0x9E, U'\u017E', "\xC5\xBE"},     {0x9F, U'\u0178', "\xC5\xB8"},
    };
    static_assert(std::size(table) == 32);
    for (const auto& t : table) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << int{t.byte});
        EXPECT_EQ(FromWindows1252(t.byte), t.code);
        EXPECT_EQ(ToWindows1252(t.code), t.byte);
        EXPECT_EQ(EightBitToUtf8(std::string(1, static_cast<char>(t.byte))), t.utf8);
    }
}

TEST(EightBitText, Windows1252GivesEveryByteACharacterAndBack) {
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const char32_t c = FromWindows1252(static_cast<unsigned char>(byte));
        ASSERT_EQ(ToWindows1252(c), static_cast<unsigned char>(byte)) << byte;
        if (byte < 0x80 || byte >= 0xA0) {
            EXPECT_EQ(c, static_cast<char32_t>(byte)) << "ASCII and Latin-1 as they are";
        }
    }
    for (const char32_t none : {U'\u0080', U'\u009F', U'\u0100', U'\u2713', U'\U0001F600'}) {
        EXPECT_FALSE(ToWindows1252(none).has_value()) << static_cast<unsigned>(none);
    }
}

}  // namespace
}  // namespace velmora::text
