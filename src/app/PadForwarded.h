#pragma once
// "Velmora --start" with a pad: the game runs on our own standard handles, as
// GameLauncher::RunForwarded runs it, while a thread of its own reads the pads; the end-game
// combination, held, ends the emulator as it ends one started from the window. So a cabinet
// can start games from another launcher and still leave them with the stick. Qt Core only.

#include <functional>

#include "GameLauncher.h"
#include "PadMapping.h"

namespace velmora::app {

// On Velmora's own profile and the steady clock.
games::ForwardedResult RunForwardedWithPad(games::GameLauncher& launcher, int game);

struct PadWatchOptions {
    pad::MappingStore& store;
    std::function<pad::Time()> clock;
    // Runs on the pads' thread after each read, told whether the game is being watched yet:
    // a test presses its buttons and moves its clock there, between two reads.
    std::function<void(bool watching)> afterPoll;
};
games::ForwardedResult RunForwardedWithPad(games::GameLauncher& launcher, int game,
                                           const PadWatchOptions& options);

}  // namespace velmora::app
