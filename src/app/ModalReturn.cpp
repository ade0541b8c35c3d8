#include "ModalReturn.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace velmora::app {

ModalReturn::ModalReturn(QWidget* fallback) : QObject(fallback), m_fallback(fallback) {
    QApplication::instance()->installEventFilter(this);
}

ModalReturn::~ModalReturn() {
    QApplication::instance()->removeEventFilter(this);
}

bool ModalReturn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Hide || !watched->isWidgetType()) {
        return false;
    }
    auto* window = static_cast<QWidget*>(watched);
    // A modal window that closes leaves no window active (Qt has let go of it by now) and
    // has left the stack of modal windows. With another program active, nothing is taken
    // from it.
    if (!window->isWindow() || !window->isModal() || QApplication::activeWindow() != nullptr) {
        return false;
    }
    QWidget* next = QApplication::activeModalWidget();
    if (next == nullptr) {
        next = m_fallback;
    }
    if (next != nullptr && next != window && next->isVisible()) {
        next->activateWindow();
    }
    return false;
}

}  // namespace velmora::app
