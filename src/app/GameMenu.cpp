#include "GameMenu.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "CCopySettingsDlg.h"
#include "CRestoreSettingsDlg.h"
#include "GameList.h"
#include "GameListModel.h"
#include "GameSearch.h"
#include "SettingsOperations.h"
#include "SettingsPrompts.h"
#include "TextRules.h"

namespace velmora::app {

namespace {

// The game an item acts on: the selected row's number, its text for captions and its name.
struct Selection {
    int game = 0;
    std::string text;
    std::string name;
};

class GameMenu {
public:
    GameMenu(QMainWindow& window, GameMenuContext context)
        : m_window(window), m_context(std::move(context)) {}

    std::optional<Selection> Selected() const {
        const int row = m_context.selectedRow ? m_context.selectedRow() : -1;
        if (m_context.games == nullptr || row < 0 || row >= m_context.games->rowCount()) {
            return std::nullopt;
        }
        const std::string text = m_context.games->GameText(row);
        return Selection{m_context.games->GameNumber(row),
                         std::string(text::TrimRight(text::TrimLeft(text))),
                         std::string(text::TrimRight(games::GameName(text)))};
    }

    // Every row of a changed game shows what is on disk now.
    void Refresh(const std::vector<int>& changed) const {
        games::GameListModel& rows = *m_context.games;
        for (int row = 0; row < rows.rowCount(); ++row) {
            const int game = rows.GameNumber(row);
            if (std::find(changed.begin(), changed.end(), game) != changed.end()) {
                rows.SetImage(row, games::IsGameConfigured(m_context.emulatorDirectory, game)
                                       ? games::kConfigured
                                       : games::kNotConfigured);
            }
        }
    }

    void Finish(const settings::OperationResult& result) const {
        if (!result.done) {
            settings::TellFailure(&m_window, result.error);
        }
        Refresh(result.changedGames);
    }

    void Restore() const {
        if (const std::optional<Selection> selected = Selected()) {
            settings::CRestoreSettingsDlg dialog(m_context.emulatorDirectory, selected->game,
                                                 selected->text, &m_window);
            dialog.exec();
            Refresh({selected->game});
        }
    }

    void Copy() const {
        if (const std::optional<Selection> selected = Selected()) {
            settings::CCopySettingsDlg dialog(m_context.emulatorDirectory, selected->game,
                                              selected->text, *m_context.games, &m_window);
            dialog.exec();
            Refresh(dialog.ChangedGames());
        }
    }

    void Export() const {
        const std::optional<Selection> selected = Selected();
        if (!selected) {
            return;
        }
        if (const auto file = settings::AskExportFile(&m_window, selected->game, selected->name)) {
            Finish(settings::ExportSettings(m_context.emulatorDirectory, selected->game,
                                            selected->name, *file));
        }
    }

    void Import() const {
        const std::optional<Selection> selected = Selected();
        if (!selected) {
            return;
        }
        if (const auto file = settings::AskImportFile(&m_window)) {
            Finish(settings::ImportSettings(m_context.emulatorDirectory, selected->game, *file));
        }
    }

    void Remove() const {
        const std::optional<Selection> selected = Selected();
        if (selected && settings::ConfirmRemove(&m_window, selected->text)) {
            Finish(settings::RemoveSettings(m_context.emulatorDirectory, selected->game));
        }
    }

private:
    QMainWindow& m_window;
    GameMenuContext m_context;
};

}  // namespace

QMenu* AddGameMenu(QMainWindow& window, QAction* before, GameMenuContext context) {
    auto* menu = new QMenu(QStringLiteral("&Game"), &window);
    menu->setObjectName(QStringLiteral("gameMenu"));
    window.menuBar()->insertMenu(before, menu);

    const auto menuState = std::make_shared<GameMenu>(window, std::move(context));
    const struct {
        const char* text;
        const char* name;
        void (GameMenu::*run)() const;
    } items[] = {
        {"&Restore earlier settings...", "restoreSettings", &GameMenu::Restore},
        {"&Copy settings to other games...", "copySettings", &GameMenu::Copy},
        {"&Export settings...", "exportSettings", &GameMenu::Export},
        {"&Import settings...", "importSettings", &GameMenu::Import},
        {"Re&move settings...", "removeSettings", &GameMenu::Remove},
    };
    std::vector<QAction*> actions;
    for (const auto& item : items) {
        QAction* action = menu->addAction(QString::fromLatin1(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        QObject::connect(action, &QAction::triggered, menu, [menuState, run = item.run, &window] {
            settings::Guarded(&window, [&] { ((*menuState).*run)(); });
        });
        actions.push_back(action);
    }
    // Enabled while a row is selected, as Config's items are.
    const auto update = [menuState, actions] {
        const bool selected = menuState->Selected().has_value();
        for (QAction* action : actions) {
            action->setEnabled(selected);
        }
    };
    QObject::connect(menu, &QMenu::aboutToShow, menu, update);
    update();
    return menu;
}

}  // namespace velmora::app
