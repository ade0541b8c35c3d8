#pragma once
// Every game gets its own plugin settings: before it is configured or started, the plugin
// settings key (HKEY_CURRENT_USER\Software\Vision Thing\PSEmu Pro) is replaced by the game's
// settings snapshot file, and when its configuration is accepted the key is saved back into
// that file (velmora::emu::SnapshotFile). Callers may ignore the results; nothing is shown
// to the user either way.

#include <string>
#include <string_view>

#include "RegistryBackend.h"

namespace velmora::snapshot {

// Writes the whole plugin settings key to the file, replacing it in one step. False, leaving
// any previous file whole, when the file cannot be written or the key cannot be read whole.
// A key that does not exist gives a file holding only "REGEDIT4\r\n\r\n". When nothing was
// saved, `reason` receives why: the system's words for a file that could not be written.
bool SaveSettingsSnapshot(reg::RegistryBackend& registry, const std::string& snapshotFilePath,
                          std::string* reason = nullptr);

// The reason given when the plugins' settings themselves could not be read.
inline constexpr std::string_view kSettingsUnreadable = "The plugins' settings could not be read.";
// And when they could not be written.
inline constexpr std::string_view kSettingsUnwritable =
    "The plugins' settings could not be written.";

// Replaces the plugin settings key by the file's contents. A file that is missing or cannot
// be read whole leaves the key untouched (false). Any file that can be read clears the key,
// whatever it holds.
bool RestoreSettingsSnapshot(reg::RegistryBackend& registry, const std::string& snapshotFilePath);

// The same for a snapshot text already in memory: the clear and every value written in one
// store transaction, so another process sees the old settings or the new ones, never half.
// False, with the store as it was, when the transaction cannot be had or committed.
bool RestoreSnapshotText(reg::RegistryBackend& registry, std::string_view text);

}  // namespace velmora::snapshot
