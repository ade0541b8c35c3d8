#include "COptionsDlg.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "COptionsEdit.h"
#include "DialogUnits.h"

namespace velmora::config {

namespace {

// Edit controls of the platform's dialogs put a tab stop every 32 dialog units.
constexpr int kDefaultTabStops = 32;

QLabel* MakeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

COptionsDlg::COptionsDlg(const QString& caption, const QString& upperLabel,
                         const QString& upperName, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    // Created in the order of the tab chain: OK, Cancel, the upper and the lower edit.
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_upper = new COptionsEdit(this);
    m_upper->setObjectName(QStringLiteral("edit1004"));
    m_upper->setAccessibleName(upperName);
    m_upper->setReadOnly(true);
    m_upper->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_lower = new COptionsEdit(this);
    m_lower->setObjectName(QStringLiteral("edit1005"));
    m_lower->setAccessibleName(QStringLiteral("Options"));
    QFrame* line = ui::EtchedLine(this, QFrame::VLine);
    QLabel* upper = MakeLabel(upperLabel, this);
    QLabel* lower = MakeLabel(QStringLiteral("Enter/copy the options you want to use:"), this);

    // No default button: Return must not reach OK from anywhere but OK itself, and a focused
    // button acts on Return by itself (keyPressEvent).
    for (QPushButton* button : {m_ok, m_cancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    const ui::DialogUnits units(font());
    setFixedSize(units.X(362), units.Y(207));
    units.Place(m_ok, 306, 7, 50, 14);
    units.Place(m_cancel, 306, 24, 50, 14);
    units.Place(m_upper, 5, 12, 286, 86);
    units.Place(m_lower, 6, 114, 286, 86);
    units.Place(line, 297, 0, 1, 207);
    units.Place(upper, 7, 2, 285, 9);
    units.Place(lower, 7, 103, 285, 9);
    SetTabStops(kDefaultTabStops);

    connect(m_ok, &QPushButton::clicked, this, &COptionsDlg::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void COptionsDlg::setVisible(bool visible) {
    if (visible && !isVisible()) {
        OnInitDialog();
        // Letters copied from the emulator's text above keep the bytes it printed them with,
        // also in a text that was only ASCII so far.
        m_lower->SetCodecForAscii(m_upper->TextCodec());
    }
    QDialog::setVisible(visible);
}

void COptionsDlg::OnInitDialog() {
    m_upper->SetLimit(COptionsEdit::kDefaultLimit);
    m_lower->SetLimit(COptionsEdit::kDefaultLimit);
    m_lower->SetText(m_strOptions);
    m_ok->setFocus(Qt::OtherFocusReason);
}

void COptionsDlg::SetTabStops(int dialogUnits) {
    for (COptionsEdit* edit : {m_upper, m_lower}) {
        edit->setTabStopDistance(ui::DialogUnits(edit->font()).X(dialogUnits));
    }
}

// Only OK itself accepts: clicked, or Return or Space while it has the focus. Return anywhere
// else must not end the dialog, least of all in the read-only upper edit, where the user only
// picks text to copy.
void COptionsDlg::keyPressEvent(QKeyEvent* event) {
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isReturn) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        button->click();
    }
    event->accept();
}

void COptionsDlg::OnOK() {
    if (focusWidget() != m_ok) {
        return;
    }
    m_strOptions = m_lower->Text();
    accept();
}

}  // namespace velmora::config
