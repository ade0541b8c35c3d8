#include "CommandModes.h"

#include <QCoreApplication>
#include <QDir>

#include "Console.h"
#include "GameLauncher.h"
#include "GameList.h"

namespace velmora::app {

namespace {

constexpr const char* kNoEmulator = "Could not find ZINC.EXE!";

}  // namespace

std::string OwnExecutable() {
    std::string path = platform::ExecutablePath();
    if (path.empty()) {
        path = QDir::toNativeSeparators(QCoreApplication::applicationFilePath())
                   .toLocal8Bit()
                   .toStdString();
    }
    return path;
}

std::optional<GameCatalog> LoadCatalog(const ModeContext& context) {
    std::optional<GameCatalog> catalog =
        GameCatalog::Load(context.runner, context.emulatorPath, context.emulatorDir);
    if (!catalog) {
        ReportError(kNoEmulator);
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

int StartConfiguredGame(ModeContext& context, int game) {
    games::GameLauncher launcher(context.emulatorDir, context.snapshots, context.runner);
    const games::ForwardedResult result = launcher.RunForwarded(game);
    if (!result.started) {
        ReportError(std::string(kNoEmulator) + "\n" + emu::EmulatorPath(context.emulatorDir) +
                    ": " + result.error);
        return kExitFailed;
    }
    return result.exitCode;
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
    WriteOut(lines);
    return 0;
}

}  // namespace velmora::app
