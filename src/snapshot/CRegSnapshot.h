#pragma once
// Writes the plugin settings key as a REGEDIT4 text: "REGEDIT4", then one section per key
// that holds values, in walk order, each value on its own line.

#include <optional>
#include <string>

#include "CRegKeyWalker.h"
#include "RegistryBackend.h"

namespace velmora::snapshot {

inline constexpr const char* kFileHeader = "REGEDIT4\r\n\r\n";

class CRegSnapshot : public reg::CRegKeyWalker {
public:
    explicit CRegSnapshot(reg::RegistryBackend& registry);

    // Appends a section for every key below the plugin settings key that holds values.
    // True when the walk covered the whole key.
    bool Export(std::string& output);

    bool OnValue(const std::string& keyPath, const std::string& valueName,
                 const reg::CRegValue& value, int depth) override;

private:
    std::string m_lastKeyPath;
    std::string* m_output = nullptr;
};

// The text of one value as it follows "name"= on its line, by the value's type.
std::string ValueText(const reg::CRegValue& value);

// The whole snapshot file for the current contents of the plugin settings key; only the
// header when the key does not exist. Nothing when the key exists but could not be read
// whole: a partial snapshot would drop settings the next time it is restored.
std::optional<std::string> ExportSnapshotText(reg::RegistryBackend& registry);

}  // namespace velmora::snapshot
