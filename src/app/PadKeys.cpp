#include "PadKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace velmora::app {

namespace {

struct Key {
    int key = 0;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString text;
    bool toWindow = false;  // to the window rather than to its focus
};

}  // namespace

bool SendPadKey(pad::Action action, bool repeat, const QWidget* mainWindow) {
    QWidget* popup = QApplication::activePopupWidget();
    QWidget* window = popup != nullptr ? popup : QApplication::activeWindow();
    if (window == nullptr) {
        return false;  // another program has the focus
    }
    const bool inDialog = popup == nullptr && window != mainWindow;
    Key key;
    switch (action) {
        case pad::Action::Up:
            key.key = Qt::Key_Up;
            break;
        case pad::Action::Down:
            key.key = Qt::Key_Down;
            break;
        case pad::Action::PageUp:
            key.key = Qt::Key_PageUp;
            break;
        case pad::Action::PageDown:
            key.key = Qt::Key_PageDown;
            break;
        case pad::Action::Accept:
            key = {Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")};
            break;
        case pad::Action::Back:
            key = {Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")};
            break;
        case pad::Action::Previous:
            if (popup != nullptr) {
                key.key = Qt::Key_Left;
            } else if (inDialog) {
                key = {Qt::Key_Backtab, Qt::ShiftModifier, QString(), true};
            } else {
                return false;
            }
            break;
        case pad::Action::Next:
            if (popup != nullptr) {
                key.key = Qt::Key_Right;
            } else if (inDialog) {
                key = {Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"), true};
            } else {
                return false;
            }
            break;
        case pad::Action::Configure:
            return false;  // not a key: the caller opens the dialog
    }
    QWidget* focus = popup != nullptr ? popup->focusWidget() : QApplication::focusWidget();
    // The key may close the window it goes to; the release then goes nowhere.
    QPointer<QWidget> target = key.toWindow || focus == nullptr ? window : focus;
    QKeyEvent press(QEvent::KeyPress, key.key, key.modifiers, key.text, repeat);
    QCoreApplication::sendEvent(target, &press);
    if (target != nullptr) {
        QKeyEvent release(QEvent::KeyRelease, key.key, key.modifiers, key.text, repeat);
        QCoreApplication::sendEvent(target, &release);
    }
    return true;
}

}  // namespace velmora::app
