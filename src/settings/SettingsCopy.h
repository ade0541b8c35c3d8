#pragma once
// A game's settings made fit for another game and folder. Everything is kept byte for byte
// except the options Velmora manages ("--use-config-file=", "--use-renderer-cfg-file=",
// "--renderer="): those are made anew for the target, as Configure game's OK makes them, so a
// copy never names the source's folder or the source game's renderer options file.

#include <optional>
#include <string>

#include "CGameOptionFiles.h"
#include "GameSettings.h"

namespace velmora::settings {

// Answers whether the renderer library at a path configures itself (exports GPUconfigure).
using ConfigureProbe = config::CGameOptionFiles::ConfigureProbe;

// Loads the library, looks GPUconfigure up and unloads it, as OK does.
bool RendererConfiguresItself(const std::string& libraryPath);

// An options file taken apart: the user's text without any managed option (nothing when there
// is no file), and the renderer its first "--renderer=" names (nothing when none does).
struct OptionsText {
    std::optional<std::string> text;
    std::optional<std::string> renderer;
};
OptionsText SplitOptions(const std::optional<std::string>& optionsFile);

// The options file for `game` in `emulatorDir`: the user's text as it is, on a line of its
// own, and then, for a renderer, the managed renderer block OK writes. Nothing when there is
// neither text nor renderer.
std::optional<std::string> ComposeOptions(const OptionsText& options,
                                          const std::string& emulatorDir, int game,
                                          const ConfigureProbe& probe);

// Which parts of the settings a copy takes: the emulator options (the options file's own
// lines), the renderer plugin and its options (the "--renderer=" choice and the renderer
// options file), the plugin settings (the snapshot file).
struct SettingsParts {
    bool emulatorOptions = true;
    bool renderer = true;
    bool pluginSettings = true;
    bool Any() const { return emulatorOptions || renderer || pluginSettings; }
};

// The settings game `game` of `emulatorDir` gets from `source`: the chosen parts from the
// source, made anew for the target; the other parts as the target has them (`current`).
GameSettings CopyFor(const GameSettings& source, const GameSettings& current,
                     const std::string& emulatorDir, int game, SettingsParts parts = {},
                     const ConfigureProbe& probe = RendererConfiguresItself);

}  // namespace velmora::settings
