#include "GamePad.h"

#include <QApplication>
#include <QGuiApplication>
#include <QStyleHints>
#include <QWidget>

#include "CPadSetupDlg.h"
#include "CVelmoraView.h"
#include "GameWatch.h"
#include "PadKeys.h"

namespace velmora::app {

namespace {

CGamePad::Clock SteadyClock() {
    const auto origin = std::chrono::steady_clock::now();
    return [origin] {
        return std::chrono::duration_cast<pad::Time>(std::chrono::steady_clock::now() - origin);
    };
}

}  // namespace

pad::Timing CGamePad::KeyTiming() {
    pad::Timing timing;
    const int rate = QGuiApplication::styleHints()->keyboardAutoRepeatRate();
    if (rate > 0) {
        timing.repeatInterval = pad::Time(std::max(1000 / rate, 1));
    }
    return timing;
}

CGamePad::CGamePad(ui::CProfile& profile, QObject* parent, Clock clock)
    : QObject(parent), m_store(profile), m_clock(clock ? std::move(clock) : SteadyClock()) {
    // Loading and starting SDL takes a few milliseconds: not before the window has painted.
    QTimer::singleShot(0, this, [this] { Session(); });
}

CGamePad::~CGamePad() = default;

pad::PadSession& CGamePad::Session() {
    if (!m_session) {
        m_session = std::make_unique<pad::PadSession>(m_store, KeyTiming());
        if (m_session->Available()) {
            m_timer.setInterval(kPollInterval);
            connect(&m_timer, &QTimer::timeout, this, &CGamePad::Poll);
            m_timer.start();
        }
    }
    return *m_session;
}

QString CGamePad::Error() {
    return QString::fromLocal8Bit(Session().Error());
}

void CGamePad::WatchGame(qint64 processId) {
    m_game = std::make_unique<GameWatch>(processId);
    // The button that started the game is still down: it starts nothing more.
    Session().Settle(m_clock());
}

void CGamePad::Poll() {
    if (m_polling) {
        return;
    }
    m_polling = true;
    const pad::Time now = m_clock();
    for (const pad::PadEvent& event : Session().Poll(now)) {
        switch (event.kind) {
            case pad::PadEvent::Kind::Combination:
                if (m_game) {
                    m_game->Combination(now);
                }
                break;
            case pad::PadEvent::Kind::Action:
                if (!m_game && !m_listener) {
                    // Not from here: a key may open a dialog or run a game, whose event loop
                    // must find this timer free to fire again.
                    QMetaObject::invokeMethod(
                        this, [this, event] { Deliver(event.action, event.repeat); },
                        Qt::QueuedConnection);
                }
                break;
            default:
                if (m_listener) {
                    m_listener(event);
                }
                break;
        }
    }
    if (m_game) {
        m_game->Tick(now);
        if (!m_game->IsRunning()) {
            EndWatch(now);
        }
    }
    m_polling = false;
}

void CGamePad::EndWatch(pad::Time now) {
    const bool byPad = m_game->EndedByPad();
    m_game.reset();
    // The combination is still held: it must not go on as keys.
    Session().Settle(now);
    if (byPad && m_mainWindow) {
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
    emit GameEnded();
}

void CGamePad::Deliver(pad::Action action, bool repeat) {
    if (m_game || m_listener) {
        return;  // a game started, or teaching began, since the action was read
    }
    if (action != pad::Action::Configure) {
        SendPadKey(action, repeat, m_mainWindow);
        return;
    }
    // On the list only, as a keyboard user's menu command would be.
    if (m_configure && m_mainWindow && QApplication::activeWindow() == m_mainWindow &&
        QApplication::activePopupWidget() == nullptr &&
        QApplication::activeModalWidget() == nullptr) {
        m_configure();
    }
}

CGamePad* InstallGamePad(QWidget& frame, games::CVelmoraView& view, ui::CProfile& profile,
                         CGamePad::Clock clock) {
    auto* gamePad = new CGamePad(profile, &frame, std::move(clock));
    gamePad->SetMainWindow(&frame);
    gamePad->SetConfigureHandler([&view] { view.ConfigureSelectedGame(); });
    QObject::connect(&view, &games::CVelmoraView::GameStarted, gamePad, &CGamePad::WatchGame);
    return gamePad;
}

void OpenPadSetup(QWidget& frame) {
    if (CGamePad* gamePad = frame.findChild<CGamePad*>(QString(), Qt::FindDirectChildrenOnly)) {
        CPadSetupDlg dialog(*gamePad, &frame);
        dialog.exec();
    }
}

}  // namespace velmora::app
