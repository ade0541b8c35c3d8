#pragma once
// Velmora with Qt's widgets: the window it always was when started without options, or a
// command-line mode that shows a dialog or makes a shortcut. Reached once the command line
// (CommandLineApp.h) has found that Qt Core alone will not do; see WindowModule.h for how.

namespace velmora::app {

// The program's exit status.
int RunWindowed(int& argc, char** argv);

}  // namespace velmora::app
