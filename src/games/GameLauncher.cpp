#include "GameLauncher.h"

#include <utility>

#include "GameSnapshots.h"
#include "Platform.h"

namespace velmora::games {

GameLauncher::GameLauncher(std::string emulatorDirectory, snapshot::GameSnapshots& snapshots,
                           ProcessRunner& runner)
    : m_emulatorDirectory(std::move(emulatorDirectory)), m_snapshots(snapshots), m_runner(runner) {}

emu::Command GameLauncher::Prepare(int game, const SettingsNotRestored& settingsNotRestored) {
    if (std::string reason; !m_snapshots.Restore(game, &reason) && settingsNotRestored) {
        settingsNotRestored(reason);
    }
    // The emulator and its plugins look for their files relative to the current directory.
    platform::ChangeDirectory(m_emulatorDirectory);
    return emu::LaunchCommand(m_emulatorDirectory, game);
}

CaptureResult GameLauncher::RunCaptured(int game, const RunHooks& hooks) {
    return m_runner.RunCaptured(Prepare(game), WindowMode::Shown, hooks);
}

bool GameLauncher::StartDetached(int game, std::int64_t* processId) {
    return ProcessRunner::StartDetached(Prepare(game), processId);
}

ForwardedResult GameLauncher::RunForwarded(int game, const SettingsNotRestored& settingsNotRestored,
                                           const std::function<void(std::int64_t)>& onStarted) {
    return ProcessRunner::RunForwarded(Prepare(game, settingsNotRestored), onStarted);
}

}  // namespace velmora::games
