#pragma once
// Finding a game by typing into the list. Keys that follow each other within the platform's
// keyboard input interval build one search text; after a longer pause the next key starts a
// new one, as the list's own search does.

#include <QObject>
#include <QString>
#include <QTimer>

class QAbstractItemView;

namespace velmora::games {

class GameListModel;

class TypeToFind : public QObject {
    Q_OBJECT

public:
    // The timer that ends the search text, found by this name.
    static constexpr const char* kResetTimerName = "typeToFindReset";

    TypeToFind(const GameListModel& model, QObject* parent);

    // The one of `view`, over `model`, made on its first use and kept as the view's child.
    static TypeToFind& Of(QAbstractItemView& view, const GameListModel& model);

    // Adds what was typed to the search text; false when that leaves it as it was. Characters
    // that are not searched for (controls and blanks) are left out; an empty text starts afresh.
    bool Add(const QString& typed);
    const QString& Text() const { return m_text; }

    // The row the search text finds from `current` on (GameSearchIndex::Find), or -1.
    int Find(int current) const;

private:
    const GameListModel& m_model;
    QString m_text;
    QTimer m_reset;
};

}  // namespace velmora::games
