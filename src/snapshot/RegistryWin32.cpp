// The registry itself, through advapi32. A thin translation: handles, status codes, access
// masks and type codes already are the registry's own.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "RegistryBackend.h"

namespace velmora::reg {
namespace {

// The predefined root is sign-extended on 64-bit Windows, so it is mapped, not cast.
HKEY ToNative(HKey key) {
    return key == kHkeyCurrentUser ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key);
}

HKey FromNative(HKEY key) {
    return reinterpret_cast<HKey>(key);
}

class Win32Registry final : public RegistryBackend {
public:
    Status OpenKey(HKey parent, const std::string& path, std::uint32_t access, HKey* key) override {
        if (key == nullptr) {
            return kErrorInvalidParameter;
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
            info->maxSubKeyNameLength = static_cast<std::uint32_t>(maxSubKeyName);
            info->values = static_cast<std::uint32_t>(values);
            info->maxValueNameLength = static_cast<std::uint32_t>(maxValueName);
            info->maxValueDataLength = static_cast<std::uint32_t>(maxValueData);
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
        return RegSetValueExA(ToNative(key), name.c_str(), 0, type, data, size);
    }

    Status DeleteKey(HKey parent, const std::string& path) override {
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
    std::size_t m_openHandles = 0;
};

}  // namespace

std::unique_ptr<RegistryBackend> OpenUserRegistry() {
    return std::make_unique<Win32Registry>();
}

}  // namespace velmora::reg
