#pragma once
// The values a plugin settings snapshot holds, by key and name, as restoring it would store
// them: read by the snapshot reader itself, into memory instead of the registry. Two snapshots
// are compared value by value, and a start's dry run lists what it would restore.

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace velmora::settings {

// A value's key path below HKEY_CURRENT_USER and its name (empty for the key's default value).
using PluginValueKey = std::pair<std::string, std::string>;

// How the snapshot file writes the value after its "name"=: "dword:00000280", a quoted text or
// a hex list, so that two values compare as their texts do.
using PluginValues = std::map<PluginValueKey, std::string>;

PluginValues ReadPluginValues(std::string_view snapshotText);

// A key path as the user knows it: from the plugin settings key's own name on
// ("PSEmu Pro\Video"), or whole when it lies elsewhere.
std::string ShownKeyPath(const std::string& keyPath);

// `text` with its line ends shown as \r and \n, so that it stays on one line.
std::string OnOneLine(std::string_view text);

// One value on one line: PSEmu Pro\Video: "Width"=dword:00000280.
std::string PluginValueLine(const PluginValueKey& key, const std::string& valueText);

}  // namespace velmora::settings
