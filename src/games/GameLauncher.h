#pragma once
// Starting a configured game: its plugin settings restored, the emulator directory made the
// current one, then the emulator run with the game's options file, captured or detached.
// Qt Core only; the list view decides whether to start and shows what came of it.

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
    bool StartDetached(int game, std::int64_t* processId = nullptr);
    // Runs the game on our own standard input, output and error and waits for it.
    ForwardedResult RunForwarded(int game, const std::function<void(std::int64_t)>& onStarted = {});

private:
    emu::Command Prepare(int game);

    std::string m_emulatorDirectory;
    snapshot::GameSnapshots& m_snapshots;
    ProcessRunner& m_runner;
};

}  // namespace velmora::games
