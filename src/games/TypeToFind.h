#pragma once
// The text typed into the game list to find a game: keys that follow each other within the
// platform's keyboard input interval build one search text; after a longer pause the next key
// starts a new one, as the list's own search does.

#include <QObject>
#include <QString>
#include <QTimer>

class QAbstractItemView;

namespace velmora::games {

class TypeAhead : public QObject {
    Q_OBJECT

public:
    // The timer that ends the search text, found by this name.
    static constexpr const char* kResetTimerName = "typeAheadReset";

    explicit TypeAhead(QObject* parent);

    // The type-ahead of `view`, made on its first use and kept as the view's child.
    static TypeAhead& Of(QAbstractItemView& view);

    // Adds what was typed to the search text; false when that leaves it as it was. Characters
    // that are not searched for (controls and blanks) are left out; an empty text starts afresh.
    bool Add(const QString& typed);
    const QString& Text() const { return m_text; }

private:
    QString m_text;
    QTimer m_reset;
};

}  // namespace velmora::games
