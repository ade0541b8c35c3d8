#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CRegKeyWalker.h"
#include "RegistryBackend.h"
#include "StoreSupport.h"

namespace velmora::reg {
namespace {

using test::RecordingWalker;
using test::TempDir;
using test::TempStore;
using Calls = std::vector<std::string>;

Calls Walk(RegistryBackend& registry, const std::string& path) {
    RecordingWalker walker(registry);
    walker.Walk(path, kWalkValues | kWalkSubKeys);
    return walker.calls;
}

TEST(SqliteStore, NamesMatchWithoutCaseButKeepTheirFirstSpelling) {
    TempStore store;
    CRegKeyWalker writer(*store, kHkeyCurrentUser);
    ASSERT_TRUE(writer.WriteDword("Software\\Vision Thing", "Width", 1));
    ASSERT_TRUE(writer.WriteDword("SOFTWARE\\vision thing", "WIDTH", 2));
    ASSERT_TRUE(writer.WriteDword("software\\Vision Thing\\\xc9t\xe9", "\xc9", 3));
    ASSERT_TRUE(writer.WriteDword("software\\Vision Thing\\\xe9t\xe9", "\xe9", 4));  // not ASCII
    EXPECT_EQ(Walk(*store, "sOFTWARE"),
              (Calls{"K 0 Vision Thing", "V 1 sOFTWARE\\Vision Thing Width 4 02000000",
                     "K 1 \xc9t\xe9", "V 2 sOFTWARE\\Vision Thing\\\xc9t\xe9 \xc9 4 03000000",
                     "K 1 \xe9t\xe9", "V 2 sOFTWARE\\Vision Thing\\\xe9t\xe9 \xe9 4 04000000"}));
}

// Longer key names than the Windows registry allows, as only this store takes them.
TEST(SqliteStore, DeleteTreeTakesSubkeysOfAnyNameLength) {
    TempStore store;
    CRegKeyWalker writer(*store, kHkeyCurrentUser);
    for (const std::string& sub :
         {std::string("a"), std::string(300, 'n'), std::string(255, 'm')}) {
        ASSERT_TRUE(writer.WriteDword("T\\" + sub, "v", 1));
        ASSERT_TRUE(writer.WriteDword("T\\" + sub + "\\" + std::string(400, 'b'), "v", 2));
    }
    EXPECT_TRUE(writer.DeleteTree("T"));
    HKey key = 0;
    EXPECT_EQ(store->OpenKey(kHkeyCurrentUser, "T", kKeyRead, &key), kErrorFileNotFound);
    EXPECT_EQ(store->OpenHandleCount(), 0u);
}

TEST(SqliteStore, EnumeratesInFirstWrittenOrder) {
    TempStore store;
    CRegKeyWalker writer(*store, kHkeyCurrentUser);
    for (const char* name : {"b", "a", "c"}) {
        ASSERT_TRUE(writer.WriteDword(std::string("K\\") + name, name, 0));
        ASSERT_TRUE(writer.WriteDword("K", name, 0));
    }
    ASSERT_TRUE(writer.WriteDword("K", "a", 1));  // rewriting keeps the place
    EXPECT_EQ(Walk(*store, "K"),
              (Calls{"V 0 K b 4 00000000", "V 0 K a 4 01000000", "V 0 K c 4 00000000", "K 0 b",
                     "V 1 K\\b b 4 00000000", "K 0 a", "V 1 K\\a a 4 00000000", "K 0 c",
                     "V 1 K\\c c 4 00000000"}));
}

TEST(SqliteStore, TransactionsAreSeenWholeOrNotAtAll) {
    TempStore store;
    std::unique_ptr<RegistryBackend> other = OpenSqliteRegistry(store.Path());
    ASSERT_NE(other, nullptr);
    CRegKeyWalker writer(*store, kHkeyCurrentUser);

    ASSERT_TRUE(store->BeginTransaction());
    EXPECT_FALSE(store->BeginTransaction());
    ASSERT_TRUE(writer.WriteDword("K", "a", 1));
    EXPECT_TRUE(Walk(*other, "K").empty()) << "another process saw an open transaction";
    store->RollbackTransaction();
    EXPECT_TRUE(Walk(*store, "K").empty());

    ASSERT_TRUE(store->BeginTransaction());
    ASSERT_TRUE(writer.WriteDword("K", "a", 1));
    ASSERT_TRUE(store->CommitTransaction());
    EXPECT_EQ(Walk(*other, "K"), Calls{"V 0 K a 4 01000000"});
    EXPECT_FALSE(store->CommitTransaction());

    // A key deleted and made again inside one transaction is the new key, not the old one.
    ASSERT_TRUE(store->BeginTransaction());
    ASSERT_TRUE(writer.WriteDword("K\\Sub", "b", 2));
    ASSERT_TRUE(writer.DeleteTree("K"));
    ASSERT_TRUE(writer.WriteDword("K\\Sub", "c", 3));
    ASSERT_TRUE(store->CommitTransaction());
    EXPECT_EQ(Walk(*other, "K"), (Calls{"K 0 Sub", "V 1 K\\Sub c 4 03000000"}));
}

TEST(SqliteStore, UserRegistryLivesInTheUserConfigFolder) {
    TempDir dir;
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved != nullptr ? saved : "";
    const std::string config = dir.File("new/config");
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    {
        std::unique_ptr<RegistryBackend> registry = OpenUserRegistry();
        EXPECT_TRUE(CRegKeyWalker(*registry, kHkeyCurrentUser).WriteDword("K", "v", 7));
    }
    EXPECT_TRUE(std::filesystem::exists(config + "/Velmora/registry.sqlite"));

    // A folder that cannot be made gives a registry that refuses everything.
    test::WriteBytes(dir.File("file"), "x");
    ::setenv("XDG_CONFIG_HOME", dir.File("file").c_str(), 1);
    {
        std::unique_ptr<RegistryBackend> registry = OpenUserRegistry();
        ASSERT_NE(registry, nullptr);
        EXPECT_FALSE(CRegKeyWalker(*registry, kHkeyCurrentUser).WriteDword("K", "v", 7));
        EXPECT_FALSE(registry->BeginTransaction());
    }
    if (saved != nullptr) {
        ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
}  // namespace velmora::reg
