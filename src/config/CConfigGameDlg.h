#pragma once
// The Configure game dialog: the game's emulator options, its renderer plugin and the plugins'
// own settings. OK writes the game options file, the renderer options file and the game's
// plugin settings snapshot, in that order; Cancel writes nothing.

#include <QDialog>
#include <string>

#include "CGameOptionFiles.h"

class QComboBox;
class QPushButton;

namespace velmora::ui {
class CFrameServices;
}
namespace velmora::snapshot {
class GameSnapshots;
}

namespace velmora::config {

class CConfigGameDlg : public QDialog, public CGameOptionFiles {
    Q_OBJECT

public:
    enum Result { kIdOk = 1, kIdCancel = 2 };

    CConfigGameDlg(ui::CFrameServices& frame, snapshot::GameSnapshots& snapshots,
                   QWidget* parent = nullptr);

    // Initialises the dialog (snapshot restore, option files, renderer list, sound check) and
    // runs it modally. kIdOk or kIdCancel.
    int DoModal();

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

    ui::CFrameServices& m_frame;
    snapshot::GameSnapshots& m_snapshots;
    QPushButton* m_mainEmu;
    QPushButton* m_sound;
    QComboBox* m_renderer;
    QPushButton* m_rendererConfigure;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

}  // namespace velmora::config
