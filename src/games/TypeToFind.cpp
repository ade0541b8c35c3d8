#include "TypeToFind.h"

#include <QAbstractItemView>
#include <QApplication>

#include "GameListModel.h"

namespace velmora::games {

TypeToFind::TypeToFind(const GameListModel& model, QObject* parent)
    : QObject(parent), m_model(model), m_reset(this) {
    m_reset.setObjectName(QString::fromLatin1(kResetTimerName));
    m_reset.setSingleShot(true);
    connect(&m_reset, &QTimer::timeout, this, [this] { m_text.clear(); });
}

TypeToFind& TypeToFind::Of(QAbstractItemView& view, const GameListModel& model) {
    auto* found = view.findChild<TypeToFind*>(QString(), Qt::FindDirectChildrenOnly);
    return found != nullptr ? *found : *new TypeToFind(model, &view);
}

bool TypeToFind::Add(const QString& typed) {
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

int TypeToFind::Find(int current) const {
    const QByteArray text = m_text.toUtf8();
    return m_model.Search().Find(
        current, std::string_view(text.constData(), static_cast<size_t>(text.size())));
}

}  // namespace velmora::games
