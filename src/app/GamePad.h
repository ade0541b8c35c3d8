#pragma once
// The game pad in Velmora's windows. A timer reads the pads; while one of Velmora's windows
// is active their actions become keys (PadKeys.h), and X opens the Configure game dialog of
// the selected row. While a game Velmora started runs, captured or detached, the pads are
// read for the end-game combination only: held, it ends the game (GameWatch.h), and Velmora
// takes the focus back. While a stick is being taught, its raw presses go to the teacher.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

#include "PadProfileStore.h"
#include "PadSession.h"

class QWidget;

namespace velmora::games {
class CVelmoraView;
}
namespace velmora::ui {
class CProfile;
}

namespace velmora::app {

class GameWatch;

class CGamePad : public QObject {
    Q_OBJECT

public:
    using Clock = std::function<pad::Time()>;
    // How often the pads are read: the device read, no test waits on it.
    static constexpr std::chrono::milliseconds kPollInterval{15};

    // SDL starts once the event loop runs, after the window's first paint, or when first
    // needed. The mappings taught come from `profile`; `clock` gives the time, the steady
    // clock when none is given (tests pass their own).
    explicit CGamePad(ui::CProfile& profile, QObject* parent = nullptr, Clock clock = {});
    ~CGamePad() override;

    // A held direction repeats at the desktop's key repeat rate, after about the usual delay.
    static pad::Timing KeyTiming();

    bool Available() { return Session().Available(); }
    QString Error();
    pad::PadSession& Session();
    pad::MappingStore& Store() { return m_store; }

    // The main window: X configures there, and the focus returns there after a game the pad
    // ended. Previous and next field mean nothing there.
    void SetMainWindow(QWidget* window) { m_mainWindow = window; }
    void SetConfigureHandler(std::function<void()> configure) {
        m_configure = std::move(configure);
    }

    // A game Velmora started runs as this process.
    void WatchGame(qint64 processId);
    bool GameRunning() const { return m_game != nullptr; }

    // Teaching: while a listener is set, raw presses and devices coming and going go to it,
    // and nothing becomes a key.
    void SetListener(std::function<void(const pad::PadEvent&)> listener) {
        m_listener = std::move(listener);
    }

    // Reads the pads now; the timer does so every kPollInterval.
    void Poll();

signals:
    void GameEnded();

private:
    void Deliver(pad::Action action, bool repeat);
    void EndWatch(pad::Time now);

    PadProfileStore m_store;
    std::unique_ptr<pad::PadSession> m_session;
    Clock m_clock;
    QTimer m_timer;
    QPointer<QWidget> m_mainWindow;
    std::function<void()> m_configure;
    std::function<void(const pad::PadEvent&)> m_listener;
    std::unique_ptr<GameWatch> m_game;
    bool m_polling = false;
};

// The game pad of the main window `frame` and its game list `view`, owned by the frame: X
// configures the view's selected row, and every game the view starts is watched.
CGamePad* InstallGamePad(QWidget& frame, games::CVelmoraView& view, ui::CProfile& profile,
                         CGamePad::Clock clock = {});

// "Set up game pad...": the teaching dialog on the pad installed in `frame`.
void OpenPadSetup(QWidget& frame);

}  // namespace velmora::app
