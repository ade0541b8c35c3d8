#pragma once
// Where Velmora's widgets are. Loading Qt's widgets and all they draw on takes longer than a
// game started from a shortcut should wait, so "--start" and "--list" run without them. One
// implementation per platform, chosen by CMake:
// - Linux (WindowModuleLoaded.cpp): Qt is shared libraries. The window lives in a module of
//   its own beside the executable, loaded only when it is needed.
// - Windows (WindowModuleLinked.cpp): Qt is linked in statically and costs nothing until used;
//   the window is part of the program.

namespace velmora::app {

// Runs the window, or a mode that needs widgets (Windowed.h); the program's exit status.
int RunWindowModule(int& argc, char** argv);

}  // namespace velmora::app
