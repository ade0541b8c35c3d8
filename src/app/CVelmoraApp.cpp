#include "CVelmoraApp.h"

#include "Bitmaps.h"
#include "MainWindow.h"
#include "Platform.h"

namespace velmora::app {

CVelmoraApp::CVelmoraApp(int& argc, char** argv)
    : QApplication(argc, argv),
      m_executable(platform::ExecutablePath()),
      m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                 QStringLiteral("Velmora")),
      m_profile(m_settings),
      m_snapshots(platform::EmulatorDirectoryFor(m_executable)) {
    setApplicationName(QStringLiteral("Velmora"));
    setWindowIcon(QIcon(ui::AppIcon()));
}

CVelmoraApp::~CVelmoraApp() = default;

void CVelmoraApp::InitInstance() {
    m_doc.OnNewDocument();
    m_frame = OpenMainWindow(m_executable, m_profile, m_snapshots, m_runner, m_doc);
}

}  // namespace velmora::app
