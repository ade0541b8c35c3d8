#pragma once
// "Set up game pad": teaching a stick, one action after the other ("Press the button for
// Start game", ...), then the combination that ends a running game. Escape skips a question,
// and once none is left closes the dialog.
// Save keeps the mapping in Velmora's profile under the stick's GUID, and the stick works
// with it at once.

#include <QDialog>

#include "PadSession.h"
#include "Teacher.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace velmora::app {

class CGamePad;

class CPadSetupDlg : public QDialog {
    Q_OBJECT

public:
    explicit CPadSetupDlg(CGamePad& gamePad, QWidget* parent = nullptr);
    ~CPadSetupDlg() override;

    const pad::Teacher& Teacher() const { return m_teacher; }
    QPushButton* SaveButton() const { return m_save; }

    // The words for an action, as the questions ask for it: "Start game", "Page up", ...
    static QString ActionName(pad::Action action);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnPadEvent(const pad::PadEvent& event);
    void OnSave();
    void ShowState();

    CGamePad& m_gamePad;
    pad::Teacher m_teacher;
    QString m_deviceName;
    QString m_note;
    QLabel* m_device;
    QLabel* m_prompt;
    QLabel* m_hint;
    QListWidget* m_answers;
    QPushButton* m_save;
    QPushButton* m_cancel;
};

// "Velmora --setup-pad": the dialog alone, on Velmora's own profile. 0 once a mapping is
// saved; 1 after Cancel, or, told on standard error, when no pad can be read at all.
int RunPadSetupMode();

}  // namespace velmora::app
