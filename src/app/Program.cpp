#include "Program.h"

#include <QApplication>
#include <QIcon>
#include <memory>

#include "Bitmaps.h"
#include "CVelmoraApp.h"
#include "CommandLine.h"
#include "CommandModes.h"
#include "Console.h"
#include "Contract.h"
#include "GameList.h"
#include "GameSnapshots.h"
#include "Platform.h"
#include "ProcessRunner.h"
#include "ShortcutModes.h"
#include "Version.h"

namespace velmora::app {

namespace {

QStringList ArgumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

bool NeedsDisplay(const CommandRequest& request, const std::string& emulatorDir) {
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
            WriteOut(line.HelpText().toLocal8Bit().toStdString());
            return 0;
        case Mode::Version:
            WriteOut("Velmora " VELMORA_VERSION "\n");
            return 0;
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
        CVelmoraApp app(argc, argv);  // takes Qt's own options out of the arguments
        app.InitInstance();
        return CVelmoraApp::exec();
    }
    PrepareConsole();
    if (!understood) {
        ReportError("Velmora: " + line.ErrorText().toLocal8Bit().toStdString() +
                    " (see Velmora --help)");
        return kExitUsage;
    }

    const CommandRequest& request = line.Request();
    const std::string executable = platform::ExecutablePath();
    const std::string emulatorDir = platform::EmulatorDirectoryFor(executable);
    std::unique_ptr<QCoreApplication> app;
    if (NeedsDisplay(request, emulatorDir)) {
        if (!CanShowWindows()) {
            ReportError(request.mode == Mode::Start
                            ? "Game " + std::to_string(request.game) +
                                  " is not configured yet! Configure it in Velmora's "
                                  "window, or with --configure on a display."
                            : std::string("The Configure game dialog needs a display."));
            return kExitFailed;
        }
        auto widgets = std::make_unique<QApplication>(argc, argv);
        widgets->setWindowIcon(QIcon(ui::AppIcon()));
        app = std::move(widgets);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));

    snapshot::GameSnapshots snapshots(emulatorDir);
    games::ProcessRunner runner;
    ModeContext context{executable, emulatorDir, emu::EmulatorPath(emulatorDir), snapshots, runner};
    return RunMode(line, context);
}

}  // namespace velmora::app
