#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "CRegKeyWalker.h"
#include "SettingsSnapshot.h"
#include "StoreSupport.h"

extern char** environ;

namespace velmora::snapshot {
namespace {

using test::kPluginKey;
using test::PluginSettings;
using test::ReadBytes;
using test::TempDir;
using test::TempStore;

// A snapshot whose keys overlap the other's, so that a mix of the two would show.
std::string MakeSnapshot(const TempDir& dir, const std::string& name, std::uint32_t seed) {
    TempStore store;
    reg::CRegKeyWalker writer(*store, reg::kHkeyCurrentUser);
    for (std::uint32_t key = 0; key < 10; ++key) {
        const std::string path = kPluginKey + "\\Key" + std::to_string((key * seed) % 13);
        for (std::uint32_t value = 0; value < 20; ++value) {
            std::string valueName = "v";  // built in place: gcc 12 warns wrongly otherwise
            valueName += std::to_string(value);
            EXPECT_TRUE(writer.WriteDword(path, valueName, seed * 1000 + value));
        }
    }
    const std::string file = dir.File(name);
    EXPECT_TRUE(SaveSettingsSnapshot(*store, file));
    return file;
}

pid_t Spawn(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

int ExitCode(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

TEST(ConcurrentRestore, TwoProcessesNeverLeaveAMixedKey) {
    TempDir dir;
    const std::string first = MakeSnapshot(dir, "first.cfg", 3);
    const std::string second = MakeSnapshot(dir, "second.cfg", 5);
    ASSERT_NE(ReadBytes(first), ReadBytes(second));

    // Both start on a store that does not exist yet, so they also race to create it.
    const std::string storePath = dir.File("registry.sqlite");
    const std::string rounds = "100";
    const pid_t one = Spawn({VELMORA_STORE_WORKER, storePath, first, second, rounds});
    const pid_t two = Spawn({VELMORA_STORE_WORKER, storePath, second, first, rounds});
    EXPECT_EQ(ExitCode(one), 0);
    EXPECT_EQ(ExitCode(two), 0);

    std::unique_ptr<reg::RegistryBackend> store = reg::OpenSqliteRegistry(storePath);
    ASSERT_NE(store, nullptr);
    const std::string settings = PluginSettings(*store);
    EXPECT_TRUE(settings == ReadBytes(first) || settings == ReadBytes(second)) << settings;
}

}  // namespace
}  // namespace velmora::snapshot
