#pragma once
// Helpers shared by the snapshot tests: a fresh store per test, a walker that records what it
// is told, and a backend wrapper that watches or breaks single calls.

#include <gtest/gtest.h>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "CRegKeyWalker.h"
#include "CRegSnapshot.h"
#include "RegistryBackend.h"
#include "TempDir.h"

namespace velmora::test {

inline const std::string kPluginKey = "Software\\Vision Thing\\PSEmu Pro";

#ifdef _WIN32
// The registry below a key of its own, HKEY_CURRENT_USER\Software\Velmora Tests\<unique>,
// which the backend takes for HKEY_CURRENT_USER: every path the code under test uses, the
// plugin settings key included, lands there and never in the user's own settings. The key
// goes when the test ends. A folder of its own comes with it for files.
inline const std::string kTestsKey = "Software\\Velmora Tests";

class TempStore {
public:
    TempStore() : m_key(UniqueKey()), m_store(reg::OpenWin32Registry(m_key)) {
        EXPECT_NE(m_store, nullptr);
    }
    ~TempStore() {
        m_store.reset();
        const std::unique_ptr<reg::RegistryBackend> user = reg::OpenUserRegistry();
        reg::CRegKeyWalker(*user, reg::kHkeyCurrentUser).DeleteTree(m_key);
        user->DeleteKey(reg::kHkeyCurrentUser, kTestsKey);  // refused while others still run
    }
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    reg::RegistryBackend& operator*() const { return *m_store; }
    reg::RegistryBackend* operator->() const { return m_store.get(); }
    // Where the store lies below the real HKEY_CURRENT_USER.
    const std::string& Key() const { return m_key; }
    const TempDir& Dir() const { return m_dir; }

private:
    static std::string UniqueKey() {
        static unsigned count = 0;
        std::random_device random;
        return kTestsKey + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(count++) + "-" + std::to_string(random());
    }

    TempDir m_dir{"velmora-store"};
    std::string m_key;
    std::unique_ptr<reg::RegistryBackend> m_store;
};
#else
// A SQLite store of its own in a folder of its own.
class TempStore {
public:
    TempStore() : m_store(reg::OpenSqliteRegistry(m_dir.File("registry.sqlite"))) {
        EXPECT_NE(m_store, nullptr);
    }
    reg::RegistryBackend& operator*() const { return *m_store; }
    reg::RegistryBackend* operator->() const { return m_store.get(); }
    std::string Path() const { return m_dir.File("registry.sqlite"); }
    const TempDir& Dir() const { return m_dir; }

private:
    TempDir m_dir{"velmora-store"};
    std::unique_ptr<reg::RegistryBackend> m_store;
};
#endif

// A snapshot text with the value lines of each section in name order where the store does
// not keep the order values were written in. The registry is free to list values in any
// order (Wine lists them by name), so on Windows tests compare texts through this, both
// sides; the SQLite store lists them as written, and there the text stays as it is.
inline std::string InAnyValueOrder(const std::string& text) {
#ifdef _WIN32
    std::string result;
    std::vector<std::string> values;
    const auto flush = [&] {
        std::sort(values.begin(), values.end());
        for (const std::string& line : values) {
            result += line;
        }
        values.clear();
    };
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t end = text.find("\r\n", begin);
        const size_t next = end == std::string::npos ? text.size() : end + 2;
        std::string line = text.substr(begin, next - begin);
        if (!values.empty() && values.back().ends_with("\\\r\n")) {
            values.back() += line;  // a hex list goes on
        } else if (line.starts_with("\"")) {
            values.push_back(std::move(line));
        } else {
            flush();
            result += line;
        }
        begin = next;
    }
    flush();
    return result;
#else
    return text;
#endif
}

