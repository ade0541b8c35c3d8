#include "PluginValues.h"

#include <cstring>
#include <vector>

#include "CRegSnapshot.h"
#include "CRegValue.h"
#include "Contract.h"
#include "RegistryBackend.h"
#include "SnapshotReader.h"

namespace velmora::settings {

namespace {

// A registry that only takes values: the reader creates each section's key and stores its
// values there, and this keeps them in memory as the snapshot file would write them.
class RecordingRegistry : public reg::RegistryBackend {
public:
    explicit RecordingRegistry(PluginValues& values) : m_values(values) {}

    reg::Status OpenKey(reg::HKey, const std::string&, std::uint32_t, reg::HKey*) override {
        return reg::kErrorFileNotFound;
    }
    reg::Status CreateKey(reg::HKey, const std::string& path, std::uint32_t,
                          reg::HKey* key) override {
        m_paths.push_back(path);
        *key = m_paths.size();  // never 0
        return reg::kErrorSuccess;
    }
    reg::Status QueryInfoKey(reg::HKey, reg::KeyInfo*) override { return reg::kErrorFileNotFound; }
    reg::Status EnumValue(reg::HKey, std::uint32_t, char*, std::uint32_t*, std::uint32_t*,
                          std::uint8_t*, std::uint32_t*) override {
        return reg::kErrorNoMoreItems;
    }
    reg::Status EnumKey(reg::HKey, std::uint32_t, char*, std::uint32_t) override {
        return reg::kErrorNoMoreItems;
    }
    reg::Status SetValue(reg::HKey key, const std::string& name, std::uint32_t type,
                         const std::uint8_t* data, std::uint32_t size) override {
        if (key == 0 || key > m_paths.size()) {
            return reg::kErrorInvalidHandle;
        }
        reg::CRegValue value;
        if (!value.Allocate(size)) {
            return reg::kErrorStoreFailure;
        }
        if (size > 0) {
            std::memcpy(value.GetData(), data, size);
        }
        value.SetFilled(type, size);
        // A value stored twice ends up with the later one, as in the registry.
        m_values[{m_paths[key - 1], name}] = snapshot::ValueText(value);
        return reg::kErrorSuccess;
    }
    reg::Status DeleteKey(reg::HKey, const std::string&) override { return reg::kErrorSuccess; }
    reg::Status CloseKey(reg::HKey) override { return reg::kErrorSuccess; }
    bool BeginTransaction() override { return true; }
    bool CommitTransaction() override { return true; }
    void RollbackTransaction() override {}
    std::size_t OpenHandleCount() const override { return 0; }

private:
    PluginValues& m_values;
    std::vector<std::string> m_paths;
};

}  // namespace

PluginValues ReadPluginValues(std::string_view snapshotText) {
    PluginValues values;
    RecordingRegistry registry(values);
    snapshot::ImportSnapshotText(registry, snapshotText);
    return values;
}

std::string ShownKeyPath(const std::string& keyPath) {
    const std::string_view key = emu::kPluginSettingsKey;
    const size_t ownName = key.rfind('\\') + 1;
    if (keyPath.starts_with(key)) {
        return keyPath.substr(ownName);
    }
    return keyPath;
}

std::string OnOneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        if (c == '\r') {
            line += "\\r";
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

std::string PluginValueLine(const PluginValueKey& key, const std::string& valueText) {
    return OnOneLine(ShownKeyPath(key.first) + ": \"" + key.second + "\"=" + valueText);
}

}  // namespace velmora::settings
