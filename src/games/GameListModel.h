#pragma once
// The game list's rows as data: the emulator's list text, the rows parsed from it (views into
// that text) and each row's image. The view only displays them, so a list of ten thousand
// games costs no widget per row. The image's meaning is also given in words, as the first
// cell's tooltip and accessible description, for whoever cannot see the image or tell red
// from green.

#include <QAbstractTableModel>
#include <QIcon>
#include <string>
#include <vector>

#include "GameList.h"
#include "GameSearch.h"

namespace velmora::games {

// A row's image: the red Z of a game not configured yet, or the green Z.
enum ImageIndex { kNotConfigured = 0, kConfigured = 1 };

class GameListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kGame = 0, kCountry = 1, kInfos = 2, kColumnCount = 3 };

    explicit GameListModel(QObject* parent = nullptr);

    // Replaces all rows by the games of `listing`; `isConfigured` gives each row's image.
    template <typename IsConfigured>
    void SetListing(std::string listing, IsConfigured&& isConfigured) {
        beginResetModel();
        m_listing = std::move(listing);
        m_rows = ParseGameList(m_listing);  // views into m_listing, which stays put from now
        // Prepared with the list, so that no key typed to find a game has to wait for it.
        m_search = GameSearchIndex(m_rows);
        m_images.assign(m_rows.size(), kNotConfigured);
        for (size_t i = 0; i < m_rows.size(); ++i) {
            m_images[i] = isConfigured(m_rows[i].number) ? kConfigured : kNotConfigured;
        }
        endResetModel();
    }
    void Clear();

    ImageIndex Image(int row) const;
    // The one way a row's image changes after the listing: the words change with it.
    void SetImage(int row, ImageIndex image);
    std::string GameText(int row) const;
    // The game number the row was made for: the leading number of its line.
    int GameNumber(int row) const;
    const GameSearchIndex& Search() const { return m_search; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::string m_listing;
    std::vector<GameRow> m_rows;
    GameSearchIndex m_search;
    std::vector<ImageIndex> m_images;
    QIcon m_icons[2];
};

}  // namespace velmora::games
