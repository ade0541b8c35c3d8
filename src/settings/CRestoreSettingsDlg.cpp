#include "CRestoreSettingsDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "SettingsOperations.h"
#include "SettingsPrompts.h"
#include "SettingsText.h"
#include "WidgetText.h"

namespace velmora::settings {

CRestoreSettingsDlg::CRestoreSettingsDlg(std::string emulatorDir, int game,
                                         const std::string& gameText, QWidget* parent)
    : QDialog(parent), m_emulatorDir(std::move(emulatorDir)), m_game(game) {
    setWindowTitle(QStringLiteral("Restore earlier settings - ") + ui::ToWidget(gameText));
    resize(640, 420);

    auto* versionsLabel = new QLabel(QStringLiteral("&Versions, newest first:"), this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("versions"));
    m_list->setAccessibleName(QStringLiteral("Earlier versions of the game's settings"));
    m_list->setHeaderLabels({QStringLiteral("Version"), QStringLiteral("Kept on"),
                             QStringLiteral("What differs from today's settings")});
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    versionsLabel->setBuddy(m_list);

    auto* detailLabel = new QLabel(QStringLiteral("&Changes from this version to today's:"), this);
    m_detail = new QPlainTextEdit(this);
    m_detail->setObjectName(QStringLiteral("difference"));
    m_detail->setAccessibleName(QStringLiteral("Changes from the selected version to today's"));
    m_detail->setReadOnly(true);
    m_detail->setLineWrapMode(QPlainTextEdit::NoWrap);
    detailLabel->setBuddy(m_detail);

    auto* buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::AcceptRole);
    m_restore->setObjectName(QStringLiteral("restore"));
    m_restore->setAccessibleName(QStringLiteral("Restore the selected version"));
    m_restore->setDefault(true);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setAccessibleName(QStringLiteral("Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(versionsLabel);
    layout->addWidget(m_list, 1);
    layout->addWidget(detailLabel);
    layout->addWidget(m_detail, 1);
    layout->addWidget(buttons);

    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this] { Guarded(this, [this] { OnSelection(); }); });
    connect(m_restore, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { OnRestore(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Fill();
}

void CRestoreSettingsDlg::Fill() {
    FileProblem problem;
    m_today = ReadGameSettings(m_emulatorDir, m_game, &problem);
    m_versions = History(m_emulatorDir).Versions(m_game);
    for (size_t i = 0; i < m_versions.size(); ++i) {
        const StoredVersion& version = m_versions[i];
        QString summary;
        if (!version.settings) {
            summary = QStringLiteral("cannot be read: ") + ui::ToWidget(version.problem);
        } else if (m_today) {
            summary = SummaryText(Difference(*version.settings, *m_today));
        }
        auto* item = new QTreeWidgetItem(
            m_list, {QString::number(version.id), ui::ToWidget(version.saved), summary});
        item->setData(0, Qt::UserRole, static_cast<int>(i));
    }
    if (!m_today) {
        m_detail->setPlainText(QStringLiteral("Today's settings cannot be read: ") +
                               ui::ToWidget(problem.Line()));
    } else if (m_versions.empty()) {
        m_detail->setPlainText(QStringLiteral("There are no earlier settings of this game."));
    }
    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    OnSelection();
    m_list->setFocus();
}

const StoredVersion* CRestoreSettingsDlg::Selected() const {
    const QTreeWidgetItem* item = m_list->currentItem();
    return item == nullptr ? nullptr : &m_versions[item->data(0, Qt::UserRole).toUInt()];
}

void CRestoreSettingsDlg::OnSelection() {
    const StoredVersion* version = Selected();
    m_restore->setEnabled(version != nullptr && version->settings && m_today);
    if (version == nullptr || !m_today) {
        return;
    }
    if (!version->settings) {
        m_detail->setPlainText(QStringLiteral("This version cannot be read: ") +
                               ui::ToWidget(version->problem));
        return;
    }
    const SettingsDifference difference = Difference(*version->settings, *m_today);
    m_detail->setPlainText(difference.Empty()
                               ? QStringLiteral("This version is the same as today's settings.")
                               : DetailText(difference).join(QLatin1Char('\n')));
}

void CRestoreSettingsDlg::OnRestore() {
    const StoredVersion* version = Selected();
    if (version == nullptr || !m_restore->isEnabled()) {
        return;
    }
    const OperationResult result = RestoreSettings(m_emulatorDir, m_game, version->id);
    m_changed = !result.changedGames.empty();
    if (!result.done) {
        TellFailure(this, result.error);
        m_list->clear();  // what is on disk now
        Fill();
        return;
    }
    accept();
}

}  // namespace velmora::settings
