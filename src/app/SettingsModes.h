#pragma once
// The command-line modes for a game's settings. Each takes plain values (the emulator
// directory, game numbers, a file path by its own bytes) and where to write, and returns the
// program's exit status: 0 when done, 1 when it failed, with one line on the error sink. No
// Qt and no window: they work over SSH too.
//
//   Velmora --history N                one version a line, newest first:
//                                      ID <tab> YYYY-MM-DD HH:MM:SS <tab> what differs today
//   Velmora --restore N ID
//   Velmora --copy-settings FROM TO... all three parts to every TO
//   Velmora --export N FILE
//   Velmora --import N FILE
//   Velmora --remove-settings N
//   Velmora --start N --dry-run        the working folder, the command line and the plugin
//                                      settings a start would restore, one a line

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::app {

struct SettingsSinks {
    std::function<bool(std::string_view)> out;    // bytes for standard output; false, told, when
                                                  // they could not be written
    std::function<void(std::string_view)> error;  // one line, without its line end
};

int ShowSettingsHistory(const std::string& emulatorDir, int game, const SettingsSinks& sinks);
int RestoreSettingsVersion(const std::string& emulatorDir, int game, int id,
                           const SettingsSinks& sinks);
int CopyGameSettings(const std::string& emulatorDir, int from, const std::vector<int>& to,
                     const SettingsSinks& sinks);
// `gameName` (the list's name for the game, or empty) is written into the file for the
// reader's sake only.
int ExportGameSettings(const std::string& emulatorDir, int game, std::string_view gameName,
                       const std::string& file, const SettingsSinks& sinks);
int ImportGameSettings(const std::string& emulatorDir, int game, const std::string& file,
                       const SettingsSinks& sinks);
int RemoveGameSettings(const std::string& emulatorDir, int game, const SettingsSinks& sinks);
int DryRunStart(const std::string& emulatorDir, int game, const SettingsSinks& sinks);

}  // namespace velmora::app
