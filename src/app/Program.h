#pragma once
// Velmora from its arguments to its exit status: the command line read once, the application
// object the mode needs (widgets only for a window), and the mode run.

namespace velmora::app {

int RunVelmora(int& argc, char** argv);

}  // namespace velmora::app
