#include "GameSnapshots.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "Contract.h"
#include "FileIo.h"
#include "SettingsSnapshot.h"

namespace velmora::snapshot {

GameSnapshots::GameSnapshots(std::string emulatorDirectory, OpenStore open)
    : m_emulatorDirectory(std::move(emulatorDirectory)), m_open(std::move(open)) {}

reg::RegistryBackend* GameSnapshots::Store() {
    if (!m_store && m_open) {
        m_store = m_open();
    }
    return m_store.get();
}

bool GameSnapshots::Save(int game, std::string* reason) {
    reg::RegistryBackend* store = Store();
    if (store == nullptr) {
        if (reason != nullptr) {
            *reason = kSettingsUnreadable;
        }
        return false;
    }
    return SaveSettingsSnapshot(*store, emu::SnapshotFile(m_emulatorDirectory, game), reason);
}

bool GameSnapshots::Restore(int game, std::string* reason) {
    // Read all of it before touching the key: a file that cannot be read must not cost the
    // user the settings they have.
    const std::string file = emu::SnapshotFile(m_emulatorDirectory, game);
    const std::optional<std::string> text = files::ReadAll(file);
    if (!text) {
        const int error = errno;
        if (error == ENOENT) {
            return true;
        }
        if (reason != nullptr) {
            *reason = file + ": " + std::strerror(error);
        }
        return false;
    }
    reg::RegistryBackend* store = Store();
    if (store == nullptr || !RestoreSnapshotText(*store, *text)) {
        if (reason != nullptr) {
            *reason = kSettingsUnwritable;
        }
        return false;
    }
    return true;
}

}  // namespace velmora::snapshot
