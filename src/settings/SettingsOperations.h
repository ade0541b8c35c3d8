#pragma once
// What the Game menu and the command line do with a game's settings, each in one call that
// reports in one line. Every change goes through WriteGameSettings, so today's files are kept
// as a version first.

#include <string>
#include <string_view>
#include <vector>

#include "SettingsCopy.h"

namespace velmora::settings {

struct OperationResult {
    bool done = false;
    std::string error;              // when not done: one line saying what and why
    std::vector<int> changedGames;  // games whose files changed, whose rows show it
};

// Writes the game's settings into the settings file `file`, replacing it whole.
OperationResult ExportSettings(const std::string& emulatorDir, int game, std::string_view gameName,
                               const std::string& file);

// Reads and checks all of `file` first; then the game gets its settings, the managed options
// made anew for this game and folder. A damaged or foreign file changes nothing.
OperationResult ImportSettings(const std::string& emulatorDir, int game, const std::string& file,
                               const ConfigureProbe& probe = RendererConfiguresItself);

// Gives each game of `to` the chosen parts of game `from`'s settings, made anew for it.
OperationResult CopySettings(const std::string& emulatorDir, int from, const std::vector<int>& to,
                             SettingsParts parts = {},
                             const ConfigureProbe& probe = RendererConfiguresItself);

// Puts version `id` back; today's files become a version themselves, so it can be undone.
OperationResult RestoreSettings(const std::string& emulatorDir, int game, int id);

// Removes the game's three files, keeping them as a version.
OperationResult RemoveSettings(const std::string& emulatorDir, int game);

}  // namespace velmora::settings
