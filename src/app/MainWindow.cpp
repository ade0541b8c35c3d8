#include "MainWindow.h"

#include <QApplication>

#include "CVelmoraDoc.h"
#include "CVelmoraView.h"
#include "GamePad.h"
#include "Profile.h"
#include "WidgetText.h"

namespace velmora::app {

std::unique_ptr<CMainFrame> OpenMainWindow(const std::string& executablePath, ui::CProfile& profile,
                                           snapshot::GameSnapshots& snapshots,
                                           games::ProcessRunner& runner, const CVelmoraDoc& doc) {
    auto frame = std::make_unique<CMainFrame>(executablePath, profile);
    auto view = std::make_unique<games::CVelmoraView>(*frame, runner, snapshots);
    // The emulator lists its games while the window is built; the list collects them.
    view->StartGameListRun();
    frame->Create();
    frame->setWindowTitle(ui::ToWidget(doc.Title()) + QStringLiteral(" - ") +
                          QApplication::applicationName());
    games::CVelmoraView* list = view.release();  // the frame owns it from here
    frame->SetActiveView(list);
    list->OnInitialUpdate();
    InstallGamePad(*frame, *list, profile);

    if (profile.GetInt(ui::kPositionSection, "Maximized", 0) != 0) {
        frame->showMaximized();
    } else {
        frame->show();
    }
    frame->repaint();
    return frame;
}

}  // namespace velmora::app
