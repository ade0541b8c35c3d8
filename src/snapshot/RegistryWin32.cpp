// The registry itself, through advapi32. A thin translation: handles, status codes, access
// masks and type codes already are the registry's own.

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

#include "RegistryBackend.h"

namespace velmora::reg {
namespace {

HKey FromNative(HKEY key) {
    return reinterpret_cast<HKey>(key);
}

// The ANSI functions hand out names and text converted to the user's code page, where one of
// the registry's UTF-16 characters can take up to MaxCharSize bytes; RegQueryInfoKeyA still
// measures the longest names in UTF-16 characters and the longest data in stored bytes. Sized
// by those counts alone, the walk's buffers would miss every name with a double-byte (or
// UTF-8) character in it, and the snapshot would silently lose those settings.
struct AnsiGrowth {
    std::uint32_t nameFactor = 1;
    std::uint32_t dataFactor = 1;  // UTF-16 text takes at most 1.5 times its bytes in UTF-8
};

AnsiGrowth AnsiGrowthOfCodePage() {
    CPINFO info{};
    if (GetCPInfo(CP_ACP, &info) == 0 || info.MaxCharSize < 1) {
        return {4, 2};  // the worst any code page needs
    }
    const auto maxCharSize = static_cast<std::uint32_t>(info.MaxCharSize);
    return {maxCharSize, maxCharSize > 2 ? 2u : 1u};
}

std::uint32_t Grown(DWORD length, std::uint32_t factor) {
    const std::uint64_t grown = static_cast<std::uint64_t>(length) * factor;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(grown, UINT32_MAX - 1));
}

// The ANSI functions end every name at its first zero byte, so "Software\0x" would quietly
// address "Software" (and a DeleteTree of it remove all of that). A name that cannot be passed
// whole is refused, as the SQLite store does.
bool HoldsZero(const std::string& text) {
    return text.find('\0') != std::string::npos;
}

// Key names joined by single backslashes, or nothing for the key itself. The registry passes
// over an empty name (two backslashes in a row, one at the end), so the same text would name
// a key here and none in the SQLite store; both refuse it instead.
bool IsKeyPath(const std::string& path) {
    return !HoldsZero(path) && (path.empty() || (path.front() != '\\' && path.back() != '\\' &&
                                                 path.find("\\\\") == std::string::npos));
}

class Win32Registry final : public RegistryBackend {
public:
    // `currentUser` stands in for HKEY_CURRENT_USER; owned (closed at the end) when `owned`.
    Win32Registry(HKEY currentUser, bool owned)
        : m_currentUser(currentUser), m_ownsCurrentUser(owned), m_growth(AnsiGrowthOfCodePage()) {}

    ~Win32Registry() override {
        if (m_ownsCurrentUser) {
            RegCloseKey(m_currentUser);
        }
    }

    Win32Registry(const Win32Registry&) = delete;
    Win32Registry& operator=(const Win32Registry&) = delete;

    Status OpenKey(HKey parent, const std::string& path, std::uint32_t access, HKey* key) override {
        if (key == nullptr) {
            return kErrorInvalidParameter;
        }
        if (!IsKeyPath(path)) {
            return kErrorBadPathname;
        }
        HKEY opened = nullptr;
        const LONG status = RegOpenKeyExA(ToNative(parent), path.c_str(), 0, access, &opened);
        if (status == ERROR_SUCCESS) {
            *key = FromNative(opened);
            ++m_openHandles;
        }
        return status;
    }

    Status CreateKey(HKey parent, const std::string& path, std::uint32_t access,
                     HKey* key) override {
        if (key == nullptr) {
            return kErrorInvalidParameter;
        }
        if (!IsKeyPath(path)) {
            return kErrorBadPathname;
        }
        HKEY created = nullptr;
        const LONG status =
            RegCreateKeyExA(ToNative(parent), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            access, nullptr, &created, nullptr);
        if (status == ERROR_SUCCESS) {
            *key = FromNative(created);
            ++m_openHandles;
        }
        return status;
    }

