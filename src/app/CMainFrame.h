#pragma once
// The main window: the game list above, the output bar below, the menu, and the window state
// kept in the profile from one run to the next.

#include <QMainWindow>
#include <memory>
#include <string>

#include "FrameServices.h"
#include "SettingsWrite.h"

class QAction;
class QMenu;

namespace velmora::games {
class CVelmoraView;
class ProcessRunner;
}  // namespace velmora::games

namespace velmora::app {

class COutputBar;

class CMainFrame : public QMainWindow, public ui::CFrameServices {
    Q_OBJECT

public:
    // The emulator lives beside Velmora's own executable; its place is settled here and never
    // changes.
    CMainFrame(const std::string& executablePath, ui::CProfile& profile);
    ~CMainFrame() override;

    // Placement from the profile and the output bar.
    void Create();
    void SetActiveView(games::CVelmoraView* view);
    games::CVelmoraView* GetActiveView() const { return m_view; }

    // ui::CFrameServices
    const std::string& EmulatorDirectory() const override { return m_emulatorDirectory; }
    const std::string& EmulatorPath() const override { return m_emulatorPath; }
    const std::string& HelpText() const override { return m_helpText; }
    void SetHelpText(const std::string& text) override { m_helpText = text; }
    int ShowOutputFlag() const override { return m_showOutput; }
    void SetOutputText(const std::string& text) override;
    ui::CProfile& Profile() override { return m_profile; }
    QWidget* FrameWindow() override { return this; }

    COutputBar* OutputBar() const { return m_outputBar; }
    QWidget* ClientArea() const { return m_client; }
    QAction* Action(int commandId) const;

    // Menu commands, by their ids.
    static constexpr int kConfigureGame = 32773;
    static constexpr int kStartGame = 32774;
    static constexpr int kShowOutput = 32775;
    static constexpr int kAppAbout = 57664;
    static constexpr int kAppExit = 57665;

    void OnToggleOutput();
    void UpdateCommandUI();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenu();
    void OnSize(int clientWidth, int clientHeight);
    void LayOutClient();
    void DestroyWindow();
    void ApplyOuterSize();

    ui::CProfile& m_profile;
    std::string m_emulatorDirectory;
    std::string m_emulatorPath;
    std::string m_helpText;
    int m_showOutput = 1;
    // The stored size is the window's outer size; the frame around it is known only once the
    // window manager has taken the window.
    QSize m_outerSize;
    bool m_outerSizeApplied = false;
    COutputBar* m_outputBar = nullptr;
    QWidget* m_client = nullptr;
    games::CVelmoraView* m_view = nullptr;
    settings::HistoryGuard m_history;  // the Configure game dialog's OK keeps the game's history
    QAction* m_startGame = nullptr;
    QAction* m_configureGame = nullptr;
    QAction* m_showOutputAction = nullptr;
    QMenu* m_help = nullptr;
    QAction* m_about = nullptr;
    QAction* m_exit = nullptr;
    bool m_destroyed = false;
};

}  // namespace velmora::app
