#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CRegKeyWalker.h"
#include "CRegSnapshot.h"
#include "SettingsSnapshot.h"
#include "SnapshotReader.h"
#include "StoreSupport.h"

namespace velmora::snapshot {
namespace {

using test::kPluginKey;
using test::PluginSettings;
using test::RecordingWalker;
using test::TempStore;

const std::string kHeader = "[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro";

// What the writer puts out for the sections given, each "<path>]\r\n<value lines>", in the
// value order the platform's store lists them.
std::string Exported(std::initializer_list<std::string> sections) {
    std::string text = "REGEDIT4\r\n\r\n";
    for (const std::string& section : sections) {
        text += "\r\n" + kHeader + section;
    }
    return test::InAnyValueOrder(text);
}

TEST(SnapshotReader, EveryTypeRoundTrips) {
    struct Case {
        std::uint32_t type;
        std::string bytes;
        std::uint32_t readType;
        std::string readBytes;
    };
    const std::string folder = "C:\\Games\\ZiNc\\";
    const std::string quoted = "say \"hi\" \\\\ twice";
    const std::string big(130000, '\xa5');
    const std::vector<Case> cases = {
        {reg::kRegDword, std::string("\x80\x02\x00\x01", 4), reg::kRegDword,
         std::string("\x80\x02\x00\x01", 4)},
        {reg::kRegDwordBigEndian, "\x01\x02\x03\x04", reg::kRegDword, "\x01\x02\x03\x04"},
        {reg::kRegSz, folder + '\0', reg::kRegSz, folder + '\0'},
        {reg::kRegSz, quoted + '\0', reg::kRegSz, quoted + '\0'},
        {reg::kRegSz, std::string("ab\0cd\0", 6), reg::kRegSz, std::string("ab\0", 3)},
        {reg::kRegExpandSz, "%P%", reg::kRegSz, std::string("%P%\0", 4)},
        {reg::kRegLink, std::string("\0", 1), reg::kRegSz, std::string("\0", 1)},
        {reg::kRegNone, "\x01", reg::kRegBinary, "\x01"},
        {reg::kRegBinary, std::string(60, '\x7f'), reg::kRegBinary, std::string(60, '\x7f')},
        {reg::kRegMultiSz, std::string("a\0b\0\0", 5), reg::kRegBinary, std::string("a\0b\0\0", 5)},
        {reg::kRegBinary, big, reg::kRegBinary, big},  // longer than any fixed buffer
        {reg::kRegBinary, "", reg::kRegBinary, std::string("\0", 1)},  // "hex:" reads as 0
    };
    for (const Case& c : cases) {
        TempStore from;
        reg::CRegValue value;
        ASSERT_TRUE(value.Allocate(c.bytes.size()));
        std::copy(c.bytes.begin(), c.bytes.end(), value.GetData());
        value.SetType(c.type);
        ASSERT_TRUE(reg::CRegKeyWalker(*from, reg::kHkeyCurrentUser)
                        .WriteValue(kPluginKey + "\\Sub", "", value));

        TempStore to;
        ASSERT_TRUE(RestoreSnapshotText(*to, PluginSettings(*from)));
        RecordingWalker walker(*to);
        EXPECT_TRUE(walker.Walk(kPluginKey, reg::kWalkValues));
        const std::string expected =
            "V 1 " + kPluginKey + "\\Sub  " + std::to_string(c.readType) + " " +
            test::Hex(reinterpret_cast<const std::uint8_t*>(c.readBytes.data()),
                      static_cast<std::uint32_t>(c.readBytes.size()));
        EXPECT_EQ(walker.calls, std::vector<std::string>{expected})
            << c.type << " " << c.bytes.size();
    }
}

TEST(SnapshotReader, ReadsWhatOtherFilesHoldAsTheKeyWasWritten) {
    struct Case {
        const char* what;
        std::string file;
        std::string settings;
    };
    const std::string a = "]\r\n\"a\"=dword:1\r\n";
    const Case cases[] = {
        {"an empty file clears the key", "", Exported({})},
        {"only the first line", "REGEDIT4\r\n\r\n", Exported({})},
        {"text before the first [ is ignored", "REGEDIT5 or anything\r\n" + kHeader + a,
         Exported({"]\r\n\"a\"=dword:00000001\r\n"})},
        {"a header in other letter case ends the import",
         kHeader + a + "[hkey_current_user\\Software\\Vision Thing\\PSEmu Pro\\B" + a + kHeader +
             "\\C" + a,
         Exported({"]\r\n\"a\"=dword:00000001\r\n"})},
        {"another root ends the import",
         "[HKEY_LOCAL_MACHINE\\Software]\r\n\"z\"=dword:1\r\n" + kHeader + a, Exported({})},
        {"a header without ] ends the import", kHeader + "\\A\r\n\"a\"=dword:1\r\n", Exported({})},
        {"the rest of a header line is ignored", kHeader + "\\A] ; note\r\n\"a\"=dword:1\r\n",
         Exported({"\\A]\r\n\"a\"=dword:00000001\r\n"})},
        {"an at-sign line ends the section's values",
         kHeader + "\\A]\r\n\"a\"=dword:1\r\n@=\"default\"\r\n\"b\"=dword:2\r\n\r\n" + kHeader +
             "\\B]\r\n\"c\"=dword:3\r\n",
         Exported({"\\A]\r\n\"a\"=dword:00000001\r\n", "\\B]\r\n\"c\"=dword:00000003\r\n"})},
        {"an unknown value kind is skipped",
         kHeader + "]\r\n\"x\"=hex(2):41,00\r\n\"y\"=unknown\r\n\"b\"=dword:2\r\n",
         Exported({"]\r\n\"b\"=dword:00000002\r\n"})},
        {"an indented continuation ends after its first element",
         kHeader + "]\r\n\"a\"=hex:01,02,\\\r\n  03,04\r\n\"b\"=hex:ff\r\n",
         Exported({"]\r\n\"a\"=hex:01,02,03\r\n\"b\"=hex:ff\r\n"})},
        {"a continuation on the last line", kHeader + "]\r\n\"a\"=hex:01,02,\\\r\n03",
         Exported({"]\r\n\"a\"=hex:01,02,03\r\n"})},
        {"elements are two digits each", kHeader + "]\r\n\"a\"=hex:1,2\r\n\"b\"=hex:0102,03\r\n",
         Exported({"]\r\n\"a\"=hex:01\r\n\"b\"=hex:02\r\n"})},
        {"hex: alone is one zero byte", kHeader + "]\r\n\"a\"=hex:\r\n",
         Exported({"]\r\n\"a\"=hex:00\r\n"})},
        {"a last line without line end is not stored",
         kHeader + "]\r\n\"a\"=dword:1\r\n\"b\"=dword:2",
         Exported({"]\r\n\"a\"=dword:00000001\r\n"})},
        {"dword numbers",
         kHeader + "]\r\n\"none\"=dword:\r\n\"wide\"=dword:123456789\r\n\"minus\"=dword:-10\r\n"
                   "\"prefix\"=dword: 0X1f\r\n\"junk\"=dword:zz\r\n",
         Exported({"]\r\n\"none\"=dword:00000000\r\n\"wide\"=dword:ffffffff\r\n"
                   "\"minus\"=dword:fffffff0\r\n\"prefix\"=dword:0000001f\r\n"
                   "\"junk\"=dword:00000000\r\n"})},
        {"quoted text and its escapes", kHeader + "]\r\n\"t\"=\"x\\\\y\\\"z\\q\" rest\r\n",
         Exported({"]\r\n\"t\"=\"x\\\\y\\\"z\\\\q\"\r\n"})},
        {"an unclosed text loses that value alone",
         kHeader + "]\r\n\"a\"=dword:1\r\n\"b\"=\"open\r\n\"c\"=dword:3\r\n",
         Exported({"]\r\n\"a\"=dword:00000001\r\n\"c\"=dword:00000003\r\n"})},
        {"a text runs on over line ends to a quote that ends a line",
         kHeader + "]\r\n\"t\"=\"one\r\ntwo \\\"x\\\"\"\r\n" + kHeader + "\\B" + a,
         Exported({"]\r\n\"t\"=\"one\r\ntwo \\\"x\\\"\"\r\n", "\\B]\r\n\"a\"=dword:00000001\r\n"})},
        {"a name holding a double quote runs to its quote and =",
         kHeader + "]\r\n\"a\"b\"=dword:1\r\n\"after\"=dword:2\r\n",
         Exported({"]\r\n\"a\"b\"=dword:00000001\r\n\"after\"=dword:00000002\r\n"})},
        {"a value given twice keeps the later one",
         kHeader + "]\r\n\"a\"=dword:1\r\n\"A\"=\"two\"\r\n", Exported({"]\r\n\"a\"=\"two\"\r\n"})},
        {"line feeds alone end lines", kHeader + "]\n\"a\"=dword:1\n\"b\"=dword:2\n",
         Exported({"]\r\n\"a\"=dword:00000001\r\n\"b\"=dword:00000002\r\n"})},
        {"carriage returns alone end lines", kHeader + "]\r\"a\"=dword:1\r",
         Exported({"]\r\n\"a\"=dword:00000001\r\n"})},
        {"one CR LF anywhere makes it the only line end",
         kHeader + "]\n\"a\"=dword:1\n\"b\"=dword:2\r\n", Exported({})},
        {"a zero byte ends the text",
         kHeader + "]\r\n\"a\"=dword:1\r\n" + std::string(1, '\0') + "\"b\"=dword:2\r\n",
         Exported({"]\r\n\"a\"=dword:00000001\r\n"})},
        {"a name runs to the next double quote", kHeader + "]\r\n\"a\r\nb\"=dword:1\r\n",
         Exported({"]\r\n\"a\r\nb\"=dword:00000001\r\n"})},
        {"each value goes to its own section's key, a key named again included",
         kHeader + "\\A" + a + kHeader + "\\B]\r\n\"b\"=\"x\"\r\n" + kHeader +
             "\\A]\r\n\"c\"=hex:0c\r\n",
         Exported({"\\A]\r\n\"a\"=dword:00000001\r\n\"c\"=hex:0c\r\n", "\\B]\r\n\"b\"=\"x\"\r\n"})},
    };
    for (const Case& c : cases) {
        TempStore store;
        ASSERT_TRUE(
            reg::CRegKeyWalker(*store, reg::kHkeyCurrentUser).WriteDword(kPluginKey, "old", 1));
        EXPECT_TRUE(RestoreSnapshotText(*store, c.file)) << c.what;
        EXPECT_EQ(PluginSettings(*store), c.settings) << c.what;
        EXPECT_EQ(store->OpenHandleCount(), 0u) << c.what;
    }
}

TEST(SnapshotReader, SectionsWithoutValuesCreateNoKey) {
    TempStore store;
    ImportSnapshotText(*store, kHeader + "\\Empty]\r\n\r\n" + kHeader +
                                   "\\Skipped]\r\n\"x\"=unknown\r\n" + kHeader +
                                   "\\Full]\r\n\"a\"=dword:1\r\n");
    for (const char* name : {"\\Empty", "\\Skipped", "\\Full"}) {
        reg::HKey key = 0;
        const bool exists = store->OpenKey(reg::kHkeyCurrentUser, kPluginKey + name, reg::kKeyRead,
                                           &key) == reg::kErrorSuccess;
        EXPECT_EQ(exists, std::string(name) == "\\Full") << name;
        if (exists) {
            store->CloseKey(key);
        }
    }
    EXPECT_EQ(store->OpenHandleCount(), 0u);
}

TEST(SnapshotReader, SiblingHeadersWriteBesideThePluginKey) {
    TempStore store;
    ImportSnapshotText(*store, kHeader + "2]\r\n\"a\"=dword:1\r\n");
    RecordingWalker walker(*store);
    EXPECT_TRUE(walker.Walk(kPluginKey + "2", reg::kWalkValues));
    EXPECT_EQ(walker.calls.size(), 1u);
}

TEST(SnapshotReader, HexNumbers) {
    struct Case {
        const char* text;
        std::uint32_t number;
    };
    const Case cases[] = {
        {"", 0},
        {"zz", 0},
        {"1f", 0x1f},
        {"FfFf", 0xffff},
        {" \t\v\f\r\n7", 7},
        {"+a", 0xa},
        {"-1", 0xffffffff},
        {"-0x10", 0xfffffff0},
        {"0x", 0},
        {"0xg", 0},
        {"ffffffff", 0xffffffff},
        {"100000000", 0xffffffff},
        {"-100000000", 0xffffffff},
        {"00000000000000012", 0x12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadHexNumber(c.text), c.number) << c.text;
    }
}

}  // namespace
}  // namespace velmora::snapshot
