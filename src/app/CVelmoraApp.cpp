#include "CVelmoraApp.h"

#include <QDir>

#include "Bitmaps.h"
#include "MainWindow.h"
#include "Platform.h"

namespace velmora::app {

CVelmoraApp::CVelmoraApp(int& argc, char** argv)
    : QApplication(argc, argv),
      m_executable(ExecutablePath()),
      m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                 QStringLiteral("Velmora")),
      m_profile(m_settings),
      m_snapshots(platform::EmulatorDirectoryFor(m_executable)) {
    setApplicationName(QStringLiteral("Velmora"));
    setWindowIcon(QIcon(ui::AppIcon()));
}

CVelmoraApp::~CVelmoraApp() = default;

std::string CVelmoraApp::ExecutablePath() {
    // The path's own bytes: a folder name that is not UTF-8 must survive.
    std::string path = platform::ExecutablePath();
    if (path.empty()) {
        path = QDir::toNativeSeparators(applicationFilePath()).toLocal8Bit().toStdString();
    }
    return path;
}

bool CVelmoraApp::InitInstance() {
    if (!m_doc.OnNewDocument()) {
        return false;
    }
    m_frame = OpenMainWindow(m_executable, m_profile, m_snapshots, m_runner, m_doc);
    return m_frame != nullptr;
}

}  // namespace velmora::app
