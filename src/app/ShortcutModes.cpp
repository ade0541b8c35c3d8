#include "ShortcutModes.h"

#include <QString>

#include "Console.h"
#include "DesktopShortcut.h"
#include "EightBitText.h"
#include "GameList.h"
#include "ProcessRunner.h"
#include "TextRules.h"

namespace velmora::app {

namespace {

// A game's name for people, as the list shows it, with its country to tell regional
// versions apart. The one place where the shortcut's name leaves the emulator's bytes.
QString ShortcutName(const games::GameRow& row) {
    std::string name(text::TrimRight(games::GameName(row.game)));
    if (name.empty()) {
        name = "Game " + std::to_string(row.number);
    }
    if (!row.country.empty()) {
        name += " (" + std::string(row.country) + ")";
    }
    return QString::fromStdString(text::EightBitToUtf8(name));
}

}  // namespace

int MakeShortcut(ModeContext& context, int game) {
    ShortcutRequest request{game, QString(), context.executable, context.emulatorDir};
    if (const std::string refusal = ShortcutRefusal(request); !refusal.empty()) {
        ReportError("Could not make the shortcut: " + refusal);
        return kExitFailed;
    }
    const std::optional<GameCatalog> catalog = LoadCatalog(context);
    const games::GameRow* row = catalog ? FindGame(*catalog, game) : nullptr;
    if (row == nullptr) {
        return kExitFailed;
    }
    request.name = ShortcutName(*row);
    const ShortcutOutcome outcome = WriteDesktopShortcut(request);
    if (!outcome.ok) {
        ReportError("Could not make the shortcut: " + outcome.error);
        return kExitFailed;
    }
    return WriteOut("Wrote " + outcome.path + "\n") ? 0 : kExitFailed;
}

int RemoveShortcut(ModeContext& context, int game) {
    // The name is needed only where the shortcut is named after the game; a game that has
    // left the emulator's list may still have one.
    ShortcutRequest request{game, QString(), context.executable, context.emulatorDir};
    if (std::optional<GameCatalog> catalog =
            GameCatalog::Load(context.runner, context.emulatorPath, context.emulatorDir)) {
        if (const games::GameRow* row = catalog->Find(game)) {
            request.name = ShortcutName(*row);
        }
    }
    const ShortcutOutcome outcome = RemoveDesktopShortcut(request);
    if (!outcome.ok) {
        ReportError("Could not remove the shortcut: " + outcome.error);
        return kExitFailed;
    }
    return WriteOut("Removed " + outcome.path + "\n") ? 0 : kExitFailed;
}

}  // namespace velmora::app
