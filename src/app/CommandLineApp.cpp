#include "CommandLineApp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QStringList>
#include <memory>

#include "Bitmaps.h"
#include "CommandLine.h"
#include "CommandModes.h"
#include "Console.h"
#include "Contract.h"
#include "GameList.h"
#include "GameSnapshots.h"
#include "Platform.h"
#include "ProcessRunner.h"
#include "Version.h"

namespace velmora::app {

namespace {

// Whether the mode may have to show a widget: the dialog always, a start only when the game
// is not configured and the question must be asked.
bool NeedsWidgets(const CommandRequest& request, const std::string& emulatorDir) {
    switch (request.mode) {
        case Mode::Configure:
            return true;
        case Mode::Start:
            return !games::IsGameConfigured(emulatorDir, request.game);
        default:
            return false;
    }
}

std::string OwnExecutable() {
    // The path's own bytes: a folder name that is not UTF-8 must survive.
    std::string path = platform::ExecutablePath();
    if (path.empty()) {
        path = QDir::toNativeSeparators(QCoreApplication::applicationFilePath())
                   .toLocal8Bit()
                   .toStdString();
    }
    return path;
}

int RunMode(const CommandRequest& request, const std::string& executable) {
    const std::string emulatorDir = platform::EmulatorDirectoryFor(executable);
    snapshot::GameSnapshots snapshots(emulatorDir);
    games::ProcessRunner runner;
    ModeContext context{executable, emulatorDir, emu::EmulatorPath(emulatorDir), snapshots, runner};
    switch (request.mode) {
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
        default:
            return kExitUsage;
    }
}

}  // namespace

std::optional<int> RunCommandLine(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    CommandLine line;
    const bool understood = line.Parse(arguments);
    if (understood && line.Request().mode == Mode::Window) {
        return std::nullopt;
    }
    PrepareConsole();
    if (!understood) {
        ReportError("Velmora: " + line.ErrorText().toLocal8Bit().toStdString() +
                    " (see Velmora --help)");
        return kExitUsage;
    }

    const CommandRequest& request = line.Request();
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    const std::string executable = platform::ExecutablePath();
    std::unique_ptr<QCoreApplication> app;
    if (NeedsWidgets(request, platform::EmulatorDirectoryFor(executable))) {
        if (!CanShowWindows()) {
            ReportError(request.mode == Mode::Start
                            ? "Game " + std::to_string(request.game) +
                                  " is not configured yet! Configure it in Velmora's window, "
                                  "or with --configure on a display."
                            : std::string("The Configure game dialog needs a display."));
            return kExitFailed;
        }
        auto widgets = std::make_unique<QApplication>(argc, argv);
        widgets->setWindowIcon(QIcon(ui::AppIcon()));
        app = std::move(widgets);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    switch (request.mode) {
        case Mode::Help:
            WriteOut(line.HelpText().toLocal8Bit().toStdString());
            return 0;
        case Mode::Version:
            WriteOut("Velmora " VELMORA_VERSION "\n");
            return 0;
        default:
            return RunMode(request, OwnExecutable());
    }
}

}  // namespace velmora::app
