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

    // The plugin settings key into the game's snapshot file, and back. False when nothing
    // was saved or restored; a failed save gives its reason (SaveSettingsSnapshot).
    bool Save(int game, std::string* reason = nullptr);
    bool Restore(int game);

    const std::string& EmulatorDirectory() const { return m_emulatorDirectory; }

private:
    reg::RegistryBackend* Store();

    std::string m_emulatorDirectory;
    OpenStore m_open;
    std::unique_ptr<reg::RegistryBackend> m_store;
};

}  // namespace velmora::snapshot
