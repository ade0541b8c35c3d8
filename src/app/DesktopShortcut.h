#pragma once
// A game's own shortcut on the user's desktop: it starts "Velmora --start N" in the emulator
// directory, under the game's name, with Velmora's icon. One implementation per platform,
// chosen by CMake: a desktop entry on Linux (DesktopShortcutXdg.cpp), a .lnk file through the
// shell on Windows (DesktopShortcutWin32.cpp).
//
// A shortcut's file name tells emulator folders and games apart, and Velmora touches no file
// at that name unless it reads as its own: one that starts this Velmora with "--start N" in
// this folder. Anything else there is left as it is, and the outcome says why.

#include <QString>
#include <string>

namespace velmora::app {

struct ShortcutRequest {
    int game = 0;
    QString name;                  // what the user sees, already decoded from the list's bytes
    std::string program;           // Velmora's own executable, by its bytes
    std::string workingDirectory;  // the emulator directory, by its bytes
};

struct ShortcutOutcome {
    bool ok = false;
    std::string path;   // where the shortcut is, or was; printable bytes
    std::string error;  // why not, in the system's words, when not ok
};

// Why no shortcut can start this program in this folder, whatever the game; empty when one
// can. The name is not needed, so this is asked before the emulator lists its games.
std::string ShortcutRefusal(const ShortcutRequest& request);
// Writes the shortcut, replacing the one Velmora made before for the same folder and game.
ShortcutOutcome WriteDesktopShortcut(const ShortcutRequest& request);
// Removes it; not ok when there was none.
ShortcutOutcome RemoveDesktopShortcut(const ShortcutRequest& request);

}  // namespace velmora::app
