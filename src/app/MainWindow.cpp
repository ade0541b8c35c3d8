#include "MainWindow.h"

#include <QApplication>

#include "CVelmoraDoc.h"
#include "CVelmoraView.h"
#include "Profile.h"

namespace velmora::app {

std::unique_ptr<CMainFrame> OpenMainWindow(const std::string& executablePath, CProfile& profile,
                                           const games::ProcessRunner& runner,
                                           const CVelmoraDoc& doc) {
    auto frame = std::make_unique<CMainFrame>(executablePath, profile);
    if (!frame->Create()) {
        return nullptr;
    }
    frame->setWindowTitle(QString::fromLocal8Bit(doc.Title()) + QStringLiteral(" - ") +
                          QApplication::applicationName());
    auto* view = new games::CVelmoraView(*frame, runner);
    frame->SetActiveView(view);
    view->OnInitialUpdate();

    if (profile.GetInt(kPositionSection, "Maximized", 0) != 0) {
        frame->showMaximized();
    } else {
        frame->show();
    }
    frame->repaint();
    return frame;
}

}  // namespace velmora::app
