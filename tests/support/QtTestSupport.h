#pragma once
// Helpers for the window tests: answering modal boxes the code under test opens, and a
// profile and registry of the test's own.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

namespace velmora::test {

// Calls `handle` with the next modal widget once it shows, from inside its event loop.
inline void WhenModalShows(std::function<void(QWidget*)> handle, int attempts = 200) {
    QTimer::singleShot(10, [handle = std::move(handle), attempts]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            handle(modal);
        } else if (attempts > 0) {
            WhenModalShows(std::move(handle), attempts - 1);
        }
    });
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool shown = false;
};

// Records the next message box and presses `button` on it.
inline void AnswerNextMessageBox(SeenBox& seen, QMessageBox::StandardButton button) {
    WhenModalShows([&seen, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            return;
        }
        seen = {box->windowTitle(), box->text(), box->icon(), true};
        box->button(button)->click();
    });
}

}  // namespace velmora::test
