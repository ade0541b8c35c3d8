#include "SettingsOperations.h"

#include <ctime>

#include "FileIo.h"
#include "History.h"
#include "SettingsFile.h"
#include "SettingsWrite.h"

namespace velmora::settings {

namespace {

std::string GameText(int game) {
    return "game " + std::to_string(game);
}

// Writes `next` and says how it went.
OperationResult Write(const std::string& emulatorDir, int game, const GameSettings& next) {
    const WriteOutcome outcome = WriteGameSettings(emulatorDir, game, next);
    OperationResult result;
    result.done = outcome.written;
    if (outcome.changed) {
        result.changedGames.push_back(game);
    }
    if (outcome.problem) {
        result.error =
            "The settings of " + GameText(game) + " were not changed: " + outcome.problem->Line();
        if (outcome.changed && outcome.version) {
            result.error = "The settings of " + GameText(game) + " were changed only in part (" +
                           outcome.problem->Line() + "); version " +
                           std::to_string(*outcome.version) + " holds them as they were.";
        }
    }
    return result;
}

OperationResult Failed(std::string error) {
    return {false, std::move(error), {}};
}

// The game's settings, or the reason they cannot be read, for an operation that needs some.
std::optional<GameSettings> ReadSome(const std::string& emulatorDir, int game,
                                     std::string_view purpose, std::string& error) {
    FileProblem problem;
    std::optional<GameSettings> settings = ReadGameSettings(emulatorDir, game, &problem);
    if (!settings) {
        error = "The settings of " + GameText(game) + " cannot be read: " + problem.Line();
    } else if (settings->None()) {
        error =
            "Game " + std::to_string(game) + " has no settings to " + std::string(purpose) + ".";
        settings.reset();
    }
    return settings;
}

}  // namespace

OperationResult ExportSettings(const std::string& emulatorDir, int game, std::string_view gameName,
                               const std::string& file) {
    std::string error;
    const std::optional<GameSettings> settings = ReadSome(emulatorDir, game, "export", error);
    if (!settings) {
        return Failed(error);
    }
    std::string reason;
    if (!files::WriteAtomically(
            file, WriteSettingsFile(*settings, game, gameName, LocalTimeText(std::time(nullptr))),
            &reason)) {
        return Failed("The settings of " + GameText(game) + " were not exported: " + file + ": " +
                      reason);
    }
    return {true, {}, {}};
}

OperationResult ImportSettings(const std::string& emulatorDir, int game, const std::string& file,
                               const ConfigureProbe& probe) {
    std::string reason;
    const std::optional<SettingsFileContents> contents = LoadSettingsFile(file, &reason);
    if (!contents) {
        return Failed(file + " was not imported. " + reason);
    }
    FileProblem problem;
    const std::optional<GameSettings> current = ReadGameSettings(emulatorDir, game, &problem);
    if (!current) {
        return Failed("The settings of " + GameText(game) + " cannot be read: " + problem.Line());
    }
    return Write(emulatorDir, game,
                 CopyFor(contents->settings, *current, emulatorDir, game, {}, probe));
}

OperationResult CopySettings(const std::string& emulatorDir, int from, const std::vector<int>& to,
                             SettingsParts parts, const ConfigureProbe& probe) {
    std::string error;
    const std::optional<GameSettings> source = ReadSome(emulatorDir, from, "copy", error);
    if (!source) {
        return Failed(error);
    }
    OperationResult result{true, {}, {}};
    for (const int game : to) {
        OperationResult one;
        FileProblem problem;
        if (const std::optional<GameSettings> current =
                ReadGameSettings(emulatorDir, game, &problem)) {
            one = Write(emulatorDir, game,
                        CopyFor(*source, *current, emulatorDir, game, parts, probe));
        } else {
            one =
                Failed("The settings of " + GameText(game) + " cannot be read: " + problem.Line());
        }
        // One game that fails stops none of the others; each failure is told.
        result.done = result.done && one.done;
        if (!one.done) {
            result.error += (result.error.empty() ? "" : " ") + one.error;
        }
        result.changedGames.insert(result.changedGames.end(), one.changedGames.begin(),
                                   one.changedGames.end());
    }
    return result;
}

OperationResult RestoreSettings(const std::string& emulatorDir, int game, int id) {
    std::string reason;
    const std::optional<GameSettings> version = History(emulatorDir).Load(game, id, &reason);
    if (!version) {
        return Failed("Version " + std::to_string(id) + " of " + GameText(game) +
                      " was not restored. " + reason);
    }
    return Write(emulatorDir, game, *version);
}

OperationResult RemoveSettings(const std::string& emulatorDir, int game) {
    return Write(emulatorDir, game, GameSettings{});
}

}  // namespace velmora::settings
