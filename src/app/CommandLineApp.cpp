#include "CommandLineApp.h"

#include <QCoreApplication>

#include "CommandModes.h"
#include "Console.h"
#include "GameList.h"
#include "Version.h"

namespace velmora::app {

namespace {

enum class Needs { CoreOnly, Widgets, Display };

// What the mode needs beyond Qt Core: a display for the dialog, and for the question a start
// asks when the game is not configured; the widgets' library for a shortcut, whose icon is
// drawn with Qt's images.
Needs NeedsOf(const CommandRequest& request, const std::string& emulatorDir) {
    switch (request.mode) {
        case Mode::Configure:
            return Needs::Display;
        case Mode::Start:
            return games::IsGameConfigured(emulatorDir, request.game) ? Needs::CoreOnly
                                                                      : Needs::Display;
        case Mode::Shortcut:
        case Mode::RemoveShortcut:
        case Mode::Window:
            return Needs::Widgets;
        default:
            return Needs::CoreOnly;
    }
}

}  // namespace

QStringList ArgumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

std::optional<int> RunCommandLine(int& argc, char** argv) {
    CommandLine line;
    const bool understood = line.Parse(ArgumentList(argc, argv));
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
    switch (NeedsOf(request, platform::EmulatorDirectoryFor(platform::ExecutablePath()))) {
        case Needs::Display:
            if (!CanShowWindows()) {
                ReportError(request.mode == Mode::Start
                                ? "Game " + std::to_string(request.game) +
                                      " is not configured yet! Configure it in Velmora's "
                                      "window, or with --configure on a display."
                                : std::string("The Configure game dialog needs a display."));
                return kExitFailed;
            }
            return std::nullopt;
        case Needs::Widgets:
            return std::nullopt;
        case Needs::CoreOnly:
            break;
    }

    QCoreApplication app(argc, argv);
    switch (request.mode) {
        case Mode::Help:
            WriteOut(line.HelpText().toLocal8Bit().toStdString());
            return 0;
        case Mode::Version:
            WriteOut("Velmora " VELMORA_VERSION "\n");
            return 0;
        case Mode::List:
            return RunInOwnDirectory([](ModeContext& context) { return ListGames(context); });
        case Mode::Start:
            return RunInOwnDirectory(
                [&](ModeContext& context) { return StartConfiguredGame(context, request.game); });
        default:
            return kExitUsage;
    }
}

}  // namespace velmora::app
