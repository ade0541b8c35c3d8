#pragma once
// The command-line modes that need Qt's widgets or its images: "Velmora --configure", the
// question that "--start" asks of a game that is not configured, and the desktop shortcuts.
// They use what the window uses: the list parser and the Configure game dialog. Each returns
// the program's exit status.

#include "CommandModes.h"

namespace velmora::app {

// A configured game starts as "Velmora --start" starts it. One that is not configured asks, as
// the list does, whether to configure it (this needs a window), and is not started.
int StartGame(ModeContext& context, int game);
// The Configure game dialog alone: 0 after OK, 1 after Cancel or when the list lacks the game.
int ConfigureGame(ModeContext& context, int game);
int MakeShortcut(ModeContext& context, int game);
int RemoveShortcut(ModeContext& context, int game);

}  // namespace velmora::app
