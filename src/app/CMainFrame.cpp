#include "CMainFrame.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QWindow>
#include <algorithm>

#include "CAboutDlg.h"
#include "COutputBar.h"
#include "CVelmoraView.h"
#include "Contract.h"
#include "GameMenu.h"
#include "GamePad.h"
#include "ModalReturn.h"
#include "Platform.h"
#include "Profile.h"

namespace velmora::app {

CMainFrame::CMainFrame(const std::string& executablePath, ui::CProfile& profile)
    : m_profile(profile),
      m_emulatorDirectory(platform::EmulatorDirectoryFor(executablePath)),
      m_emulatorPath(emu::EmulatorPath(m_emulatorDirectory)) {
    CreateMenu();
    new ModalReturn(this);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CreateMenu() {
    QMenu* config = menuBar()->addMenu(QStringLiteral("&Config"));
    m_startGame = config->addAction(QStringLiteral("&Start game..."));
    m_configureGame = config->addAction(QStringLiteral("&Configure game..."));
    config->addSeparator();
    m_showOutputAction = config->addAction(QStringLiteral("Show &ZiNc output"));
    m_showOutputAction->setCheckable(true);
    config->addSeparator();
    m_exit = config->addAction(QStringLiteral("E&xit"));
    m_help = menuBar()->addMenu(QStringLiteral("&Help"));
    m_about = m_help->addAction(QStringLiteral("&About Velmora..."));

    connect(m_startGame, &QAction::triggered, this, [this] {
        if (m_view != nullptr) {
            m_view->StartSelectedGame();
        }
    });
    connect(m_configureGame, &QAction::triggered, this, [this] {
        if (m_view != nullptr) {
            m_view->ConfigureSelectedGame();
        }
    });
    connect(m_showOutputAction, &QAction::triggered, this, &CMainFrame::OnToggleOutput);
    connect(m_exit, &QAction::triggered, this, &QWidget::close);
    connect(m_about, &QAction::triggered, this, [this] {
        CAboutDlg about(this);
        about.exec();
    });
    connect(config, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

QAction* CMainFrame::Action(int commandId) const {
    switch (commandId) {
        case kConfigureGame:
            return m_configureGame;
        case kStartGame:
            return m_startGame;
        case kShowOutput:
            return m_showOutputAction;
        case kAppAbout:
            return m_about;
        case kAppExit:
            return m_exit;
        default:
            return nullptr;
    }
}

void CMainFrame::Create() {
    const int x = m_profile.GetInt(ui::kPositionSection, "x", 100);
    const int y = m_profile.GetInt(ui::kPositionSection, "y", 100);
    const int dx = m_profile.GetInt(ui::kPositionSection, "dx", 515);
    const int dy = m_profile.GetInt(ui::kPositionSection, "dy", 480);
    m_showOutput = m_profile.GetInt(ui::kPositionSection, "ShowOutput", 1);
    // Stored placement is used as it is, even off screen or tiny. Until the frame around the
    // window is known, the outer size stands in for the inner one.
    move(x, y);
    resize(dx, dy);
    m_outerSize = QSize(dx, dy);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->installEventFilter(this);
    setCentralWidget(m_client);
    m_outputBar = new COutputBar(m_client);
    m_outputBar->setObjectName(QStringLiteral("outputBar"));
    m_outputBar->setVisible(m_showOutput != 0);
    UpdateCommandUI();
}

void CMainFrame::SetActiveView(games::CVelmoraView* view) {
    m_view = view;
    view->SetSaveGuard(&m_history);
    // What is done with the selected game's settings as a whole, between Config and Help.
    QMenu* game =
        AddGameMenu(*this, m_help->menuAction(),
                    {m_emulatorDirectory, qobject_cast<games::GameListModel*>(view->model()),
                     [view] { return view->GetSelectedRow(); }});
    game->addSeparator();
    connect(game->addAction(QStringLiteral("Set up game &pad...")), &QAction::triggered, this,
            [this] { OpenPadSetup(*this); });
    view->setParent(m_client);
    view->show();
    view->lower();
    view->setFocus();
    connect(view, &games::CVelmoraView::SelectionChanged, this, &CMainFrame::UpdateCommandUI);
    LayOutClient();
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI() {
    if (m_view != nullptr) {
        const bool selected = m_view->GetSelectedRow() >= 0;
        m_startGame->setEnabled(selected);
        m_configureGame->setEnabled(selected);
    }
    m_showOutputAction->setChecked(m_showOutput != 0);
}

bool CMainFrame::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowActivate:
            // The list is where the keys go: whenever the window comes back, after a dialog
            // or from another program, the list has the focus again.
            if (m_view != nullptr) {
                m_view->setFocus(Qt::ActiveWindowFocusReason);
            }
            ApplyOuterSize();
            break;
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
            ApplyOuterSize();
            break;
        default:
            break;
    }
    return QMainWindow::event(event);
}

void CMainFrame::ApplyOuterSize() {
    if (m_outerSizeApplied || isMaximized() || isMinimized() || windowHandle() == nullptr) {
        return;
    }
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull()) {
        return;  // no frame yet, or none at all: the inner size already is the outer size
    }
    m_outerSizeApplied = true;
    resize(m_outerSize.width() - frame.left() - frame.right(),
           m_outerSize.height() - frame.top() - frame.bottom());
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize) {
        OnSize(m_client->width(), m_client->height());
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::OnSize(int clientWidth, int /*clientHeight*/) {
    if (m_outputBar == nullptr) {
        return;
    }
    // Two pixels wider than the client area, one hanging off each side, so the bar's own
    // border never doubles the window's.
    m_outputBar->FitWidth(clientWidth + 2);
    LayOutClient();
}

void CMainFrame::LayOutClient() {
    const int width = m_client->width();
    const int height = m_client->height();
    int viewHeight = height;
    if (!m_outputBar->isHidden()) {
        const int barHeight = m_outputBar->height();
        viewHeight = std::max(0, height - barHeight);
        m_outputBar->move(-1, viewHeight);
    }
    if (m_view != nullptr) {
        m_view->setGeometry(0, 0, width, viewHeight);
    }
}

void CMainFrame::OnToggleOutput() {
    m_showOutput = m_showOutput == 0 ? 1 : 0;
    m_outputBar->setVisible(m_showOutput == 1);
    LayOutClient();
    UpdateCommandUI();
}

void CMainFrame::SetOutputText(const std::string& text) {
    m_outputBar->SetText(text);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    DestroyWindow();
    QMainWindow::closeEvent(event);
}

void CMainFrame::DestroyWindow() {
    if (m_destroyed) {
        return;
    }
    m_destroyed = true;
    // A minimised window has no placement worth keeping: only the bar's state is written.
    if (!isMinimized()) {
        if (m_view != nullptr) {
            m_view->SaveColumnWidths();
        }
        QRect rect = frameGeometry();
        if (isMaximized()) {
            m_profile.WriteInt(ui::kPositionSection, "Maximized", 1);
            rect = QRect(QPoint(10, 10), QPoint(619, 459));
        } else {
            m_profile.WriteInt(ui::kPositionSection, "Maximized", 0);
        }
        m_profile.WriteInt(ui::kPositionSection, "x", rect.left());
        m_profile.WriteInt(ui::kPositionSection, "y", rect.top());
        m_profile.WriteInt(ui::kPositionSection, "dx", rect.width());
        m_profile.WriteInt(ui::kPositionSection, "dy", rect.height());
    }
    m_profile.WriteInt(ui::kPositionSection, "ShowOutput", m_showOutput);
    m_profile.Flush();
}

}  // namespace velmora::app
