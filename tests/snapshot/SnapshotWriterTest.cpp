#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CRegKeyWalker.h"
#include "CRegSnapshot.h"
#include "StoreSupport.h"

namespace velmora::snapshot {
namespace {

using test::kPluginKey;
using test::PluginSettings;
using test::TempStore;

std::string HexText(size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    reg::CRegValue value;
    EXPECT_TRUE(value.SetBinary(bytes.data(), bytes.size()));
    return ValueText(value);
}

// Elements on each line of a hex list.
std::vector<size_t> ElementsPerLine(const std::string& text) {
    std::vector<size_t> counts;
    size_t begin = 0;
    for (;;) {
        const size_t end = text.find("\\\r\n", begin);
        const std::string line = text.substr(begin, end == std::string::npos ? end : end - begin);
        counts.push_back(static_cast<size_t>(std::count(line.begin(), line.end(), ',')) +
                         (end == std::string::npos ? 1 : 0));
        if (end == std::string::npos) {
            return counts;
        }
        begin = end + 3;
    }
}

TEST(SnapshotWriter, WritesTheVideoExampleByteForByte) {
    TempStore store;
    reg::CRegKeyWalker writer(*store, reg::kHkeyCurrentUser);
    ASSERT_TRUE(writer.WriteDword(kPluginKey + "\\Video", "Width", 640));
    ASSERT_TRUE(writer.WriteString(kPluginKey + "\\Video", "Folder", "C:\\Games\\ZiNc\\"));
    const std::uint8_t table[] = {1, 2, 255};
    ASSERT_TRUE(writer.WriteBinary(kPluginKey + "\\Video\\Extra", "Table", table, 3));

    EXPECT_EQ(PluginSettings(*store),
              test::InAnyValueOrder(
                  "REGEDIT4\r\n"
                  "\r\n"
                  "\r\n"
                  "[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro\\Video]\r\n"
                  "\"Width\"=dword:00000280\r\n"
                  "\"Folder\"=\"C:\\\\Games\\\\ZiNc\\\\\"\r\n"
                  "\r\n"
                  "[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro\\Video\\Extra]\r\n"
                  "\"Table\"=hex:01,02,ff\r\n"));
}

TEST(SnapshotWriter, KeysWithoutValuesGetNoSection) {
    TempStore store;
    EXPECT_EQ(PluginSettings(*store), "REGEDIT4\r\n\r\n");

    reg::CRegKeyWalker writer(*store, reg::kHkeyCurrentUser);
    ASSERT_TRUE(writer.WriteDword(kPluginKey + "\\Empty\\Leaf", "", 1));
    ASSERT_TRUE(writer.WriteDword(kPluginKey, "", 0xfffffffe));
    EXPECT_EQ(PluginSettings(*store),
              "REGEDIT4\r\n\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro]\r\n"
              "\"\"=dword:fffffffe\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro\\Empty\\Leaf]\r\n"
              "\"\"=dword:00000001\r\n");
}

TEST(SnapshotWriter, HexListsBreakAfterEvery24thByte) {
    EXPECT_EQ(HexText(0), "hex:");
    EXPECT_EQ(HexText(1), "hex:00");
    EXPECT_EQ(HexText(26),
              "hex:00,07,0e,15,1c,23,2a,31,38,3f,46,4d,54,5b,62,69,70,77,7e,85,8c,93,9a,a1,a8,"
              "\\\r\naf");
    struct Case {
        size_t bytes;
        std::vector<size_t> lines;
    };
    const Case cases[] = {
        {1, {1}}, {25, {25}}, {26, {25, 1}}, {49, {25, 24}}, {50, {25, 24, 1}}, {60, {25, 24, 11}},
    };
    for (const Case& c : cases) {
        const std::string text = HexText(c.bytes);
        EXPECT_EQ(ElementsPerLine(text), c.lines) << c.bytes;
        EXPECT_NE(text.back(), ',') << c.bytes;
    }
}

TEST(SnapshotWriter, ValueTextByType) {
    struct Case {
        std::uint32_t type;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {reg::kRegDwordBigEndian, "\x01\x02\x03\x04", "dword:04030201"},
        {reg::kRegDword, "\x80\x01", "dword:00000180"},  // short: only its own bytes
        {reg::kRegSz, "a\"b\\\\c\\", "\"a\\\"b\\\\\\\\c\\\\\""},
        {reg::kRegSz, "no zero", "\"no zero\""},
        {reg::kRegExpandSz, std::string("%WINDIR%\0junk", 13), "\"%WINDIR%\""},
        {reg::kRegLink, std::string("\0", 1), "\"\""},
        {reg::kRegNone, "\x01", "hex:01"},
        {reg::kRegMultiSz, std::string("a\0\0", 3), "hex:61,00,00"},
        {11, "\x01\x02\x03\x04\x05\x06\x07\x08", "hex:01,02,03,04,05,06,07,08"},
    };
    for (const Case& c : cases) {
        reg::CRegValue value;
        ASSERT_TRUE(value.Allocate(c.bytes.size()));
        std::copy(c.bytes.begin(), c.bytes.end(), value.GetData());
        value.SetType(c.type);
        EXPECT_EQ(ValueText(value), c.text) << c.type;
    }
}

}  // namespace
}  // namespace velmora::snapshot
