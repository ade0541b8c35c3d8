#include "COutputBar.h"

#include "DialogUnits.h"
#include "EditedText.h"

namespace velmora::app {

COutputBar::COutputBar(QWidget* parent) : QWidget(parent), m_edit(new QPlainTextEdit(this)) {
    m_edit->setObjectName(QStringLiteral("edit1005"));
    m_edit->setAccessibleName(QStringLiteral("ZiNc output"));
    m_edit->setReadOnly(true);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setFrameShape(QFrame::Box);
    // The bar's template is 395 x 52 dialog units, all of it the edit.
    const ui::DialogUnits units(font());
    const QRect rect = units.Rect(0, 0, 395, 52);
    m_edit->setGeometry(rect);
    resize(rect.size());
}

void COutputBar::SetText(const std::string& text) {
    m_text = text;
    // The edit shows paragraphs; the bytes themselves stay in m_text. Replacing the text also
    // tells a screen reader, through the edit's own accessibility events (text removed, text
    // inserted), what the bar now says; a second event of ours would have it read twice.
    m_edit->setPlainText(ui::EditedText(text).WidgetText());
    m_edit->viewport()->repaint();
}

void COutputBar::FitWidth(int width) {
    const int height = m_edit->height();
    resize(width, height);
    m_edit->resize(width, height);
}

}  // namespace velmora::app