inline std::string Hex(const std::uint8_t* bytes, std::uint32_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::uint32_t i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

// Every hook call as one line: "V <depth> <key path> <name> <type> <hex bytes>" or
// "K <depth> <name>". Stops the walk at call number `stopAt` (counting from 1).
class RecordingWalker : public reg::CRegKeyWalker {
public:
    explicit RecordingWalker(reg::RegistryBackend& registry, size_t stopAt = 0)
        : CRegKeyWalker(registry, reg::kHkeyCurrentUser), m_stopAt(stopAt) {}

    bool OnValue(const std::string& keyPath, const std::string& valueName,
                 const reg::CRegValue& value, int depth) override {
        calls.push_back("V " + std::to_string(depth) + " " + keyPath + " " + valueName + " " +
                        std::to_string(value.GetType()) + " " +
                        Hex(value.GetData(), value.GetSize()));
        return calls.size() != m_stopAt;
    }
    bool OnSubKey(const std::string& name, int depth) override {
        calls.push_back("K " + std::to_string(depth) + " " + name);
        return calls.size() != m_stopAt;
    }

    std::vector<std::string> calls;

private:
    size_t m_stopAt;
};

// The whole plugin settings key as a snapshot text: the easiest way to compare a store.
inline std::string PluginSettings(reg::RegistryBackend& registry) {
    return InAnyValueOrder(snapshot::ExportSnapshotText(registry).value_or("<unreadable>"));
}

// Passes every call on, keeping a log of deletions, and answers `failStatus` instead of the
// store at the `failEnumValueCall`-th EnumValue call (counting from 1).
class ProbeBackend : public reg::RegistryBackend {
public:
    explicit ProbeBackend(reg::RegistryBackend& inner) : m_inner(inner) {}

    reg::Status OpenKey(reg::HKey parent, const std::string& path, std::uint32_t access,
                        reg::HKey* key) override {
        return m_inner.OpenKey(parent, path, access, key);
    }
    reg::Status CreateKey(reg::HKey parent, const std::string& path, std::uint32_t access,
                          reg::HKey* key) override {
        return m_inner.CreateKey(parent, path, access, key);
    }
    reg::Status QueryInfoKey(reg::HKey key, reg::KeyInfo* info) override {
        return m_inner.QueryInfoKey(key, info);
    }
    reg::Status EnumValue(reg::HKey key, std::uint32_t index, char* name,
                          std::uint32_t* nameCapacity, std::uint32_t* type, std::uint8_t* data,
                          std::uint32_t* dataSize) override {
        if (++enumValueCalls == failEnumValueCall) {
            return failStatus;
        }
        return m_inner.EnumValue(key, index, name, nameCapacity, type, data, dataSize);
    }
    reg::Status EnumKey(reg::HKey key, std::uint32_t index, char* name,
                        std::uint32_t nameCapacity) override {
        return m_inner.EnumKey(key, index, name, nameCapacity);
    }
    reg::Status SetValue(reg::HKey key, const std::string& name, std::uint32_t type,
                         const std::uint8_t* data, std::uint32_t size) override {
        return m_inner.SetValue(key, name, type, data, size);
    }
    reg::Status DeleteKey(reg::HKey parent, const std::string& path) override {
        const reg::Status status = m_inner.DeleteKey(parent, path);
        if (status == reg::kErrorSuccess) {
            deleted.push_back(path);
        }
        return status;
    }
    reg::Status CloseKey(reg::HKey key) override { return m_inner.CloseKey(key); }
    bool BeginTransaction() override { return m_inner.BeginTransaction(); }
    bool CommitTransaction() override {
        if (failCommit) {
            m_inner.RollbackTransaction();
            return false;
        }
        return m_inner.CommitTransaction();
    }
    void RollbackTransaction() override { m_inner.RollbackTransaction(); }
    size_t OpenHandleCount() const override { return m_inner.OpenHandleCount(); }

    std::vector<std::string> deleted;
    int enumValueCalls = 0;
    int failEnumValueCall = 0;
    reg::Status failStatus = reg::kErrorStoreFailure;
    bool failCommit = false;

private:
    reg::RegistryBackend& m_inner;
};

}  // namespace velmora::test
