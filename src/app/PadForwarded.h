#pragma once
// "Velmora --start" with a pad: the game runs on our own standard handles, as
// GameLauncher::RunForwarded runs it, while a thread of its own reads the pads; the end-game
// combination, held, ends the emulator as it ends one started from the window. So a cabinet
// can start games from another launcher and still leave them with the stick. Qt Core only.

#include <chrono>
#include <functional>

#include "GameLauncher.h"
#include "PadMapping.h"

namespace velmora::app {

// SDL is loaded and started only once the game has run this long: a game that ends at once (a
// wrong option, a missing file) is not kept waiting for it, and no hand holds the combination
// that early.
inline constexpr std::chrono::milliseconds kPadsAfter{500};

// On Velmora's own profile and the steady clock. `settingsNotRestored` as for
// GameLauncher::RunForwarded.
games::ForwardedResult RunForwardedWithPad(
    games::GameLauncher& launcher, int game,
    const games::GameLauncher::SettingsNotRestored& settingsNotRestored = {});

struct PadWatchOptions {
    pad::MappingStore& store;
    std::function<pad::Time()> clock;
    // Runs on the pads' thread after each read: a test presses its buttons and moves its
    // clock there, between two reads.
    std::function<void()> afterPoll;
    // How long the game runs before the pads are read (see kPadsAfter).
    std::chrono::milliseconds padsAfter;
};
games::ForwardedResult RunForwardedWithPad(
    games::GameLauncher& launcher, int game, const PadWatchOptions& options,
    const games::GameLauncher::SettingsNotRestored& settingsNotRestored = {});

}  // namespace velmora::app
