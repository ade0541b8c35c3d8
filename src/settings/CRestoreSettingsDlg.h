#pragma once
// "Restore earlier settings": the game's versions, newest first, each with the date and time
// it was kept and what differs from today's files. Selecting one shows the whole difference;
// Return restores it, and today's files become a version themselves.

#include <QDialog>
#include <string>
#include <vector>

#include "History.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace velmora::settings {

class CRestoreSettingsDlg : public QDialog {
    Q_OBJECT

public:
    // `gameText` is the row's text, shown in the caption.
    CRestoreSettingsDlg(std::string emulatorDir, int game, const std::string& gameText,
                        QWidget* parent = nullptr);

    // Whether a restore changed the game's files.
    bool Changed() const { return m_changed; }

    QTreeWidget* Versions() const { return m_list; }
    QPlainTextEdit* Detail() const { return m_detail; }

private:
    void Fill();
    void OnSelection();
    void OnRestore();
    const StoredVersion* Selected() const;

    std::string m_emulatorDir;
    int m_game;
    std::vector<StoredVersion> m_versions;
    std::optional<GameSettings> m_today;
    QTreeWidget* m_list;
    QPlainTextEdit* m_detail;
    QPushButton* m_restore;
    bool m_changed = false;
};

}  // namespace velmora::settings
