#include "SettingsSnapshot.h"

#include <optional>

#include "CRegKeyWalker.h"
#include "CRegSnapshot.h"
#include "Contract.h"
#include "FileIo.h"
#include "SnapshotReader.h"

namespace velmora::snapshot {

bool SaveSettingsSnapshot(reg::RegistryBackend& registry, const std::string& snapshotFilePath,
                          std::string* reason) {
    // A transaction here only holds the store still, so that a restore running in another
    // Velmora at the same moment is seen whole or not at all.
    std::optional<std::string> text;
    if (registry.BeginTransaction()) {
        text = ExportSnapshotText(registry);
        registry.CommitTransaction();
    }
    if (!text) {
        if (reason != nullptr) {
            *reason = kSettingsUnreadable;
        }
        return false;
    }
    return files::WriteAtomically(snapshotFilePath, *text, reason);
}

bool RestoreSettingsSnapshot(reg::RegistryBackend& registry, const std::string& snapshotFilePath) {
    // Read all of it before touching the key: a file that cannot be read must not cost the
    // user the settings they have.
    const std::optional<std::string> text = files::ReadAll(snapshotFilePath);
    if (!text) {
        return false;
    }
    return RestoreSnapshotText(registry, *text);
}

bool RestoreSnapshotText(reg::RegistryBackend& registry, std::string_view text) {
    if (!registry.BeginTransaction()) {
        return false;
    }
    reg::CRegKeyWalker(registry, reg::kHkeyCurrentUser)
        .DeleteTree(std::string(emu::kPluginSettingsKey));  // a missing key is fine
    ImportSnapshotText(registry, text);
    if (registry.CommitTransaction()) {
        return true;
    }
    registry.RollbackTransaction();
    return false;
}

}  // namespace velmora::snapshot
