// What the registry layer relies on from whichever store the platform has: the registry's own
// status codes at every edge, and names passed whole or refused.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CRegKeyWalker.h"
#include "RegistryBackend.h"
#include "StoreSupport.h"

namespace velmora::reg {
namespace {

using test::RecordingWalker;
using test::TempStore;
using Calls = std::vector<std::string>;

TEST(RegistryBackend, AnswersWithRegistryCodes) {
    TempStore store;
    CRegKeyWalker writer(*store, kHkeyCurrentUser);
    ASSERT_TRUE(writer.WriteString("P\\Child", "name", "text"));
    HKey parent = 0;
    ASSERT_EQ(store->OpenKey(kHkeyCurrentUser, "P", kKeyRead, &parent), kErrorSuccess);
    HKey child = 0;
    ASSERT_EQ(store->OpenKey(parent, "child", kKeyRead, &child), kErrorSuccess);

    char name[8];
    std::uint32_t capacity = 4;  // "name" needs 5 with its zero
    std::uint8_t data[8];
    std::uint32_t size = sizeof data;
    std::uint32_t type = 0;
    EXPECT_EQ(store->EnumValue(child, 0, name, &capacity, &type, data, &size), kErrorMoreData);
    capacity = 5;
    size = 4;  // "text" needs 5 with its zero
    EXPECT_EQ(store->EnumValue(child, 0, name, &capacity, &type, data, &size), kErrorMoreData);
    EXPECT_GE(size, 5u);  // the registry may count the text as it stores it, in UTF-16
    capacity = sizeof name;
    size = sizeof data;
    EXPECT_EQ(store->EnumValue(child, 0, name, &capacity, &type, data, &size), kErrorSuccess);
    EXPECT_EQ(std::string(name), "name");
    EXPECT_EQ(capacity, 4u);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), std::string("text", 5));
    EXPECT_EQ(store->EnumValue(child, 1, name, &capacity, &type, data, &size), kErrorNoMoreItems);
    EXPECT_EQ(store->EnumKey(parent, 0, name, 5), kErrorMoreData);
    EXPECT_EQ(store->EnumKey(parent, 0, name, 6), kErrorSuccess);
    EXPECT_EQ(store->EnumKey(parent, 1, name, 6), kErrorNoMoreItems);

    EXPECT_EQ(store->SetValue(child, "x", kRegSz, data, 1), kErrorAccessDenied);  // read only
    EXPECT_EQ(store->DeleteKey(kHkeyCurrentUser, "P"), kErrorAccessDenied);       // has a subkey
    EXPECT_EQ(store->DeleteKey(kHkeyCurrentUser, "P\\Missing"), kErrorFileNotFound);
    EXPECT_EQ(store->DeleteKey(kHkeyCurrentUser, "P\\Child"), kErrorSuccess);
    KeyInfo info;
    EXPECT_EQ(store->QueryInfoKey(child, &info), kErrorKeyDeleted);
    EXPECT_EQ(store->EnumValue(child, 0, name, &capacity, &type, data, &size), kErrorKeyDeleted);
    EXPECT_EQ(store->CloseKey(child), kErrorSuccess);
    EXPECT_EQ(store->CloseKey(child), kErrorInvalidHandle);
    EXPECT_EQ(store->CloseKey(parent), kErrorSuccess);

    HKey key = 0;
    for (const char* bad : {"a\\\\b", "\\a", "a\\"}) {
        EXPECT_EQ(store->CreateKey(kHkeyCurrentUser, bad, kKeyWrite, &key), kErrorBadPathname)
            << bad;
        EXPECT_EQ(store->OpenKey(kHkeyCurrentUser, bad, kKeyRead, &key), kErrorBadPathname) << bad;
    }
    EXPECT_EQ(store->OpenHandleCount(), 0u);
}

// A zero byte inside a name must not end it early: "T\0x" is not "T", and deleting the one
// must never remove the other with everything below it.
TEST(RegistryBackend, NamesWithZeroBytesAreRefusedNotCutShort) {
    TempStore store;
    CRegKeyWalker writer(*store, kHkeyCurrentUser);
    ASSERT_TRUE(writer.WriteDword("T\\Sub", "kept", 1));
    const std::string keyWithZero("T\0x", 3);
    const std::string nameWithZero("kept\0x", 6);

    EXPECT_FALSE(writer.DeleteTree(keyWithZero));
    EXPECT_FALSE(writer.WriteDword(keyWithZero, "v", 2));
    EXPECT_FALSE(writer.WriteDword("T\\Sub", nameWithZero, 3));
    HKey key = 0;
    EXPECT_NE(store->OpenKey(kHkeyCurrentUser, keyWithZero, kKeyRead, &key), kErrorSuccess);

    RecordingWalker walker(*store);
    EXPECT_TRUE(walker.Walk("T", kWalkValues | kWalkSubKeys));
    EXPECT_EQ(walker.calls, (Calls{"K 0 Sub", "V 1 T\\Sub kept 4 01000000"}));
    EXPECT_EQ(store->OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace velmora::reg
