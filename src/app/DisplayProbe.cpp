#include "DisplayProbe.h"

#include <QGuiApplication>
#include <QString>
#include <string>
#include <vector>

namespace velmora::app {

namespace {

constexpr const char* kPlatformVariable = "QT_QPA_PLATFORM";
// Windows always has its display (and a static Qt there has its one platform alone).
#ifdef _WIN32
constexpr bool kDisplayMayBeMissing = false;
#else
constexpr bool kDisplayMayBeMissing = true;
#endif

// The platforms Qt tries when none is named, as it chooses them itself on Linux: X11, or
// Wayland first in a Wayland session other than GNOME's; then the offscreen platform, which
// always works, instead of an abort.
QByteArray PlatformsToTry() {
    const QByteArray desktop =
        (qgetenv("XDG_CURRENT_DESKTOP") + ':' + qgetenv("XDG_SESSION_DESKTOP")).toLower();
    const bool wayland = qgetenv("XDG_SESSION_TYPE") == "wayland" && !desktop.contains("gnome");
    return wayland ? "wayland;xcb;offscreen" : "xcb;offscreen";
}

// What Qt says while it looks for the display is held back: it is passed on once the display
// was reached, and otherwise Velmora tells the user in one line of its own.
struct Held {
    QtMsgType type;
    std::string category;
    QString message;
};
std::vector<Held> g_held;
QtMessageHandler g_previous = nullptr;

void HoldBack(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && g_previous != nullptr) {
        g_previous(type, context, message);  // Qt aborts right after this
        return;
    }
    g_held.push_back({type, context.category != nullptr ? context.category : "default", message});
}

}  // namespace

DisplayProbe::DisplayProbe(bool platformChosen)
    : m_fallback(kDisplayMayBeMissing && !platformChosen &&
                 !qEnvironmentVariableIsSet(kPlatformVariable)) {
    if (!m_fallback) {
        return;
    }
    qputenv(kPlatformVariable, PlatformsToTry());
    m_previous = qInstallMessageHandler(HoldBack);
    g_previous = m_previous;
}

DisplayProbe::~DisplayProbe() {
    if (!m_fallback) {
        return;
    }
    qInstallMessageHandler(m_previous);
    qunsetenv(kPlatformVariable);  // the emulator started later inherits nothing of it
    if (DisplayReached()) {
        for (const Held& held : g_held) {
            const QMessageLogContext context(nullptr, 0, nullptr, held.category.c_str());
            qt_message_output(held.type, context, held.message);
        }
    }
    g_held.clear();
}

bool DisplayProbe::DisplayReached() const {
    return !m_fallback || QGuiApplication::platformName() != QLatin1String("offscreen");
}

}  // namespace velmora::app
