#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CRegKeyWalker.h"
#include "Contract.h"
#include "FileIo.h"
#include "FileSizeLimit.h"
#include "SettingsSnapshot.h"
#include "StoreSupport.h"

namespace velmora::snapshot {
namespace {

using test::kPluginKey;
using test::PluginSettings;
using test::ProbeBackend;
using test::ReadBytes;
using test::TempStore;
using test::WriteBytes;

const std::string kOneValue =
    "REGEDIT4\r\n\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro\\Sound]\r\n"
    "\"Volume\"=dword:00000003\r\n";

class SettingsSnapshotFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(m_store.Dir().File("cfg"));
        m_file = emu::SnapshotFile(m_store.Dir().Str(), 7);
        ASSERT_TRUE(reg::CRegKeyWalker(*m_store, reg::kHkeyCurrentUser)
                        .WriteDword(kPluginKey + "\\Sound", "Volume", 3));
    }

    TempStore m_store;
    std::string m_file;
};

TEST_F(SettingsSnapshotFile, SavesAndRestoresTheWholeKey) {
    ASSERT_TRUE(SaveSettingsSnapshot(*m_store, m_file));
    EXPECT_EQ(ReadBytes(m_file), kOneValue);
    EXPECT_TRUE(m_file.ends_with("Velmora007_registry.cfg"));

    reg::CRegKeyWalker(*m_store, reg::kHkeyCurrentUser).WriteDword(kPluginKey, "other game", 1);
    ASSERT_TRUE(RestoreSettingsSnapshot(*m_store, m_file));
    EXPECT_EQ(PluginSettings(*m_store), kOneValue);

    reg::CRegKeyWalker(*m_store, reg::kHkeyCurrentUser).DeleteTree(kPluginKey);
    ASSERT_TRUE(SaveSettingsSnapshot(*m_store, m_file));
    EXPECT_EQ(ReadBytes(m_file), "REGEDIT4\r\n\r\n");
}

TEST_F(SettingsSnapshotFile, LineBreaksAndQuotesInTextsAndNamesCostNothing) {
    // Texts and names are written as they stand: a plugin's line breaks and a name's double
    // quote must not take the values and sections after them down on the way back.
    reg::CRegKeyWalker walker(*m_store, reg::kHkeyCurrentUser);
    ASSERT_TRUE(walker.WriteString(kPluginKey + "\\Sound", "Notes", "one\r\ntwo\nthree\rfour"));
    ASSERT_TRUE(walker.WriteString(kPluginKey + "\\Sound", "Quoted", "say \"hi\"\r\n"));
    ASSERT_TRUE(walker.WriteDword(kPluginKey + "\\Sound", "odd\"name", 7));
    ASSERT_TRUE(walker.WriteDword(kPluginKey + "\\Sound", "After", 9));
    ASSERT_TRUE(walker.WriteString(kPluginKey + "\\Video", "Path", "C:\\x\r\n"));
    ASSERT_TRUE(walker.WriteDword(kPluginKey + "\\Video", "Width", 640));
    const std::string before = PluginSettings(*m_store);

    ASSERT_TRUE(SaveSettingsSnapshot(*m_store, m_file));
    walker.DeleteTree(kPluginKey);
    ASSERT_TRUE(RestoreSettingsSnapshot(*m_store, m_file));
    EXPECT_EQ(PluginSettings(*m_store), before);
}

TEST_F(SettingsSnapshotFile, FilesThatCannotBeReadLeaveTheKeyAlone) {
    EXPECT_FALSE(RestoreSettingsSnapshot(*m_store, m_file));  // no file yet
    std::filesystem::create_directory(m_file);                // opens, but reads fail
    EXPECT_FALSE(RestoreSettingsSnapshot(*m_store, m_file));
    EXPECT_EQ(PluginSettings(*m_store), kOneValue);
    EXPECT_EQ(m_store->OpenHandleCount(), 0u);
}

TEST_F(SettingsSnapshotFile, EmptyFileClearsTheKey) {
    WriteBytes(m_file, "");
    EXPECT_TRUE(RestoreSettingsSnapshot(*m_store, m_file));
    EXPECT_EQ(PluginSettings(*m_store), "REGEDIT4\r\n\r\n");
}

TEST_F(SettingsSnapshotFile, FailedSaveLeavesThePreviousFileWhole) {
    WriteBytes(m_file, "previous");
#ifndef _WIN32  // Windows cannot limit a file's size: no full disk to write to
    {
        const test::FileSizeLimit fullDisk(20);
        EXPECT_FALSE(SaveSettingsSnapshot(*m_store, m_file));
    }
    EXPECT_EQ(ReadBytes(m_file), "previous");
#endif

    // A key that can only be read in part is not saved as if that were all of it.
    ProbeBackend probe(*m_store);
    probe.failEnumValueCall = 1;
    EXPECT_FALSE(SaveSettingsSnapshot(probe, m_file));
    EXPECT_EQ(ReadBytes(m_file), "previous");

    EXPECT_FALSE(SaveSettingsSnapshot(*m_store, m_store.Dir().File("no-cfg/x_registry.cfg")));
    EXPECT_FALSE(std::filesystem::exists(m_store.Dir().File("no-cfg")));
}

TEST_F(SettingsSnapshotFile, RestoreThatCannotCommitLeavesTheStoreAsItWas) {
#ifdef _WIN32
    GTEST_SKIP() << "the registry has no transactions: each value stands alone";
#endif
    WriteBytes(m_file,
               "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro]"
               "\r\n\"new\"=dword:1\r\n");
    ProbeBackend probe(*m_store);
    probe.failCommit = true;
    EXPECT_FALSE(RestoreSettingsSnapshot(probe, m_file));
    EXPECT_EQ(PluginSettings(*m_store), kOneValue);
}

}  // namespace
}  // namespace velmora::snapshot
