// Two Velmoras on one emulator folder and one plugin settings store: both configure and start
// the same game at once, and one holds the store locked for longer than the other will wait.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Child.h"
#include "Sanitizers.h"
#include "SaveRounds.h"
#include "TempDir.h"

namespace velmora::faults {
namespace {

namespace fs = std::filesystem;

class TwoProcessTest : public ::testing::Test {
protected:
    TwoProcessTest() {
        fs::create_directories(fs::path(EmulatorDir()) / "cfg");
        fs::create_directories(m_dir.Path() / "scratch" / "cfg");
        fs::copy_file(VELMORA_STANDIN_PATH, fs::path(EmulatorDir()) / "ZINC.EXE");
        // Round 0 is what the folder and the store hold before either starts.
        const auto store = reg::OpenSqliteRegistry(StorePath());
        EXPECT_TRUE(store && PutPluginSettings(*store, 0) && SaveFiles(EmulatorDir(), *store, 0));
    }

    std::string EmulatorDir() const { return m_dir.File("My Games zinc"); }
    std::string StorePath() const { return m_dir.File("registry.sqlite"); }
    std::string Snapshot() const { return PerGameFile(EmulatorDir(), kSnapshot); }

    test::TempDir m_dir{"velmora-two", test::MemoryFolder()};
    ExpectedFiles m_expected{m_dir.File("scratch")};
};

TEST_F(TwoProcessTest, ConfiguringAndStartingTheSameGameAtOnceLeavesEveryFileWhole) {
    // As with the kills, the sanitizer build makes a quarter of the cycles.
#ifdef VELMORA_ASAN
    const std::string cycles = "25";
#else
    const std::string cycles = "100";
#endif
    Child one({VELMORA_SESSION_WORKER, EmulatorDir(), StorePath(), "1", "2", cycles});
    Child two({VELMORA_SESSION_WORKER, EmulatorDir(), StorePath(), "2", "1", cycles});
    ASSERT_TRUE(one.Started() && two.Started());
    EXPECT_EQ(one.Wait(), 0);
    EXPECT_EQ(two.Wait(), 0);

    for (int kind = 0; kind < kFileKinds; ++kind) {
        const std::string bytes = test::ReadBytes(PerGameFile(EmulatorDir(), FileKind(kind)));
        EXPECT_TRUE(m_expected.Match(FileKind(kind), bytes, std::vector<int>{1, 2}))
            << PerGameFile(EmulatorDir(), FileKind(kind));
    }
    reg::testing::SetSqliteBusyTimeout(0);  // a lock left behind shows at once
    const auto store = reg::OpenSqliteRegistry(StorePath());
    reg::testing::SetSqliteBusyTimeout(10000);
    ASSERT_NE(store, nullptr);
    ASSERT_TRUE(store->BeginTransaction()) << "the store was left locked";
    EXPECT_TRUE(m_expected.Match(kSnapshot, snapshot::ExportSnapshotText(*store).value_or(""),
                                 std::vector<int>{1, 2}));
    store->CommitTransaction();
}

TEST_F(TwoProcessTest, AStoreLockedLongerThanTheWaitFailsAndChangesNothing) {
    const std::string before = test::ReadBytes(Snapshot());
    Child locker({VELMORA_FAULT_WORKER, "lock", StorePath()});
    std::string line;
    ASSERT_TRUE(locker.ReadLine(line) && line == "locked");

    reg::testing::SetSqliteBusyTimeout(200);
    const auto store = reg::OpenSqliteRegistry(StorePath());
    reg::testing::SetSqliteBusyTimeout(10000);
    ASSERT_NE(store, nullptr);
    const std::string other = m_dir.File("other.cfg");
    test::WriteBytes(other, m_expected.Settings(1));
    // Restoring, saving and writing a value all fail plainly while the other holds the lock,
    // and the snapshot file stays as it was.
    EXPECT_FALSE(snapshot::RestoreSettingsSnapshot(*store, other));
    EXPECT_FALSE(snapshot::SaveSettingsSnapshot(*store, Snapshot()));
    EXPECT_EQ(test::ReadBytes(Snapshot()), before);
    EXPECT_FALSE(PutPluginSettings(*store, 1));
    EXPECT_EQ(store->OpenHandleCount(), 0u);

    locker.CloseInput();
    EXPECT_EQ(locker.Wait(), 0);
    // Neither the locker's half-done change nor anything of the failed restore is there.
    ASSERT_TRUE(store->BeginTransaction());
    EXPECT_EQ(snapshot::ExportSnapshotText(*store), m_expected.Settings(0));
    store->CommitTransaction();
    // Once the lock is gone the same restore goes through.
    EXPECT_TRUE(snapshot::RestoreSettingsSnapshot(*store, other));
    ASSERT_TRUE(store->BeginTransaction());
    EXPECT_EQ(snapshot::ExportSnapshotText(*store), m_expected.Settings(1));
    store->CommitTransaction();
}

}  // namespace
}  // namespace velmora::faults
