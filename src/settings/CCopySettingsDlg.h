#pragma once
// "Copy settings to other games": the games of the list, each with a check box (Space ticks
// the current one, typing finds a game as in the main list), and three check boxes for the
// parts to copy, all on at first. Copy gives every ticked game the chosen parts of this game's
// settings, their managed options made anew for it.

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QListView;
class QPushButton;

namespace velmora::games {
class GameListModel;
}

namespace velmora::settings {

class CheckedGames;

class CCopySettingsDlg : public QDialog {
    Q_OBJECT

public:
    // `games` is the main list's model; the source game's own rows cannot be ticked.
    CCopySettingsDlg(std::string emulatorDir, int game, const std::string& gameText,
                     const games::GameListModel& games, QWidget* parent = nullptr);

    // The games whose files a copy changed.
    const std::vector<int>& ChangedGames() const { return m_changed; }

    QListView* Games() const { return m_list; }
    std::vector<int> TickedGames() const;

private:
    void OnCopy();
    void UpdateCopyButton();

    std::string m_emulatorDir;
    int m_game;
    CheckedGames* m_checked;
    QListView* m_list;
    QCheckBox* m_options;
    QCheckBox* m_renderer;
    QCheckBox* m_plugins;
    QPushButton* m_copy;
    std::vector<int> m_changed;
};

}  // namespace velmora::settings
