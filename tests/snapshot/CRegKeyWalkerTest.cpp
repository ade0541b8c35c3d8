#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CRegKeyWalker.h"
#include "StoreSupport.h"

namespace velmora::reg {
namespace {

using test::ProbeBackend;
using test::RecordingWalker;
using test::TempStore;
using Calls = std::vector<std::string>;

// T holds a and b; T\Empty holds nothing but has Deep below it, which holds c; T\Second
// holds d. Keys come back in the order they were created, values in the order written.
void WriteTree(RegistryBackend& registry) {
    CRegKeyWalker writer(registry, kHkeyCurrentUser);
    ASSERT_TRUE(writer.WriteDword("T", "a", 1));
    ASSERT_TRUE(writer.WriteString("T", "b", "x"));
    ASSERT_TRUE(writer.WriteDword("T\\Empty\\Deep", "c", 2));
    ASSERT_TRUE(writer.WriteDword("T\\Second", "d", 3));
}

TEST(CRegKeyWalker, MissingStartKeyCallsNoHook) {
    TempStore store;
    WriteTree(*store);
    RecordingWalker walker(*store);
    EXPECT_FALSE(walker.Walk("T\\Missing", kWalkValues | kWalkSubKeys));
    EXPECT_FALSE(walker.Walk("Nowhere", kWalkValues | kWalkSubKeys));
    EXPECT_TRUE(walker.calls.empty());
    EXPECT_EQ(store->OpenHandleCount(), 0u);
}

TEST(CRegKeyWalker, FlagsChooseTheHooksButEveryKeyIsVisited) {
    const std::string a = "V 0 T a 4 01000000";
    const std::string b = "V 0 T b 1 7800";
    const std::string c = "V 2 T\\Empty\\Deep c 4 02000000";
    const std::string d = "V 1 T\\Second d 4 03000000";
    struct Case {
        unsigned flags;
        Calls calls;
    };
    const Case cases[] = {
        {0, {}},
        {kWalkValues, {a, b, c, d}},
        {kWalkSubKeys, {"K 0 Empty", "K 1 Deep", "K 0 Second"}},
        {kWalkValues | kWalkSubKeys, {a, b, "K 0 Empty", "K 1 Deep", c, "K 0 Second", d}},
    };
    TempStore store;
    WriteTree(*store);
    for (const Case& row : cases) {
        RecordingWalker walker(*store);
        EXPECT_TRUE(walker.Walk("T", row.flags)) << row.flags;
        EXPECT_EQ(walker.calls, row.calls) << row.flags;
        EXPECT_EQ(store->OpenHandleCount(), 0u);
    }
}

TEST(CRegKeyWalker, HookReturningFalseEndsTheWalkAndClosesEveryKey) {
    TempStore store;
    WriteTree(*store);
    // Call 4 is OnSubKey for Deep, call 5 OnValue for c two levels down, 6 OnSubKey Second.
    for (size_t stopAt : {1u, 4u, 5u, 6u}) {
        RecordingWalker walker(*store, stopAt);
        EXPECT_FALSE(walker.Walk("T", kWalkValues | kWalkSubKeys)) << stopAt;
        EXPECT_EQ(walker.calls.size(), stopAt);
        EXPECT_EQ(store->OpenHandleCount(), 0u) << stopAt;
    }
    // The base hooks answer false: a walk for values stops at the first one.
    CRegKeyWalker plain(*store, kHkeyCurrentUser);
    EXPECT_FALSE(plain.Walk("T", kWalkValues));
    EXPECT_TRUE(plain.Walk("T\\Empty", 0));
    EXPECT_EQ(store->OpenHandleCount(), 0u);
}

TEST(CRegKeyWalker, EnumerationFailures) {
    TempStore store;
    WriteTree(*store);
    {
        // A value that grew since its key was measured is passed over.
        ProbeBackend probe(*store);
        probe.failEnumValueCall = 2;
        probe.failStatus = kErrorMoreData;
        RecordingWalker walker(probe);
        EXPECT_TRUE(walker.Walk("T", kWalkValues));
        EXPECT_EQ(walker.calls, (Calls{"V 0 T a 4 01000000", "V 2 T\\Empty\\Deep c 4 02000000",
                                       "V 1 T\\Second d 4 03000000"}));
    }
    {
        // A failing store would fail at every index: the walk ends instead of spinning.
        ProbeBackend probe(*store);
        probe.failEnumValueCall = 2;
        RecordingWalker walker(probe);
        EXPECT_FALSE(walker.Walk("T", kWalkValues));
        EXPECT_EQ(walker.calls, (Calls{"V 0 T a 4 01000000"}));
    }
    EXPECT_EQ(store->OpenHandleCount(), 0u);
}

TEST(CRegKeyWalker, WriteValueCreatesMissingKeysAndKeepsExactBytes) {
    TempStore store;
    CRegKeyWalker writer(*store, kHkeyCurrentUser);
    CRegValue big;
    ASSERT_TRUE(big.Allocate(3));
    big.GetData()[0] = 0;
    big.GetData()[1] = 0x80;
    big.GetData()[2] = 0xff;
    big.SetType(kRegDwordBigEndian);
    EXPECT_TRUE(writer.WriteValue("A\\B\\C", "", big));
    EXPECT_TRUE(writer.WriteBinary("A\\B\\C", "empty", nullptr, 0));
    EXPECT_FALSE(writer.WriteDword("A\\\\C", "bad path", 1));

    RecordingWalker walker(*store);
    EXPECT_TRUE(walker.Walk("A", kWalkValues | kWalkSubKeys));
    EXPECT_EQ(walker.calls,
              (Calls{"K 0 B", "K 1 C", "V 2 A\\B\\C  5 0080ff", "V 2 A\\B\\C empty 3 "}));
    EXPECT_EQ(store->OpenHandleCount(), 0u);
}

TEST(CRegKeyWalker, DeleteTreeRemovesDeepestKeysFirst) {
    TempStore store;
    WriteTree(*store);
    ASSERT_TRUE(CRegKeyWalker(*store, kHkeyCurrentUser).WriteDword("Keep", "k", 9));

    ProbeBackend probe(*store);
    CRegKeyWalker walker(probe, kHkeyCurrentUser);
    EXPECT_FALSE(walker.DeleteTree("T\\Missing"));
    EXPECT_TRUE(probe.deleted.empty());

    EXPECT_TRUE(walker.DeleteTree("T"));
    EXPECT_EQ(probe.deleted, (Calls{"Deep", "Empty", "Second", "T"}));
    HKey key = 0;
    EXPECT_EQ(store->OpenKey(kHkeyCurrentUser, "T", kKeyRead, &key), kErrorFileNotFound);
    ASSERT_EQ(store->OpenKey(kHkeyCurrentUser, "Keep", kKeyRead, &key), kErrorSuccess);
    store->CloseKey(key);
    EXPECT_FALSE(walker.DeleteTree("T"));
    EXPECT_EQ(store->OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace velmora::reg
