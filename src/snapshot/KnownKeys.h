#pragma once
// Keys the registry stand-in has found or made during one transaction, by the key a path
// starts from and the path with its letters folded. A restore creates the same few keys once
// per value; inside a transaction they are looked up once. The process holds the store's
// write lock meanwhile, so only its own deletes could make an entry stale, and the store
// forgets them all when the transaction ends.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "TextRules.h"

namespace velmora::reg {

class KnownKeys {
public:
    std::optional<std::int64_t> Find(std::int64_t start, std::string_view path) const {
        const auto found = m_keys.find(Key(start, path));
        return found == m_keys.end() ? std::nullopt : std::optional(found->second);
    }
    void Remember(std::int64_t start, std::string_view path, std::int64_t keyId) {
        m_keys.emplace(Key(start, path), keyId);
    }
    void Clear() { m_keys.clear(); }

private:
    static std::string Key(std::int64_t start, std::string_view path) {
        return std::to_string(start) + '\\' + text::FoldCase(path);
    }

    std::unordered_map<std::string, std::int64_t> m_keys;
};

}  // namespace velmora::reg
