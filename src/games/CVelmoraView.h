#pragma once
// The game list: one row per game the emulator knows, with a red or green Z telling whether
// the game is configured. Double-click or Return starts the selected game, a right-click
// configures it.

#include <QTreeView>
#include <string>

#include "GameListModel.h"
#include "ProcessRunner.h"
#include "Version.h"

namespace velmora::ui {
class CFrameServices;
}
namespace velmora::snapshot {
class GameSnapshots;
}
namespace velmora::config {
class SaveGuard;
}

namespace velmora::games {

inline constexpr const char* kGreetingText =
    "\r\n   Velmora " VELMORA_VERSION
    "\r\n\r\n   Double-click: start game\r\n   Right-click: configure game";

class CVelmoraView : public QTreeView {
    Q_OBJECT

public:
    CVelmoraView(ui::CFrameServices& frame, ProcessRunner& runner,
                 snapshot::GameSnapshots& snapshots, QWidget* parent = nullptr);

    // Starts the emulator's game list run, so that it runs while the window around the list is
    // built. OnInitialUpdate collects it, and starts it itself when nobody did.
    void StartGameListRun();

    // Columns, the emulator's game list and help text, the rows and the greeting. The emulator
    // runs twice, one run after the other: it never sees a second copy of itself.
    void OnInitialUpdate();

    // Waits for the help run OnInitialUpdate started and hands its text to the frame. Called
    // as soon as the event loop runs after it, and before anything that runs the emulator or
    // needs the text; does nothing once the text is in.
    void CollectHelpText();

    int GetSelectedRow() const;  // -1 when no row is selected
    int IsGameConfigured(int game) const;
    void SaveColumnWidths();

    void StartSelectedGame();
    void ConfigureSelectedGame();
    // Around the Configure game dialog's save (the game's history); none by default.
    void SetSaveGuard(config::SaveGuard* guard) { m_saveGuard = guard; }

    int RowCount() const { return m_model->rowCount(); }
    ImageIndex RowImage(int row) const { return m_model->Image(row); }
    void SetRowImage(int row, ImageIndex image) { m_model->SetImage(row, image); }
    int RowGameNumber(int row) const { return m_model->GameNumber(row); }
    std::string RowGameText(int row) const { return m_model->GameText(row); }
    void SelectRow(int row);  // -1 clears the selection

    // Finds a game by the typed text: by its number or by its name (GameSearch.h).
    void keyboardSearch(const QString& search) override;

signals:
    void SelectionChanged();
    // A game started, captured or detached, and runs as this process.
    void GameStarted(qint64 processId);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;

private:
    void SelectCurrentRow();

    ui::CFrameServices& m_frame;
    ProcessRunner& m_runner;
    snapshot::GameSnapshots& m_snapshots;
    GameListModel* m_model;
    config::SaveGuard* m_saveGuard = nullptr;
    ProcessRunner::StartedRun m_listRun;
    ProcessRunner::StartedRun m_helpRun;
};

}  // namespace velmora::games
