#pragma once
// Velmora started with options: picks the application object the mode needs, before it is
// made. Starting a configured game, listing the games and the shortcuts need no display at
// all; only a dialog or a question box brings up the widgets.

#include <optional>

namespace velmora::app {

// The exit status of the mode the arguments ask for; nothing when they ask for the window.
std::optional<int> RunCommandLine(int& argc, char** argv);

}  // namespace velmora::app
