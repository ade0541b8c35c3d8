#include "GameSnapshots.h"

#include <utility>

#include "Contract.h"
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

bool GameSnapshots::Restore(int game) {
    reg::RegistryBackend* store = Store();
    return store != nullptr &&
           RestoreSettingsSnapshot(*store, emu::SnapshotFile(m_emulatorDirectory, game));
}

}  // namespace velmora::snapshot
