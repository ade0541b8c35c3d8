#pragma once
// The command-line modes that run a game or show the list: "Velmora --start", "--configure"
// and "--list". They use what the window uses: the list parser, the launcher and the
// Configure game dialog. Each returns the program's exit status.

#include <optional>
#include <string>

#include "GameCatalog.h"

namespace velmora::games {
class ProcessRunner;
}
namespace velmora::snapshot {
class GameSnapshots;
}

namespace velmora::app {

inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct ModeContext {
    std::string executable;  // Velmora's own path
    std::string emulatorDir;
    std::string emulatorPath;
    snapshot::GameSnapshots& snapshots;
    games::ProcessRunner& runner;
    bool display = false;  // whether windows can be shown
};

// A configured game: its snapshot restored, the emulator directory made current, the emulator
// run on our own standard handles; its exit status. One that is not configured, and is in the
// emulator's list, asks as the list does whether to configure it (this needs a display), and
// is not started.
int StartGame(ModeContext& context, int game);
// The Configure game dialog alone: 0 when OK saved the game's files, 1 after Cancel, when a
// file could not be saved, when the list lacks the game or there is no display.
int ConfigureGame(ModeContext& context, int game);
// One tab-separated line per game of the emulator's list on standard output.
int ListGames(ModeContext& context);

// The game list, or, told to the user, the window's message when the emulator does not start,
// with the emulator's path and the system's reason.
std::optional<GameCatalog> LoadCatalog(const ModeContext& context);
// The list's row for `game`; nullptr, told to the user, when the list lacks it.
const games::GameRow* FindGame(const GameCatalog& catalog, int game);

}  // namespace velmora::app
