#include "Program.h"

#include <QApplication>
#include <QIcon>
#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>

#include "Bitmaps.h"
#include "CPadSetupDlg.h"
#include "CVelmoraApp.h"
#include "CommandLine.h"
#include "CommandModes.h"
#include "Console.h"
#include "Contract.h"
#include "DisplayProbe.h"
#include "GameList.h"
#include "GameSnapshots.h"
#include "Platform.h"
#include "ProcessRunner.h"
#include "SettingsModes.h"
#include "ShortcutModes.h"
#include "TextRules.h"
#include "Version.h"

namespace velmora::app {

namespace {

std::vector<std::string> ArgumentList(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

SettingsSinks ConsoleSinks() {
    return {WriteOut, [](std::string_view line) { ReportError(line); }};
}

// The list's name for `game`, for the reader of an exported file; empty when the emulator
// cannot tell.
std::string ListedName(const ModeContext& context, int game) {
    const std::optional<GameCatalog> catalog =
        GameCatalog::Load(context.runner, context.emulatorPath, context.emulatorDir);
    const games::GameRow* row = catalog ? catalog->Find(game) : nullptr;
    return row != nullptr ? std::string(text::TrimRight(games::GameName(row->game))) : "";
}

// Settings are given only to games the emulator knows: a mistyped number writes nothing.
bool AllListed(const ModeContext& context, const std::vector<int>& games) {
    const std::optional<GameCatalog> catalog = LoadCatalog(context);
    return catalog && std::all_of(games.begin(), games.end(),
                                  [&](int game) { return FindGame(*catalog, game) != nullptr; });
}

// Whether the mode shows a window; the question a game that is not configured yet is asked
// counts once it is known that the game is not.
bool ShowsWindows(const CommandRequest& request, const std::string& emulatorDir) {
    switch (CommandLine::NeedsOf(request.mode)) {
        case Needs::Nothing:
            return false;
        case Needs::DisplayUnlessConfigured:
            return !games::IsGameConfigured(emulatorDir, request.game);
        case Needs::Display:
            break;
    }
    return true;
}

int RunMode(const CommandLine& line, ModeContext& context) {
    const CommandRequest& request = line.Request();
    switch (request.mode) {
        case Mode::Help:
            return WriteOut(line.HelpText().toLocal8Bit().toStdString()) ? 0 : kExitFailed;
        case Mode::Version:
            return WriteOut("Velmora " VELMORA_VERSION "\n") ? 0 : kExitFailed;
        case Mode::Start:
            return StartGame(context, request.game);
        case Mode::Configure:
            return ConfigureGame(context, request.game);
        case Mode::List:
            return ListGames(context);
        case Mode::Shortcut:
            return MakeShortcut(context, request.game);
        case Mode::RemoveShortcut:
            return RemoveShortcut(context, request.game);
        case Mode::DryRunStart:
            return DryRunStart(context.emulatorDir, request.game, ConsoleSinks());
        case Mode::History:
            return ShowSettingsHistory(context.emulatorDir, request.game, ConsoleSinks());
        case Mode::Restore:
            return RestoreSettingsVersion(context.emulatorDir, request.game, request.version,
                                          ConsoleSinks());
        case Mode::CopySettings:
            return AllListed(context, request.targets)
                       ? CopyGameSettings(context.emulatorDir, request.game, request.targets,
                                          ConsoleSinks())
                       : kExitFailed;
        case Mode::Export:
            return ExportGameSettings(context.emulatorDir, request.game,
                                      ListedName(context, request.game), request.file,
                                      ConsoleSinks());
        case Mode::Import:
            return AllListed(context, {request.game})
                       ? ImportGameSettings(context.emulatorDir, request.game, request.file,
                                            ConsoleSinks())
                       : kExitFailed;
        case Mode::RemoveSettings:
            return RemoveGameSettings(context.emulatorDir, request.game, ConsoleSinks());
        case Mode::SetupPad:
            if (!context.display) {
                ReportError("Setting up a game pad needs a display.");
                return kExitFailed;
            }
            return RunPadSetupMode();
        case Mode::Window:
            break;
    }
    return kExitUsage;
}

}  // namespace

int RunVelmora(int& argc, char** argv) {
    CommandLine line;
    const bool understood = line.Parse(ArgumentList(argc, argv));
    if (understood && line.Request().mode == Mode::Window) {
        std::optional<CVelmoraApp> app;
        {
            const DisplayProbe probe(line.PlatformChosen());
            app.emplace(argc, argv);  // takes Qt's own options out of the arguments
            if (!probe.DisplayReached()) {
                PrepareConsole();
                ReportError("Velmora needs a display for its window.");
                return kExitFailed;
            }
        }
        app->InitInstance();
        return CVelmoraApp::exec();
    }

    PrepareConsole();
    const std::string executable = platform::ExecutablePath();
    const std::string emulatorDir = platform::EmulatorDirectoryFor(executable);
    // A program nobody watches in a terminal, started from the desktop, tells its errors in
    // boxes: it needs widgets for them, as a mode that shows a window does.
    const bool errorBoxes = WantsErrorBoxes();
    std::unique_ptr<QCoreApplication> app;
    bool display = false;
    if (errorBoxes || (understood && ShowsWindows(line.Request(), emulatorDir))) {
        const DisplayProbe probe(line.PlatformChosen());
        auto widgets = std::make_unique<QApplication>(argc, argv);
        widgets->setWindowIcon(QIcon(ui::AppIcon()));
        display = probe.DisplayReached();
        app = std::move(widgets);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    if (errorBoxes && display) {
        ShowErrorsInBoxes();
    }
    if (!understood) {
        ReportError("Velmora: " + line.ErrorText().toLocal8Bit().toStdString() +
                    " (see Velmora --help)");
        return kExitUsage;
    }

    snapshot::GameSnapshots snapshots(emulatorDir);
    // The pauses between reads belong to the window's list; here the emulator's output is read
    // as fast as it comes.
    games::ProcessRunner runner(std::chrono::milliseconds(0));
    ModeContext context{executable, emulatorDir, emu::EmulatorPath(emulatorDir),
                        snapshots,  runner,      display};
    return RunMode(line, context);
}

}  // namespace velmora::app
