#include "Windowed.h"

#include <QApplication>
#include <QIcon>
#include <memory>

#include "Bitmaps.h"
#include "CVelmoraApp.h"
#include "CommandLineApp.h"
#include "WidgetModes.h"

namespace velmora::app {

int RunWindowed(int& argc, char** argv) {
    CommandLine line;
    if (!line.Parse(ArgumentList(argc, argv))) {
        // The command line said so already; a second reading cannot differ.
        return kExitUsage;
    }
    const CommandRequest request = line.Request();
    if (request.mode == Mode::Window) {
        CVelmoraApp app(argc, argv);
        if (!app.InitInstance()) {
            return kExitFailed;
        }
        return CVelmoraApp::exec();
    }

    // A shortcut's icon is drawn without any window; the dialog and the question need them.
    std::unique_ptr<QCoreApplication> app;
    if (request.mode == Mode::Shortcut || request.mode == Mode::RemoveShortcut) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        auto widgets = std::make_unique<QApplication>(argc, argv);
        widgets->setWindowIcon(QIcon(ui::AppIcon()));
        app = std::move(widgets);
    }
    return RunInOwnDirectory([&](ModeContext& context) {
        switch (request.mode) {
            case Mode::Start:
                return StartGame(context, request.game);
            case Mode::Configure:
                return ConfigureGame(context, request.game);
            case Mode::Shortcut:
                return MakeShortcut(context, request.game);
            case Mode::RemoveShortcut:
                return RemoveShortcut(context, request.game);
            default:
                return kExitUsage;
        }
    });
}

}  // namespace velmora::app
