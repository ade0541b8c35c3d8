#include "COptionsEdit.h"

#include <QScopedValueRollback>
#include <QTextCursor>
#include <QTextDocument>

namespace velmora::config {

COptionsEdit::COptionsEdit(QWidget* parent) : QPlainTextEdit(parent) {
    // Like a dialog's edit control: no wrapping, a vertical scroll bar always there, and Tab
    // moving on to the next control, so the keyboard can always reach OK.
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(document(), &QTextDocument::contentsChange, this, &COptionsEdit::NoteChange);
    connect(this, &QPlainTextEdit::textChanged, this, &COptionsEdit::EnforceLimit);
}

void COptionsEdit::SetText(const std::string& text) {
    QScopedValueRollback<bool> guard(m_changingText, true);
    m_text = ui::EditedText(text);
    setPlainText(m_text.WidgetText());
}

std::string COptionsEdit::Text() const {
    // toPlainText() would also turn non-breaking spaces into blanks; the raw text keeps them.
    return m_text.Bytes(document()->toRawText());
}

int COptionsEdit::Length() const {
    const QTextDocument* doc = document();
    return (doc->characterCount() - 1) + (doc->blockCount() - 1);
}

void COptionsEdit::NoteChange(int position, int /*removed*/, int added) {
    m_changeStart = position;
    m_changeAdded = added;
}

// Trimming happens once the edit is complete (the document must not be changed while it
// reports a change), and joins the user's edit in one undo step.
void COptionsEdit::EnforceLimit() {
    const int added = m_changeAdded;
    m_changeAdded = 0;
    if (m_changingText || added <= 0) {
        return;
    }
    const int overflow = Length() - m_limit;
    if (overflow <= 0) {
        return;
    }
    // Take back the end of what was just inserted, as much as exceeds the limit.
    QTextDocument* doc = document();
    const int end = m_changeStart + added;
    int cut = 0;
    for (int weight = 0; cut < added && weight < overflow; ++cut) {
        weight += doc->characterAt(end - 1 - cut) == QChar::ParagraphSeparator ? 2 : 1;
    }
    if (cut < added && doc->characterAt(end - cut).isLowSurrogate()) {
        ++cut;  // never leave half a character behind
    }
    QScopedValueRollback<bool> guard(m_changingText, true);
    QTextCursor cursor(doc);
    cursor.setPosition(end - cut);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.joinPreviousEditBlock();
    cursor.removeSelectedText();
    cursor.endEditBlock();
}

}  // namespace velmora::config
