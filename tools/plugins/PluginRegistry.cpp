#include "PluginRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "CRegKeyWalker.h"
#include "Contract.h"
#include "RegistryBackend.h"

namespace velmora::sample {

namespace {

// Collects the values of the start key itself; a plugin's settings have no subkeys.
class ValueCollector : public reg::CRegKeyWalker {
public:
    using Found = std::function<void(const std::string&, const reg::CRegValue&)>;
    ValueCollector(reg::RegistryBackend& registry, Found found)
        : CRegKeyWalker(registry, reg::kHkeyCurrentUser), m_found(std::move(found)) {}

    bool OnValue(const std::string&, const std::string& valueName, const reg::CRegValue& value,
                 int depth) override {
        if (depth == 0) {
            m_found(valueName, value);
        }
        return true;
    }

private:
    Found m_found;
};

}  // namespace

PluginKey::PluginKey(std::string_view subkey) : m_path(emu::kPluginSettingsKey) {
    m_path += '\\';
    m_path += subkey;
}

void PluginKey::Load() {
    m_values.clear();
    m_changed.clear();
    auto registry = reg::OpenUserRegistry();
    ValueCollector walker(*registry, [this](const std::string& name, const reg::CRegValue& value) {
        Value entry;
        if (value.GetType() == reg::kRegDword && value.GetDword(entry.number)) {
            entry.isDword = true;
        } else if (value.GetType() != reg::kRegSz || !value.GetString(entry.text)) {
            return;
        }
        m_values[name] = std::move(entry);
    });
    // A missing key, or one that vanishes part-way, simply reads as fewer values.
    walker.Walk(m_path, reg::kWalkValues);
}

void PluginKey::Save() const {
    if (m_changed.empty()) {
        return;
    }
    auto registry = reg::OpenUserRegistry();
    reg::CRegKeyWalker writer(*registry, reg::kHkeyCurrentUser);
    // One transaction, so a front end never snapshots half of a plugin's settings.
    bool transaction = registry->BeginTransaction();
    bool ok = true;
    for (const std::string& name : m_changed) {
        const Value& value = m_values.at(name);
        ok = value.isDword ? writer.WriteDword(m_path, name, value.number)
                           : writer.WriteString(m_path, name, value.text);
        if (!ok) {
            break;
        }
    }
    if (transaction) {
        if (ok) {
            registry->CommitTransaction();
        } else {
            registry->RollbackTransaction();
        }
    }
}

std::uint32_t PluginKey::Dword(const std::string& name, std::uint32_t fallback) const {
    auto found = m_values.find(name);
    return found != m_values.end() && found->second.isDword ? found->second.number : fallback;
}

std::string PluginKey::String(const std::string& name, const std::string& fallback) const {
    auto found = m_values.find(name);
    return found != m_values.end() && !found->second.isDword ? found->second.text : fallback;
}

void PluginKey::SetDword(const std::string& name, std::uint32_t value) {
    Set(name, Value{true, value, {}});
}

void PluginKey::SetString(const std::string& name, const std::string& text) {
    Set(name, Value{false, 0, text});
}

void PluginKey::Set(const std::string& name, Value value) {
    m_values[name] = std::move(value);
    if (std::find(m_changed.begin(), m_changed.end(), name) == m_changed.end()) {
        m_changed.push_back(name);
    }
}

std::optional<std::string> AutoSettings() {
    const char* value = std::getenv("VELMORA_SAMPLE_PLUGIN_AUTO");
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::vector<std::pair<std::string, std::string>> ParseAssignments(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> result;
    while (!text.empty()) {
        size_t end = text.find(';');
        std::string_view piece = text.substr(0, end);
        if (size_t equals = piece.find('='); equals != std::string_view::npos) {
            result.emplace_back(piece.substr(0, equals), piece.substr(equals + 1));
        }
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return result;
}

std::optional<std::uint32_t> ParseDword(const std::string& text) {
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (value > 0xFFFFFFFFull) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace velmora::sample
