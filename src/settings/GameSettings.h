#pragma once
// A game's settings as one value: the bytes of its three files in the cfg folder (the options
// file, the renderer options file and the plugin settings snapshot), each present or absent.
// Read whole, whatever they hold: a NUL, a lone CR, 8-bit text and files of any length come
// back byte for byte, unlike the option editors, which see only a file's first 32,767 bytes.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::settings {

enum class GameFile { kOptions, kRendererOptions, kPluginSettings };
inline constexpr std::array<GameFile, 3> kGameFiles = {
    GameFile::kOptions, GameFile::kRendererOptions, GameFile::kPluginSettings};

struct GameSettings {
    std::array<std::optional<std::string>, kGameFiles.size()> files;

    std::optional<std::string>& operator[](GameFile file) { return files[Index(file)]; }
    const std::optional<std::string>& operator[](GameFile file) const { return files[Index(file)]; }
    // No file at all: the game is not configured and has no plugin settings of its own.
    bool None() const { return !files[0] && !files[1] && !files[2]; }
    bool operator==(const GameSettings&) const = default;

    static size_t Index(GameFile file) { return static_cast<size_t>(file); }
};

// The file's path for `game` in the cfg folder of `emulatorDir`: Velmora%03d.cfg,
// Velmora%03d_renderer.cfg or Velmora%03d_registry.cfg.
std::string GameFilePath(const std::string& emulatorDir, int game, GameFile file);

// What the file is to the user: "options", "renderer options", "plugin settings".
std::string_view GameFileTitle(GameFile file);

// A file that could not be read or written, and the system's words for why.
struct FileProblem {
    std::string path;
    std::string reason;
    std::string Line() const { return path + ": " + reason; }
};

// The whole file; nothing when there is no such file. A file that is there but cannot be read
// whole is a problem, never taken for an absent one: what cannot be read cannot be kept.
struct WholeFile {
    std::optional<std::string> bytes;
    std::optional<FileProblem> problem;
};
WholeFile ReadWholeFile(const std::string& path);

// The game's three files as they are now; nothing, with the first problem, when one of them is
// there but cannot be read.
std::optional<GameSettings> ReadGameSettings(const std::string& emulatorDir, int game,
                                             FileProblem* problem = nullptr);

}  // namespace velmora::settings
