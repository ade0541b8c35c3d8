#pragma once
// Walks a registry key tree depth first and reports each value and each subkey to hooks that
// a subclass overrides; also writes single values and deletes whole trees. Every path is
// relative to the root given at construction. Every failure is a false result and nothing
// else; keys opened along the way are closed on every way out.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "CRegValue.h"
#include "RegistryBackend.h"

namespace velmora::reg {

inline constexpr unsigned kWalkValues = 1;   // report values through OnValue
inline constexpr unsigned kWalkSubKeys = 2;  // report subkeys through OnSubKey

class CRegKeyWalker {
public:
    CRegKeyWalker(RegistryBackend& registry, RootKey root) : m_registry(registry), m_root(root) {}
    CRegKeyWalker(const CRegKeyWalker&) = delete;
    CRegKeyWalker& operator=(const CRegKeyWalker&) = delete;
    virtual ~CRegKeyWalker() = default;

    // Hooks: true goes on, false ends the whole walk. `depth` is 0 at the start key. The
    // value is lent for the call only; the walk reuses it for the key's next value.
    virtual bool OnValue(const std::string& keyPath, const std::string& valueName,
                         const CRegValue& value, int depth);
    virtual bool OnSubKey(const std::string& subKeyName, int depth);

    // True when the whole tree below `startPath` was visited: a key's values come before its
    // subkeys, and each subkey is visited whole before the next one, whatever the flags.
    bool Walk(const std::string& startPath, unsigned flags);

    // Store one value, creating the key and any missing key above it.
    bool WriteValue(const std::string& keyPath, const std::string& valueName,
                    const CRegValue& value);
    bool WriteDword(const std::string& keyPath, const std::string& valueName, std::uint32_t number);
    bool WriteString(const std::string& keyPath, const std::string& valueName,
                     std::string_view text);
    bool WriteBinary(const std::string& keyPath, const std::string& valueName,
                     const std::uint8_t* bytes, std::size_t count);

    // True when the key and everything below it is gone; the deepest keys go first. A
    // failure part-way leaves what was already removed removed.
    bool DeleteTree(const std::string& keyPath);

    RegistryBackend& Registry() const { return m_registry; }

private:
    bool Visit(const std::string& keyPath, HKey key, unsigned flags, int depth);
    bool VisitValues(const std::string& keyPath, HKey key, const KeyInfo& info, int depth);
    bool VisitSubKeys(const std::string& keyPath, HKey key, const KeyInfo& info, unsigned flags,
                      int depth);
    bool DeleteTreeUnder(HKey parent, const std::string& keyPath);

    RegistryBackend& m_registry;
    const RootKey m_root;
};

}  // namespace velmora::reg
