#pragma once
// Starting a configured game: its plugin settings restored, the emulator directory made the
// current one, then the emulator run with the game's options file, captured or detached.
// Qt Core only; the list view decides whether to start and shows what came of it.

#include <functional>
#include <string>

#include "ProcessRunner.h"

namespace velmora::snapshot {
class GameSnapshots;
}

namespace velmora::games {

class GameLauncher {
public:
    GameLauncher(std::string emulatorDirectory, snapshot::GameSnapshots& snapshots,
                 ProcessRunner& runner);

    // Runs the game and waits for it, its output collected (see ProcessRunner::RunCaptured).
    CaptureResult RunCaptured(int game, const RunHooks& hooks = {});
    // Starts the game and returns at once; false when the emulator could not be started.
    // `processId` (when given) receives the running emulator's.
    bool StartDetached(int game, std::int64_t* processId = nullptr);
    // Runs the game on our own standard input, output and error and waits for it. When the
    // game's plugin settings cannot be restored, `settingsNotRestored` hears why before the
    // game starts all the same; `onStarted` hears the emulator's process id once it runs.
    using SettingsNotRestored = std::function<void(const std::string& reason)>;
    ForwardedResult RunForwarded(int game, const SettingsNotRestored& settingsNotRestored = {},
                                 const std::function<void(std::int64_t)>& onStarted = {});

private:
    emu::Command Prepare(int game, const SettingsNotRestored& settingsNotRestored = {});

    std::string m_emulatorDirectory;
    snapshot::GameSnapshots& m_snapshots;
    ProcessRunner& m_runner;
};

}  // namespace velmora::games
