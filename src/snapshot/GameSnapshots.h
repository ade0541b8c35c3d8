#pragma once
// The plugins' settings, game by game: the user's registry store, opened when first needed,
// and the emulator directory whose cfg folder holds each game's snapshot file. The program
// makes one and hands it to whoever configures or starts a game; tests hand in a store of
// their own.

#include <functional>
#include <memory>
#include <string>

#include "RegistryBackend.h"

namespace velmora::snapshot {

class GameSnapshots {
public:
    using OpenStore = std::function<std::unique_ptr<reg::RegistryBackend>()>;

    explicit GameSnapshots(std::string emulatorDirectory, OpenStore open = reg::OpenUserRegistry);

    // The plugin settings key into the game's snapshot file. False, with the reason, when
    // nothing was saved (SaveSettingsSnapshot).
    bool Save(int game, std::string* reason = nullptr);
    // The game's snapshot file back into the plugin settings key. True when the game's
    // settings are in place, also when it has no snapshot file and so nothing to restore;
    // false, with the reason and the key untouched, when they could not be put there.
    bool Restore(int game, std::string* reason = nullptr);

    const std::string& EmulatorDirectory() const { return m_emulatorDirectory; }

private:
    reg::RegistryBackend* Store();

    std::string m_emulatorDirectory;
    OpenStore m_open;
    std::unique_ptr<reg::RegistryBackend> m_store;
};

}  // namespace velmora::snapshot
