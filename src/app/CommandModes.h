#pragma once
// What "Velmora --start", "--configure", "--list", "--shortcut" and "--remove-shortcut" do,
// once the application object that the mode needs exists. Each returns the program's exit
// status. They use what the window uses: the game launcher, the list parser and the Configure
// game dialog.

#include <string>

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
};

// A configured game: its snapshot restored, the emulator directory made current, the
// emulator run on our own standard handles; its exit status. An unconfigured game asks, as
// the list does, whether to configure it (this needs a window), and is not started.
int StartGame(ModeContext& context, int game);
// The Configure game dialog alone: 0 after OK, 1 after Cancel or when the list lacks the game.
int ConfigureGame(ModeContext& context, int game);
// One tab-separated line per game of the emulator's list on standard output.
int ListGames(ModeContext& context);
int MakeShortcut(ModeContext& context, int game);
int RemoveShortcut(ModeContext& context, int game);

}  // namespace velmora::app
