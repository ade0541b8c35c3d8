#pragma once
// The registry operations the plugin settings layer needs, behind one interface. On Windows
// they go straight to advapi32 (RegistryWin32.cpp); elsewhere a per-user SQLite store stands
// in for the registry (RegistrySqlite.cpp). CMake compiles exactly one of the two.
//
// Handles, status codes, access masks and type codes are the Windows ones, so the code above
// this interface reads the same on every platform: 0 is success, 259 ends an enumeration.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace velmora::reg {

using HKey = std::uintptr_t;  // an open key; 0 is never a valid one
using RootKey = HKey;         // a predefined key that every path is taken under
using Status = long;

inline constexpr RootKey kHkeyCurrentUser = 0x80000001;

inline constexpr Status kErrorSuccess = 0;
inline constexpr Status kErrorFileNotFound = 2;  // no such key
inline constexpr Status kErrorAccessDenied = 5;  // also: deleting a key that has subkeys
inline constexpr Status kErrorInvalidHandle = 6;
inline constexpr Status kErrorInvalidParameter = 87;
inline constexpr Status kErrorBadPathname = 161;    // an empty name inside a key path
inline constexpr Status kErrorMoreData = 234;       // a buffer too small for this entry
inline constexpr Status kErrorNoMoreItems = 259;    // past the last entry of an enumeration
inline constexpr Status kErrorKeyDeleted = 1018;    // the open key has been deleted since
inline constexpr Status kErrorStoreFailure = 1359;  // the store itself failed (disk, lock, ...)

inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegLink = 6;
inline constexpr std::uint32_t kRegMultiSz = 7;

// Lengths of names in characters without the terminating zero, data in bytes.
struct KeyInfo {
    std::uint32_t subKeys = 0;
    std::uint32_t maxSubKeyNameLength = 0;
    std::uint32_t values = 0;
    std::uint32_t maxValueNameLength = 0;
    std::uint32_t maxValueDataLength = 0;
};

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    // Opens `path` (names joined by backslashes, empty for `parent` itself) below `parent`.
    virtual Status OpenKey(HKey parent, const std::string& path, std::uint32_t access,
                           HKey* key) = 0;
    // As OpenKey, creating the key and every missing key above it first.
    virtual Status CreateKey(HKey parent, const std::string& path, std::uint32_t access,
                             HKey* key) = 0;
    virtual Status QueryInfoKey(HKey key, KeyInfo* info) = 0;
    // `nameCapacity` counts the terminating zero on the way in and not on the way out.
    // `dataSize` is the data buffer's size on the way in and the value's size on the way out.
    virtual Status EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameCapacity,
                             std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) = 0;
    virtual Status EnumKey(HKey key, std::uint32_t index, char* name,
                           std::uint32_t nameCapacity) = 0;
    // An empty `name` is the key's default value.
    virtual Status SetValue(HKey key, const std::string& name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) = 0;
    // Deletes `path` below `parent` with all its values; refused while it has subkeys.
    virtual Status DeleteKey(HKey parent, const std::string& path) = 0;
    virtual Status CloseKey(HKey key) = 0;

    // Groups the writes in between so that other processes see all of them or none. The
    // registry has no such thing, so on Windows these succeed and do nothing. Not nested.
    virtual bool BeginTransaction() = 0;
    virtual bool CommitTransaction() = 0;
    virtual void RollbackTransaction() = 0;

    // Keys opened or created through this object and not closed yet (leak checks).
    virtual std::size_t OpenHandleCount() const = 0;
};

// The current user's registry. Never null: where the store cannot be opened, every
// operation fails as a registry that refuses access would.
std::unique_ptr<RegistryBackend> OpenUserRegistry();

#ifdef _WIN32
// The registry with HKEY_CURRENT_USER\<currentUserPath> (created when missing) standing in
// for HKEY_CURRENT_USER, so that a test works in a tree of its own and never touches the
// user's own settings. Null when that key cannot be had.
std::unique_ptr<RegistryBackend> OpenWin32Registry(const std::string& currentUserPath);
#else
// A SQLite store at an explicit file (":memory:" for a private one); null when it cannot be
// opened. OpenUserRegistry uses <user config directory>/registry.sqlite.
std::unique_ptr<RegistryBackend> OpenSqliteRegistry(const std::string& path);

namespace testing {
// How long a store opened from now on waits for another process's write lock before its
// operation fails (10 seconds unless set), so a test of the failure need not wait that long.
void SetSqliteBusyTimeout(int milliseconds);
}  // namespace testing
#endif

}  // namespace velmora::reg
