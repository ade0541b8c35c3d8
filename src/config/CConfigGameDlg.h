#pragma once
// The Configure game dialog: the game's emulator options, its renderer plugin and the plugins'
// own settings. OK writes the game options file, the renderer options file and the game's
// plugin settings snapshot, in that order; Cancel writes nothing.

#include <QDialog>
#include <string>
#include <string_view>

#include "CGameOptionFiles.h"

class QComboBox;
class QPushButton;

namespace velmora::snapshot {
class GameSnapshots;
}

namespace velmora::config {

class SaveGuard;

class CConfigGameDlg : public QDialog, public CGameOptionFiles {
    Q_OBJECT

public:
    enum Result { kIdOk = 1, kIdCancel = 2 };

    // `helpText` is the emulator's help text, whose options the main emu editor lists.
    CConfigGameDlg(const std::string& emulatorDir, std::string helpText,
                   snapshot::GameSnapshots& snapshots, QWidget* parent = nullptr);

    // Initialises the dialog (snapshot restore, option files, renderer list, sound check) and
    // runs it modally. kIdOk or kIdCancel.
    int DoModal();
    // After OK: whether every one of the game's files was saved.
    bool SavedAll() const { return m_savedAll; }
    // Around OK's save; none by default.
    void SetSaveGuard(SaveGuard* guard) { m_guard = guard; }

    std::string m_strItemText;  // the row's game text, shown in the caption

    QComboBox* RendererBox() const { return m_renderer; }
    QPushButton* SoundButton() const { return m_sound; }

private:
    void OnInitDialog();
    void OnMainEmuOptions();
    void OnSoundConfigure();
    void OnRendererConfigure();
    void OnOK();
    std::optional<std::string> SelectedRenderer() const;
    std::string PluginPath(const std::string& name) const;

    std::string m_helpText;
    snapshot::GameSnapshots& m_snapshots;
    bool m_savedAll = false;
    SaveGuard* m_guard = nullptr;
    QPushButton* m_mainEmu;
    QPushButton* m_sound;
    QComboBox* m_renderer;
    QPushButton* m_rendererConfigure;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

enum class ConfigureResult { Saved, NotSaved, Cancelled };

// The dialog for game `game`, captioned with its row's first column, as the list and the
// command line open it; `guard` (or none) around its save.
ConfigureResult ConfigureGame(const std::string& emulatorDir, const std::string& helpText,
                              snapshot::GameSnapshots& snapshots, SaveGuard* guard,
                              std::string_view gameColumn, int game, QWidget* parent);

// Asks whether a game that is not configured yet should be; true for Yes, the default.
bool AskToConfigure(QWidget* parent);

}  // namespace velmora::config
