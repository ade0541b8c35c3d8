#pragma once
// Velmora started with options. Reads them before any application object exists: starting a
// configured game, listing the games, --help and --version run here on Qt Core alone, with no
// display and without loading Qt's widgets. The window, and the modes that show a dialog or
// make a shortcut, are left to the widgets (Windowed.h).

#include <optional>

#include "CommandLine.h"

namespace velmora::app {

// The exit status of the mode the arguments ask for; nothing when the widgets must run it.
std::optional<int> RunCommandLine(int& argc, char** argv);

// The arguments as the parser takes them.
QStringList ArgumentList(int argc, char** argv);

}  // namespace velmora::app