    Status QueryInfoKey(HKey key, KeyInfo* info) override {
        if (info == nullptr) {
            return kErrorInvalidParameter;
        }
        DWORD subKeys = 0;
        DWORD maxSubKeyName = 0;
        DWORD values = 0;
        DWORD maxValueName = 0;
        DWORD maxValueData = 0;
        const LONG status =
            RegQueryInfoKeyA(ToNative(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyName,
                             nullptr, &values, &maxValueName, &maxValueData, nullptr, nullptr);
        if (status == ERROR_SUCCESS) {
            info->subKeys = static_cast<std::uint32_t>(subKeys);
            info->maxSubKeyNameLength = Grown(maxSubKeyName, m_growth.nameFactor);
            info->values = static_cast<std::uint32_t>(values);
            info->maxValueNameLength = Grown(maxValueName, m_growth.nameFactor);
            info->maxValueDataLength = Grown(maxValueData, m_growth.dataFactor);
        }
        return status;
    }

    Status EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameCapacity,
                     std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) override {
        if (nameCapacity == nullptr) {
            return kErrorInvalidParameter;
        }
        DWORD nameLength = *nameCapacity;
        DWORD valueType = 0;
        DWORD size = dataSize != nullptr ? *dataSize : 0;
        const LONG status = RegEnumValueA(ToNative(key), index, name, &nameLength, nullptr,
                                          &valueType, data, dataSize != nullptr ? &size : nullptr);
        if (status == ERROR_SUCCESS) {
            *nameCapacity = static_cast<std::uint32_t>(nameLength);
            if (type != nullptr) {
                *type = static_cast<std::uint32_t>(valueType);
            }
        }
        if (dataSize != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) {
            *dataSize = static_cast<std::uint32_t>(size);
        }
        return status;
    }

    Status EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameCapacity) override {
        return RegEnumKeyA(ToNative(key), index, name, nameCapacity);
    }

    Status SetValue(HKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                    std::uint32_t size) override {
        if (HoldsZero(name) || (data == nullptr && size != 0)) {
            return kErrorInvalidParameter;
        }
        return RegSetValueExA(ToNative(key), name.c_str(), 0, type, data, size);
    }

    Status DeleteKey(HKey parent, const std::string& path) override {
        if (!IsKeyPath(path)) {
            return kErrorBadPathname;
        }
        return RegDeleteKeyA(ToNative(parent), path.c_str());
    }

    Status CloseKey(HKey key) override {
        if (key == kHkeyCurrentUser) {
            return ERROR_SUCCESS;
        }
        const LONG status = RegCloseKey(ToNative(key));
        if (status == ERROR_SUCCESS && m_openHandles > 0) {
            --m_openHandles;
        }
        return status;
    }

    // The registry has no transactions a user program can rely on; each write stands alone.
    bool BeginTransaction() override { return true; }
    bool CommitTransaction() override { return true; }
    void RollbackTransaction() override {}

    std::size_t OpenHandleCount() const override { return m_openHandles; }

private:
    // The predefined root is sign-extended on 64-bit Windows, so it is mapped, not cast.
    HKEY ToNative(HKey key) const {
        return key == kHkeyCurrentUser ? m_currentUser : reinterpret_cast<HKEY>(key);
    }

    HKEY m_currentUser;
    bool m_ownsCurrentUser;
    AnsiGrowth m_growth;
    std::size_t m_openHandles = 0;
};

}  // namespace

std::unique_ptr<RegistryBackend> OpenUserRegistry() {
    return std::make_unique<Win32Registry>(HKEY_CURRENT_USER, false);
}

std::unique_ptr<RegistryBackend> OpenWin32Registry(const std::string& currentUserPath) {
    if (currentUserPath.empty() || !IsKeyPath(currentUserPath)) {
        return nullptr;
    }
    HKEY root = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, currentUserPath.c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &root,
                        nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32Registry>(root, true);
}

}  // namespace velmora::reg
