#pragma once
// "Velmora --shortcut" and "--remove-shortcut": a desktop shortcut that starts one game. Each
// returns the program's exit status.

#include "CommandModes.h"

namespace velmora::app {

int MakeShortcut(ModeContext& context, int game);
int RemoveShortcut(ModeContext& context, int game);

}  // namespace velmora::app
