#include "CommandModes.h"

#include "CConfigGameDlg.h"
#include "Console.h"
#include "Contract.h"
#include "GameLauncher.h"
#include "GameList.h"
#include "GameSnapshots.h"
#include "PadForwarded.h"
#include "ProcessRunner.h"
#include "SettingsWrite.h"

namespace velmora::app {

namespace {

// The window's words, then where Velmora looked and why the emulator did not run.
void ReportNoEmulator(const ModeContext& context, const std::string& reason) {
    ReportError("Could not find ZINC.EXE!\n" + context.emulatorPath + ": " + reason);
}

}  // namespace

std::optional<GameCatalog> LoadCatalog(const ModeContext& context) {
    std::string reason;
    std::optional<GameCatalog> catalog =
        GameCatalog::Load(context.runner, context.emulatorPath, context.emulatorDir, &reason);
    if (!catalog) {
        ReportNoEmulator(context, reason);
    }
    return catalog;
}

const games::GameRow* FindGame(const GameCatalog& catalog, int game) {
    const games::GameRow* row = catalog.Find(game);
    if (row == nullptr) {
        ReportError("There is no game " + std::to_string(game) + " in the emulator's list.");
    }
    return row;
}

int StartGame(ModeContext& context, int game) {
    if (!games::IsGameConfigured(context.emulatorDir, game)) {
        // Asked only of a game the emulator knows, and only where the question can be seen.
        const std::optional<GameCatalog> catalog = LoadCatalog(context);
        if (!catalog || FindGame(*catalog, game) == nullptr) {
            return kExitFailed;
        }
        if (!context.display) {
            ReportError("Game " + std::to_string(game) +
                        " is not configured yet! Configure it in Velmora's window, or with "
                        "--configure on a display.");
            return kExitFailed;
        }
        if (config::AskToConfigure(nullptr)) {
            ConfigureGame(context, game);
        }
        return kExitFailed;  // even a freshly configured game waits for the user to start it
    }
    games::GameLauncher launcher(context.emulatorDir, context.snapshots, context.runner);
    // The game starts with whatever settings the plugins have, as it does from the list; the
    // user hears why they are not the game's own.
    // The end-game combination on a pad ends it as it does one started from the window.
    const games::ForwardedResult result =
        RunForwardedWithPad(launcher, game, [game](const std::string& reason) {
            ReportError("Velmora: the plugin settings of game " + std::to_string(game) +
                        " were not restored: " + reason);
        });
    if (!result.started) {
        ReportNoEmulator(context, result.error);
        return kExitFailed;
    }
    return result.exitCode;
}

int ConfigureGame(ModeContext& context, int game) {
    if (!context.display) {
        ReportError("The Configure game dialog needs a display.");
        return kExitFailed;
    }
    const std::optional<GameCatalog> catalog = LoadCatalog(context);
    const games::GameRow* row = catalog ? FindGame(*catalog, game) : nullptr;
    if (row == nullptr) {
        return kExitFailed;
    }
    const std::string helpText =
        context.runner
            .RunCaptured(emu::HelpTextCommand(context.emulatorPath, context.emulatorDir),
                         games::WindowMode::Hidden)
            .text;
    settings::HistoryGuard history;
    const config::ConfigureResult result = config::ConfigureGame(
        context.emulatorDir, helpText, context.snapshots, &history, row->game, game, nullptr);
    return result == config::ConfigureResult::Saved ? 0 : kExitFailed;
}

int ListGames(ModeContext& context) {
    const std::optional<GameCatalog> catalog = LoadCatalog(context);
    if (!catalog) {
        return kExitFailed;
    }
    const games::ConfiguredGames configured(context.emulatorDir);
    std::string lines;
    for (const games::GameRow& row : catalog->Rows()) {
        lines += ListLine(row, configured.IsConfigured(row.number));
    }
    return WriteOut(lines) ? 0 : kExitFailed;
}

}  // namespace velmora::app
