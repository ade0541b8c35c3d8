#include "TypeAhead.h"

#include <QAbstractItemView>
#include <QApplication>

namespace velmora::games {

TypeAhead::TypeAhead(QObject* parent) : QObject(parent), m_reset(this) {
    m_reset.setObjectName(QString::fromLatin1(kResetTimerName));
    m_reset.setSingleShot(true);
    connect(&m_reset, &QTimer::timeout, this, [this] { m_text.clear(); });
}

TypeAhead& TypeAhead::Of(QAbstractItemView& view) {
    auto* typeAhead = view.findChild<TypeAhead*>(QString(), Qt::FindDirectChildrenOnly);
    return typeAhead != nullptr ? *typeAhead : *new TypeAhead(&view);
}

bool TypeAhead::Add(const QString& typed) {
    if (typed.isEmpty()) {
        m_reset.stop();
        m_text.clear();
        return false;
    }
    const qsizetype before = m_text.size();
    for (const QChar c : typed) {
        // Halves of a surrogate pair are not printable on their own, yet they spell a letter.
        if (c.isSurrogate() || (c.isPrint() && !c.isSpace())) {
            m_text += c;
        }
    }
    if (m_text.size() == before) {
        return false;
    }
    // The interval is read on every key: the user may change it while Velmora runs.
    m_reset.start(QApplication::keyboardInputInterval());
    return true;
}

}  // namespace velmora::games
