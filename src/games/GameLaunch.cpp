// Starting the selected game: a configured one runs with its own options file and plugin
// settings; an unconfigured one leads to its configuration instead.

#include <QWidget>
#include <string_view>

#include "CConfigGameDlg.h"
#include "CVelmoraView.h"
#include "FrameServices.h"
#include "GameLauncher.h"

namespace velmora::games {

void CVelmoraView::StartSelectedGame() {
    CollectHelpText();  // the emulator never runs twice at once
    const int row = GetSelectedRow();
    if (row < 0) {
        return;
    }
    if (RowImage(row) == kNotConfigured) {
        if (config::AskToConfigure(this)) {
            ConfigureSelectedGame();
        }
        return;  // even a freshly configured game waits for the user to start it
    }

    GameLauncher launcher(m_frame.EmulatorDirectory(), m_snapshots, m_runner);
    const int game = RowGameNumber(row);
    constexpr std::string_view kRefused = "ZiNc refuses to run!";
    if (m_frame.ShowOutputFlag() == 0) {
        m_frame.SetOutputText(std::string());
        // The same words as a captured start that fails; a game that starts leaves the bar empty.
        std::int64_t processId = 0;
        if (!launcher.StartDetached(game, &processId)) {
            m_frame.SetOutputText(std::string(kRefused));
        } else {
            emit GameStarted(processId);
        }
        return;
    }
    RunHooks hooks;
    hooks.onPipeReady = [this] { m_frame.SetOutputText("Executing ZiNc..."); };
    hooks.onStartAttempted = [this] {
        if (QWidget* window = m_frame.FrameWindow()) {
            window->repaint();
        }
    };
    hooks.onChildStarted = [this](std::int64_t processId) { emit GameStarted(processId); };
    const CaptureResult result = launcher.RunCaptured(game, hooks);
    m_frame.SetOutputText(result.started ? result.text : std::string(kRefused));
}

}  // namespace velmora::games
