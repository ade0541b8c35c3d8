#pragma once
// The two option editors share one dialog: read-only text to pick from above (edit 1004), the
// text being edited below (edit 1005), OK and Cancel on the right. The caller sets
// m_strOptions, runs the dialog and reads m_strOptions back only when it returns Accepted.

#include <QDialog>
#include <QString>
#include <string>

class QKeyEvent;
class QPushButton;

namespace velmora::config {

class COptionsEdit;

class COptionsDlg : public QDialog {
    Q_OBJECT
public:
    std::string m_strOptions;

    void setVisible(bool visible) override;

protected:
    // `upperName` is the upper edit's accessible name: what a screen reader calls the text to
    // pick from.
    COptionsDlg(const QString& caption, const QString& upperLabel, const QString& upperName,
                QWidget* parent);

    // Runs every time the dialog opens: puts m_strOptions into the lower edit and the focus on
    // OK. Subclasses add the upper text.
    virtual void OnInitDialog();

    void keyPressEvent(QKeyEvent* event) override;

    COptionsEdit* UpperEdit() const { return m_upper; }
    // Tab stops every `dialogUnits` in both edits.
    void SetTabStops(int dialogUnits);

private:
    void OnOK();

    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    COptionsEdit* m_upper = nullptr;
    COptionsEdit* m_lower = nullptr;
};

// Edits the game options text; the upper edit lists the options the emulator's help text
// offers.
class CMainEmuOptionsDlg : public COptionsDlg {
    Q_OBJECT
public:
    explicit CMainEmuOptionsDlg(const std::string& helpText, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    std::string m_helpText;
};

// Edits the renderer options text; the upper edit shows the emulator's example renderer.cfg.
class CRendererOptionsDlg : public COptionsDlg {
    Q_OBJECT
public:
    explicit CRendererOptionsDlg(const std::string& emulatorDirectory, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    std::string m_emulatorDir;
};

}  // namespace velmora::config
