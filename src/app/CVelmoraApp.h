#pragma once
// The application: creates the document, the main window and the game list, and shows the
// window as the profile left it.

#include <QApplication>
#include <QSettings>
#include <memory>

#include "CVelmoraDoc.h"
#include "GameSnapshots.h"
#include "ProcessRunner.h"
#include "Profile.h"

namespace velmora::app {

class CMainFrame;

class CVelmoraApp : public QApplication {
    Q_OBJECT

public:
    CVelmoraApp(int& argc, char** argv);
    ~CVelmoraApp() override;

    // The document, the main window and its game list.
    void InitInstance();

private:
    std::string m_executable;
    QSettings m_settings;
    ui::CProfile m_profile;
    snapshot::GameSnapshots m_snapshots;
    CVelmoraDoc m_doc;
    games::ProcessRunner m_runner;
    std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace velmora::app
