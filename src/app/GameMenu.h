#pragma once
// The "&Game" menu: what can be done with the selected game's settings as a whole. Restore an
// earlier version, copy them to other games, export them to a file or import them from one,
// remove them. Each item acts on the list's selected row and, afterwards, sets the red or green
// Z of every row whose game's files changed.

#include <functional>
#include <string>

class QAction;
class QMainWindow;
class QMenu;

namespace velmora::games {
class GameListModel;
}

namespace velmora::app {

struct GameMenuContext {
    std::string emulatorDirectory;
    // The main list's rows: game numbers and names, the search by typing of the copy dialog,
    // and the images set again after a change.
    games::GameListModel* games = nullptr;
    // The list's selected row, -1 when there is none.
    std::function<int()> selectedRow;
};

// Adds the menu to `window`'s menu bar, in front of `before` (the Help menu's action; at the
// end when nullptr). Its items are enabled while a row is selected.
QMenu* AddGameMenu(QMainWindow& window, QAction* before, GameMenuContext context);

}  // namespace velmora::app
