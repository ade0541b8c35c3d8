#pragma once
// The command-line modes that need no widgets: "Velmora --start" of a configured game and
// "--list". They run before Qt's widgets are loaded, so that a shortcut starts its game as
// fast as the emulator itself allows. The modes that show a dialog, or draw an icon, are in
// WidgetModes.h. Each returns the program's exit status.

#include <optional>
#include <string>

#include "Contract.h"
#include "GameCatalog.h"
#include "GameSnapshots.h"
#include "Platform.h"
#include "ProcessRunner.h"

namespace velmora::app {

inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct ModeContext {
    std::string executable;  // Velmora's own path
    std::string emulatorDir;
    std::string emulatorPath;
    snapshot::GameSnapshots& snapshots;
    games::ProcessRunner& runner;
};

// Velmora's own path by its bytes: a folder name that is not UTF-8 must survive. Needs the
// application object.
std::string OwnExecutable();

// Runs `mode` with the context of Velmora's own emulator directory.
template <typename Mode>
int RunInOwnDirectory(Mode&& mode) {
    const std::string executable = OwnExecutable();
    const std::string emulatorDir = platform::EmulatorDirectoryFor(executable);
    snapshot::GameSnapshots snapshots(emulatorDir);
    games::ProcessRunner runner;
    ModeContext context{executable, emulatorDir, emu::EmulatorPath(emulatorDir), snapshots, runner};
    return mode(context);
}

// A configured game: its snapshot restored, the emulator directory made current, the
// emulator run on our own standard handles; its exit status.
int StartConfiguredGame(ModeContext& context, int game);
// One tab-separated line per game of the emulator's list on standard output.
int ListGames(ModeContext& context);

// The game list, or, told to the user, the window's message when the emulator does not start.
std::optional<GameCatalog> LoadCatalog(const ModeContext& context);
// The list's row for `game`; nullptr, told to the user, when the list lacks it.
const games::GameRow* FindGame(const GameCatalog& catalog, int game);

}  // namespace velmora::app
