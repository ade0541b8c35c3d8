#include "CVelmoraApp.h"

#include <QDir>

#include "Bitmaps.h"
#include "MainWindow.h"

namespace velmora::app {

CVelmoraApp::CVelmoraApp(int& argc, char** argv)
    : QApplication(argc, argv),
      m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                 QStringLiteral("Velmora")),
      m_profile(m_settings) {
    setApplicationName(QStringLiteral("Velmora"));
    setWindowIcon(QIcon(ui::AppIcon()));
}

CVelmoraApp::~CVelmoraApp() = default;

bool CVelmoraApp::InitInstance() {
    if (!m_doc.OnNewDocument()) {
        return false;
    }
    const std::string executable =
        QDir::toNativeSeparators(applicationFilePath()).toLocal8Bit().toStdString();
    m_frame = OpenMainWindow(executable, m_profile, m_runner, m_doc);
    return m_frame != nullptr;
}

}  // namespace velmora::app
