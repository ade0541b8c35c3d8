#pragma once
// Helpers for the window tests: answering modal boxes the code under test opens, and a
// profile and registry of the test's own.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace velmora::test {

// Runs the event loop until `done` holds; false when it still does not after `timeoutMs`.
// (QTRY_* report to QTest's own log, which GoogleTest never reads: they cannot fail here.)
template <typename Predicate>
[[nodiscard]] bool WaitUntil(Predicate done, int timeoutMs = 30000) {
    return QTest::qWaitFor(done, timeoutMs);
}

// Hands the next modal window to `handle` from inside its event loop, once it is the active
// window: the moment a user could type into it, with the focus where the window put it. A
// modal on the stack is not enough; the platform activates it a little later, and a busy or
// sanitised build shows that gap. No such window by the deadline fails the test, and any modal
// window up then or later, while the watch lives, is closed: its exec() returns, no test hangs.
class ModalWatch {
public:
    using Wanted = std::function<bool(QWidget*)>;

    // `wanted` picks the window when two watches wait at once, such as a question and the
    // dialog its answer opens.
    explicit ModalWatch(std::function<void(QWidget*)> handle, Wanted wanted = {},
                        int timeoutMs = 30000)
        : m_handle(std::move(handle)), m_wanted(std::move(wanted)), m_deadline(timeoutMs) {
        m_poll.setInterval(1);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { Check(); });
        m_poll.start();
    }
    ~ModalWatch() {
        if (!m_seen && !m_timedOut && m_expected) {
            ADD_FAILURE() << "no modal window became active";
        }
    }
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

    bool Seen() const { return m_seen; }
    // For a test that checks that nothing opens.
    void ExpectNone() { m_expected = false; }

private:
    void Check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (m_timedOut) {
            Close(modal);
        } else if (modal != nullptr && modal->isVisible() && modal->isActiveWindow() &&
                   (!m_wanted || m_wanted(modal))) {
            m_poll.stop();
            m_seen = true;
            m_handle(modal);
        } else if (m_deadline.hasExpired() && modal == nullptr && !m_expected) {
            m_poll.stop();
        } else if (m_deadline.hasExpired()) {
            m_timedOut = true;
            ADD_FAILURE() << "no modal window became active in time; closing "
                          << (modal != nullptr ? modal->windowTitle().toStdString() : "none");
            Close(modal);
        }
    }
    static void Close(QWidget* modal) {  // done(): a message box may ignore close()
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->done(QDialog::Rejected);
        } else if (modal != nullptr) {
            modal->close();
        }
    }

    std::function<void(QWidget*)> m_handle;
    Wanted m_wanted;
    QDeadlineTimer m_deadline;
    QTimer m_poll;
    bool m_seen = false;
    bool m_timedOut = false;
    bool m_expected = true;
};

template <typename Window>
bool IsA(QWidget* widget) {
    return dynamic_cast<Window*>(widget) != nullptr;
}

// Records the next message box and presses `button` on it.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(QMessageBox::StandardButton button)
        : m_watch(
              [this, button](QWidget* modal) {
                  auto* box = qobject_cast<QMessageBox*>(modal);
                  ASSERT_NE(box, nullptr) << "the modal window is no message box";
                  title = box->windowTitle();
                  text = box->text();
                  icon = box->icon();
                  box->button(button)->click();
              },
              IsA<QMessageBox>) {}

    bool Shown() const { return m_watch.Seen(); }

    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;

private:
    ModalWatch m_watch;
};

}  // namespace velmora::test
