#include "CRegKeyWalker.h"

#include <cstring>
#include <vector>

namespace velmora::reg {

namespace {

constexpr std::uint32_t kDeleteAccess = kKeyRead | kKeySetValue | kKeyCreateSubKey;
// Room for a key name of 255 characters, the longest the Windows registry allows.
constexpr size_t kNameGuess = 256;

// Closes a key on every way out of the scope that opened it.
class OpenedKey {
public:
    OpenedKey(RegistryBackend& registry, HKey key) : m_registry(registry), m_key(key) {}
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    ~OpenedKey() { m_registry.CloseKey(m_key); }

private:
    RegistryBackend& m_registry;
    HKey m_key;
};

// A name buffer for `length` characters and the terminating zero.
std::uint32_t CapacityFor(std::uint32_t length) {
    return length == UINT32_MAX ? length : length + 1;
}

std::string NameIn(const std::vector<char>& buffer) {
    const void* zero = std::memchr(buffer.data(), 0, buffer.size());
    return {buffer.data(),
            zero == nullptr ? buffer.size()
                            : static_cast<size_t>(static_cast<const char*>(zero) - buffer.data())};
}

}  // namespace

bool CRegKeyWalker::OnValue(const std::string&, const std::string&, const CRegValue&, int) {
    return false;
}

bool CRegKeyWalker::OnSubKey(const std::string&, int) {
    return false;
}

bool CRegKeyWalker::Walk(const std::string& startPath, unsigned flags) {
    HKey key = 0;
    if (m_registry.OpenKey(m_root, startPath, kKeyRead, &key) != kErrorSuccess) {
        return false;
    }
    return Visit(startPath, key, flags, 0);
}

bool CRegKeyWalker::Visit(const std::string& keyPath, HKey key, unsigned flags, int depth) {
    const OpenedKey owner(m_registry, key);
    KeyInfo info;
    if (m_registry.QueryInfoKey(key, &info) != kErrorSuccess) {
        return false;
    }
    if ((flags & kWalkValues) != 0 && !VisitValues(keyPath, key, info, depth)) {
        return false;
    }
    return VisitSubKeys(keyPath, key, info, flags, depth);
}

bool CRegKeyWalker::VisitValues(const std::string& keyPath, HKey key, const KeyInfo& info,
                                int depth) {
    // One value block and one name buffer serve every value of the key.
    CRegValue value;
    if (!value.Allocate(info.maxValueDataLength)) {
        return false;
    }
    const std::uint32_t nameCapacity = CapacityFor(info.maxValueNameLength);
    std::vector<char> nameBuffer(nameCapacity);
    std::string name;
    std::uint8_t noData = 0;  // a key whose values are all empty still gets a real buffer
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameLength = nameCapacity;
        std::uint32_t type = 0;
        std::uint32_t size = value.GetCapacity();
        std::uint8_t* data = size > 0 ? value.GetData() : &noData;
        const Status status =
            m_registry.EnumValue(key, index, nameBuffer.data(), &nameLength, &type, data, &size);
        if (status == kErrorNoMoreItems) {
            return true;
        }
        // A value that grew since the key was measured is passed over. Any other failure is
        // the key's or the store's, and repeats at every index: asking on would never reach
        // the end of the list.
        if (status == kErrorMoreData) {
            continue;
        }
        if (status != kErrorSuccess) {
            return false;
        }
        if (nameLength >= nameCapacity || !value.SetFilled(type, size)) {
            continue;
        }
        name.assign(nameBuffer.data(), nameLength);
        if (!OnValue(keyPath, name, value, depth)) {
            return false;
        }
    }
}

bool CRegKeyWalker::VisitSubKeys(const std::string& keyPath, HKey key, const KeyInfo& info,
                                 unsigned flags, int depth) {
    const std::uint32_t subKeyCapacity = CapacityFor(info.maxSubKeyNameLength);
    std::vector<char> subKeyBuffer(subKeyCapacity);
    for (std::uint32_t index = 0;; ++index) {
        const Status status = m_registry.EnumKey(key, index, subKeyBuffer.data(), subKeyCapacity);
        if (status == kErrorNoMoreItems) {
            return true;
        }
        if (status == kErrorMoreData) {
            continue;
        }
        if (status != kErrorSuccess) {
            return false;
        }
        const std::string subKey = NameIn(subKeyBuffer);
        if ((flags & kWalkSubKeys) != 0 && !OnSubKey(subKey, depth)) {
            return false;
        }
        HKey child = 0;
        if (m_registry.OpenKey(key, subKey, kKeyRead, &child) != kErrorSuccess) {
            continue;  // no right to read this one: the rest of the tree still counts
        }
        const std::string childPath = keyPath.empty() ? subKey : keyPath + '\\' + subKey;
        if (!Visit(childPath, child, flags, depth + 1)) {
            return false;
        }
    }
}

bool CRegKeyWalker::WriteValue(const std::string& keyPath, const std::string& valueName,
                               const CRegValue& value) {
    HKey key = 0;
    if (m_registry.CreateKey(m_root, keyPath, kKeyWrite, &key) != kErrorSuccess) {
        return false;
    }
    const OpenedKey owner(m_registry, key);
    return m_registry.SetValue(key, valueName, value.GetType(), value.GetData(), value.GetSize()) ==
           kErrorSuccess;
}

bool CRegKeyWalker::WriteDword(const std::string& keyPath, const std::string& valueName,
                               std::uint32_t number) {
    CRegValue value;
    return value.SetDword(number) && WriteValue(keyPath, valueName, value);
}

bool CRegKeyWalker::WriteString(const std::string& keyPath, const std::string& valueName,
                                std::string_view text) {
    CRegValue value;
    return value.SetString(text) && WriteValue(keyPath, valueName, value);
}

bool CRegKeyWalker::WriteBinary(const std::string& keyPath, const std::string& valueName,
                                const std::uint8_t* bytes, std::size_t count) {
    CRegValue value;
    return value.SetBinary(bytes, count) && WriteValue(keyPath, valueName, value);
}

bool CRegKeyWalker::DeleteTree(const std::string& keyPath) {
    return DeleteTreeUnder(m_root, keyPath);
}

bool CRegKeyWalker::DeleteTreeUnder(HKey parent, const std::string& keyPath) {
    HKey key = 0;
    if (m_registry.OpenKey(parent, keyPath, kDeleteAccess, &key) != kErrorSuccess) {
        return false;
    }
    {
        const OpenedKey owner(m_registry, key);
        // Always the first subkey: deleting it moves the next one to index 0. The key is
        // measured only for a name too long for the buffer: measuring it counts its values and
        // their sizes too, which for a plugin's key of many values costs more than the delete.
        std::vector<char> name(kNameGuess);
        for (;;) {
            const Status status =
                m_registry.EnumKey(key, 0, name.data(), static_cast<std::uint32_t>(name.size()));
            if (status == kErrorNoMoreItems) {
                break;
            }
            if (status == kErrorMoreData) {
                KeyInfo info;
                if (m_registry.QueryInfoKey(key, &info) != kErrorSuccess ||
                    CapacityFor(info.maxSubKeyNameLength) <= name.size()) {
                    return false;
                }
                name.resize(CapacityFor(info.maxSubKeyNameLength));
                continue;
            }
            if (status != kErrorSuccess || !DeleteTreeUnder(key, NameIn(name))) {
                return false;
            }
        }
    }
    // Closed before the delete, so that no handle outlives its key.
    return m_registry.DeleteKey(parent, keyPath) == kErrorSuccess;
}

}  // namespace velmora::reg
