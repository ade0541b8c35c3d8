#include "GameListModel.h"

#include <QPixmap>

#include "Bitmaps.h"
#include "WidgetText.h"

namespace velmora::games {

namespace {

QString Text(std::string_view bytes) {
    return ui::ToWidget(bytes);
}

QString StateText(ImageIndex image) {
    return image == kConfigured ? QStringLiteral("Configured") : QStringLiteral("Not configured");
}

}  // namespace

GameListModel::GameListModel(QObject* parent) : QAbstractTableModel(parent) {
    // The strip holds both 16x16 images side by side.
    const QPixmap strip = ui::RowImageStrip();
    for (int i = 0; i < 2; ++i) {
        m_icons[i] = QIcon(strip.copy(i * 16, 0, 16, 16));
    }
}

void GameListModel::Clear() {
    beginResetModel();
    m_rows.clear();
    m_search = {};
    m_images.clear();
    m_listing.clear();
    endResetModel();
}

ImageIndex GameListModel::Image(int row) const {
    return row >= 0 && row < rowCount() ? m_images[static_cast<size_t>(row)] : kNotConfigured;
}

void GameListModel::SetImage(int row, ImageIndex image) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    m_images[static_cast<size_t>(row)] = image;
    const QModelIndex cell = index(row, kGame);
    emit dataChanged(cell, cell,
                     {Qt::DecorationRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

int GameListModel::GameNumber(int row) const {
    return row >= 0 && row < rowCount() ? m_rows[static_cast<size_t>(row)].number : 0;
}

std::string GameListModel::GameText(int row) const {
    return row >= 0 && row < rowCount() ? std::string(m_rows[static_cast<size_t>(row)].game)
                                        : std::string();
}

int GameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int GameListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const GameRow& row = m_rows[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case kGame:
                return Text(row.game);
            case kCountry:
                return Text(row.country);
            case kInfos:
                return Text(row.infos);
            default:
                return {};
        }
    }
    if (index.column() != kGame) {
        return {};
    }
    const ImageIndex image = m_images[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DecorationRole:
            return m_icons[image];
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            return StateText(image);
        default:
            return {};
    }
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const char* const kHeaders[] = {"Game", "Country", "Infos"};
    return section >= 0 && section < kColumnCount ? QString::fromLatin1(kHeaders[section])
                                                  : QVariant();
}

}  // namespace velmora::games
