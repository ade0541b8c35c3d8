#pragma once
// Everything Velmora relies on from the outside emulator and its plugins: executable and
// option names, per-game file names, command lines and plugin entry names. Nothing else in
// the program spells these out.

#include <string>
#include <string_view>
#include <vector>

namespace velmora::emu {

inline constexpr std::string_view kEmulatorExe = "ZINC.EXE";
inline constexpr std::string_view kListGamesArg = "--list-games";

// The options Velmora writes itself and keeps out of the user's option text.
inline constexpr std::string_view kUseConfigFileOption = "--use-config-file=";
inline constexpr std::string_view kUseRendererCfgFileOption = "--use-renderer-cfg-file=";
inline constexpr std::string_view kRendererOption = "--renderer=";
inline constexpr std::string_view kManagedOptions[] = {kUseConfigFileOption,
                                                       kUseRendererCfgFileOption, kRendererOption};

inline constexpr std::string_view kCfgDir = "cfg";
inline constexpr std::string_view kSoundPlugin = "sound.znc";
inline constexpr std::string_view kRendererExample = "renderer.cfg";

inline constexpr const char* kRendererInitEntry = "ZN_GPUinit";  // looked up, never called
inline constexpr const char* kRendererConfigureEntry = "GPUconfigure";
inline constexpr const char* kSoundConfigureEntry = "SPUconfigure";

// Where the plugins keep their settings, below HKEY_CURRENT_USER. Registry paths always use
// backslashes, whatever the file system's separator.
inline constexpr std::string_view kPluginSettingsKey = "Software\\Vision Thing\\PSEmu Pro";
inline constexpr std::string_view kPluginSettingsRootName = "HKEY_CURRENT_USER";

// A program and its arguments, kept apart so that no shell ever splits a path on blanks.
struct Command {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingDirectory;
};

// The leading number of a game line or a row's first column, read as the C library's atoi
// reads it (leading white space, optional sign, decimal digits, 0 when none). Out-of-range
// values saturate instead of being undefined.
int LeadingNumber(std::string_view text);

// "%03d": at least three digits, zero-padded.
std::string GameNumberText(int game);

// <dir>/ZINC.EXE, or just ZINC.EXE when the directory is unknown.
std::string EmulatorPath(const std::string& emulatorDir);

// <dir>/<name> with the platform's separator.
std::string InDirectory(const std::string& dir, std::string_view name);

std::string GameOptionsFile(const std::string& emulatorDir, int game);      // cfg/Velmora%03d.cfg
std::string GameOptionsFileName(int game);                                  // Velmora%03d.cfg
std::string RendererOptionsFile(const std::string& emulatorDir, int game);  // ..._renderer.cfg
std::string SnapshotFile(const std::string& emulatorDir, int game);         // ..._registry.cfg

// The emulator at `emulatorPath` (EmulatorPath of the emulator directory), run in the
// emulator directory.
Command ListGamesCommand(const std::string& emulatorPath, const std::string& emulatorDir);
Command HelpTextCommand(const std::string& emulatorPath, const std::string& emulatorDir);
// ZINC.EXE <game> --use-config-file=<game options file>, run in the emulator directory.
Command LaunchCommand(const std::string& emulatorDir, int game);

}  // namespace velmora::emu
