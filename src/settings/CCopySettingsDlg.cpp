#include "CCopySettingsDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "GameListModel.h"
#include "SettingsOperations.h"
#include "SettingsPrompts.h"
#include "TypeToFind.h"
#include "WidgetText.h"

namespace velmora::settings {

// The main list's rows with a check box each; the rows of the game copied from are shown but
// cannot be ticked.
class CheckedGames : public QIdentityProxyModel {
public:
    CheckedGames(const games::GameListModel& games, int source, QObject* parent)
        : QIdentityProxyModel(parent),
          m_games(games),
          m_source(source),
          m_ticked(static_cast<size_t>(games.rowCount()), false) {
        setSourceModel(const_cast<games::GameListModel*>(&games));
    }

    // The source's row can still be found and stood on, so typing its number lands there.
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) {
            return Qt::NoItemFlags;
        }
        const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        return m_games.GameNumber(index.row()) == m_source ? flags
                                                           : flags | Qt::ItemIsUserCheckable;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::CheckStateRole && (flags(index) & Qt::ItemIsUserCheckable)) {
            return Ticked(index.row()) ? Qt::Checked : Qt::Unchecked;
        }
        return QIdentityProxyModel::data(index, role);
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::CheckStateRole || !(flags(index) & Qt::ItemIsUserCheckable)) {
            return QIdentityProxyModel::setData(index, value, role);
        }
        m_ticked[static_cast<size_t>(index.row())] = value.toInt() == Qt::Checked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }

    bool Ticked(int row) const { return m_ticked[static_cast<size_t>(row)]; }
    int Game(int row) const { return m_games.GameNumber(row); }

private:
    const games::GameListModel& m_games;
    int m_source;
    std::vector<bool> m_ticked;
};

namespace {

// The list finds a game by typing as the main list does: by number or by name.
class GameChecklist : public QListView {
public:
    GameChecklist(const games::GameListModel& games, QWidget* parent)
        : QListView(parent), m_games(games) {}

    void keyboardSearch(const QString& search) override {
        games::TypeToFind& typed = games::TypeToFind::Of(*this, m_games);
        if (!typed.Add(search)) {
            return;
        }
        const int row = typed.Find(currentIndex().row());
        if (row >= 0) {
            setCurrentIndex(model()->index(row, 0));
        }
    }

private:
    const games::GameListModel& m_games;
};

}  // namespace

CCopySettingsDlg::CCopySettingsDlg(std::string emulatorDir, int game, const std::string& gameText,
                                   const games::GameListModel& games, QWidget* parent)
    : QDialog(parent), m_emulatorDir(std::move(emulatorDir)), m_game(game) {
    setWindowTitle(QStringLiteral("Copy settings to other games - ") + ui::ToWidget(gameText));
    resize(480, 480);

    auto* gamesLabel = new QLabel(QStringLiteral("&Games to copy to (Space ticks a game):"), this);
    m_checked = new CheckedGames(games, game, this);
    m_list = new GameChecklist(games, this);
    m_list->setObjectName(QStringLiteral("games"));
    m_list->setAccessibleName(QStringLiteral("Games to copy the settings to"));
    m_list->setModel(m_checked);
    m_list->setUniformItemSizes(true);
    gamesLabel->setBuddy(m_list);

    m_options = new QCheckBox(QStringLiteral("Emulator options"), this);
    m_renderer = new QCheckBox(QStringLiteral("Renderer plugin and its options"), this);
    m_plugins = new QCheckBox(QStringLiteral("Plugin settings"), this);
    for (QCheckBox* part : {m_options, m_renderer, m_plugins}) {
        part->setChecked(true);
        part->setAccessibleName(part->text());
        connect(part, &QCheckBox::toggled, this, &CCopySettingsDlg::UpdateCopyButton);
    }
    m_options->setObjectName(QStringLiteral("emulatorOptions"));
    m_renderer->setObjectName(QStringLiteral("renderer"));
    m_plugins->setObjectName(QStringLiteral("pluginSettings"));

    auto* buttons = new QDialogButtonBox(this);
    m_copy = buttons->addButton(QStringLiteral("C&opy"), QDialogButtonBox::AcceptRole);
    m_copy->setObjectName(QStringLiteral("copy"));
    m_copy->setAccessibleName(QStringLiteral("Copy to the ticked games"));
    m_copy->setDefault(true);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setAccessibleName(QStringLiteral("Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gamesLabel);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_options);
    layout->addWidget(m_renderer);
    layout->addWidget(m_plugins);
    layout->addWidget(buttons);

    connect(m_checked, &QAbstractItemModel::dataChanged, this, &CCopySettingsDlg::UpdateCopyButton);
    connect(m_copy, &QPushButton::clicked, this, [this] { Guarded(this, [this] { OnCopy(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (m_checked->rowCount() > 0) {
        m_list->setCurrentIndex(m_checked->index(0, 0));
    }
    UpdateCopyButton();
    m_list->setFocus();
}

std::vector<int> CCopySettingsDlg::TickedGames() const {
    std::vector<int> games;
    for (int row = 0; row < m_checked->rowCount(); ++row) {
        const int game = m_checked->Game(row);
        if (m_checked->Ticked(row) && std::find(games.begin(), games.end(), game) == games.end()) {
            games.push_back(game);
        }
    }
    return games;
}

void CCopySettingsDlg::UpdateCopyButton() {
    m_copy->setEnabled(
        !TickedGames().empty() &&
        (m_options->isChecked() || m_renderer->isChecked() || m_plugins->isChecked()));
}

void CCopySettingsDlg::OnCopy() {
    if (!m_copy->isEnabled()) {
        return;
    }
    const SettingsParts parts{m_options->isChecked(), m_renderer->isChecked(),
                              m_plugins->isChecked()};
    const OperationResult result = CopySettings(m_emulatorDir, m_game, TickedGames(), parts);
    m_changed = result.changedGames;
    if (!result.done) {
        TellFailure(this, result.error);
    }
    accept();
}

}  // namespace velmora::settings
