#include "SettingsModes.h"

#include "Contract.h"
#include "GameList.h"
#include "GameSettings.h"
#include "History.h"
#include "PluginValues.h"
#include "SettingsDifference.h"
#include "SettingsOperations.h"

namespace velmora::app {

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;

// A console on Windows shows its own code page, which has no arrow.
#ifdef _WIN32
constexpr std::string_view kConsoleArrow = " -> ";
#else
constexpr std::string_view kConsoleArrow = settings::kArrow;
#endif

int Report(const settings::OperationResult& result, const SettingsSinks& sinks) {
    if (!result.done) {
        sinks.error(result.error);
        return kFailed;
    }
    return kDone;
}

// A command line as a user would type it: blanks inside an argument are quoted.
std::string Shown(const emu::Command& command) {
    std::string line;
    const auto add = [&](const std::string& argument) {
        line += line.empty() ? "" : " ";
        const bool quote = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
        line += quote ? "\"" + argument + "\"" : argument;
    };
    add(command.program);
    for (const std::string& argument : command.arguments) {
        add(argument);
    }
    return line;
}

}  // namespace

int ShowSettingsHistory(const std::string& emulatorDir, int game, const SettingsSinks& sinks) {
    settings::FileProblem problem;
    const std::optional<settings::GameSettings> today =
        settings::ReadGameSettings(emulatorDir, game, &problem);
    if (!today) {
        sinks.error("The settings of game " + std::to_string(game) +
                    " cannot be read: " + problem.Line());
        return kFailed;
    }
    std::string lines;
    for (const settings::StoredVersion& version : settings::History(emulatorDir).Versions(game)) {
        lines += std::to_string(version.id) + "\t" + version.saved + "\t";
        lines +=
            version.settings
                ? settings::Summary(settings::Difference(*version.settings, *today), kConsoleArrow)
                : "cannot be read: " + version.problem;
        lines += "\n";
    }
    return sinks.out(lines) ? kDone : kFailed;
}

int RestoreSettingsVersion(const std::string& emulatorDir, int game, int id,
                           const SettingsSinks& sinks) {
    return Report(settings::RestoreSettings(emulatorDir, game, id), sinks);
}

int CopyGameSettings(const std::string& emulatorDir, int from, const std::vector<int>& to,
                     const SettingsSinks& sinks) {
    return Report(settings::CopySettings(emulatorDir, from, to), sinks);
}

int ExportGameSettings(const std::string& emulatorDir, int game, std::string_view gameName,
                       const std::string& file, const SettingsSinks& sinks) {
    return Report(settings::ExportSettings(emulatorDir, game, gameName, file), sinks);
}

int ImportGameSettings(const std::string& emulatorDir, int game, const std::string& file,
                       const SettingsSinks& sinks) {
    return Report(settings::ImportSettings(emulatorDir, game, file), sinks);
}

int RemoveGameSettings(const std::string& emulatorDir, int game, const SettingsSinks& sinks) {
    return Report(settings::RemoveSettings(emulatorDir, game), sinks);
}

int DryRunStart(const std::string& emulatorDir, int game, const SettingsSinks& sinks) {
    if (!games::IsGameConfigured(emulatorDir, game)) {
        sinks.error("Game " + std::to_string(game) +
                    " is not configured yet: a start would ask to configure it first.");
        return kFailed;
    }
    const emu::Command command = emu::LaunchCommand(emulatorDir, game);
    std::string lines = command.workingDirectory + "\n" + Shown(command) + "\n";
    // A start restores the snapshot only when it can read it whole; then these values replace
    // the plugins' settings.
    const settings::WholeFile snapshot =
        settings::ReadWholeFile(emu::SnapshotFile(emulatorDir, game));
    if (snapshot.bytes) {
        for (const auto& [key, value] : settings::ReadPluginValues(*snapshot.bytes)) {
            lines += settings::PluginValueLine(key, value) + "\n";
        }
    }
    return sinks.out(lines) ? kDone : kFailed;
}

}  // namespace velmora::app
