#include <gtest/gtest.h>

#include <string>

#include "CRegValue.h"
#include "RegistryBackend.h"
#include "StoreSupport.h"

namespace velmora::reg {
namespace {

using test::Hex;

std::string Bytes(const CRegValue& value) {
    return Hex(value.GetData(), value.GetSize());
}

// A value of `type` holding exactly `bytes`, with nothing allocated beyond them, so that the
// sanitizers catch any read past the value's size.
void Fill(CRegValue& value, std::uint32_t type, const std::string& bytes) {
    ASSERT_TRUE(value.Allocate(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), value.GetData());
    value.SetType(type);
}

TEST(CRegValue, SetStringWithoutTextHoldsOneZeroByte) {
    CRegValue value(std::string_view{});
    EXPECT_EQ(value.GetType(), kRegSz);
    EXPECT_EQ(Bytes(value), "00");
    ASSERT_TRUE(value.SetBinary(nullptr, 0));
    EXPECT_EQ(value.GetType(), kRegBinary);
    EXPECT_EQ(value.GetSize(), 0u);
}

TEST(CRegValue, GetDwordReadsStorageOrderAndStaysWithinTheValue) {
    struct Case {
        std::uint32_t type;
        std::string bytes;
        bool ok;
        std::uint32_t number;
    };
    const Case cases[] = {
        {kRegDword, "\x01\x02\x03\x04", true, 0x04030201},
        {kRegDwordBigEndian, "\x01\x02\x03\x04", true, 0x04030201},  // not swapped
        {kRegDword, "\x01\x02", true, 0x0201},
        {kRegDword, "", true, 0},
        {kRegDword, "\x01\x02\x03\x04\x05", true, 0x04030201},
        {kRegSz, "\x01\x02\x03\x04", false, 0xdeadbeef},
        {kRegBinary, "\x01\x02\x03\x04", false, 0xdeadbeef},
    };
    for (const Case& c : cases) {
        CRegValue value;
        Fill(value, c.type, c.bytes);
        std::uint32_t number = 0xdeadbeef;
        EXPECT_EQ(value.GetDword(number), c.ok) << c.type << " " << c.bytes.size();
        EXPECT_EQ(number, c.number) << c.type << " " << c.bytes.size();
    }
}

TEST(CRegValue, GetStringEndsAtZeroByteOrSize) {
    struct Case {
        std::uint32_t type;
        std::string bytes;
        bool ok;
        std::string text;
    };
    const Case cases[] = {
        {kRegSz, std::string("abc\0def", 7), true, "abc"},
        {kRegExpandSz, std::string("%P%\0", 4), true, "%P%"},
        {kRegLink, "link", true, "link"},  // no zero byte at all
        {kRegSz, "", true, ""},
        {kRegMultiSz, std::string("a\0b\0\0", 5), false, "untouched"},
        {kRegDword, "abcd", false, "untouched"},
    };
    for (const Case& c : cases) {
        CRegValue value;
        Fill(value, c.type, c.bytes);
        std::string text = "untouched";
        EXPECT_EQ(value.GetString(text), c.ok) << c.type << " " << c.bytes;
        EXPECT_EQ(text, c.text) << c.type << " " << c.bytes;
    }
}

}  // namespace
}  // namespace velmora::reg
