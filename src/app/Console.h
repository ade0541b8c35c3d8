#pragma once
// Where the command-line modes write. On Windows Velmora is a desktop program without a console
// of its own: started from a console it borrows that one, and output that was redirected to a
// file or a pipe stays there. One implementation per platform (ConsolePosix.cpp,
// ConsoleWin32.cpp), chosen by CMake.

#include <string_view>

namespace velmora::app {

// Makes standard output, error and input usable, writing bytes as they are (no LF to CR LF).
void PrepareConsole();

// Writes bytes to standard output as they are.
void WriteOut(std::string_view bytes);

// Whether a window can be shown at all: false on Linux without a display (over SSH, say), where
// Qt would end the program on the spot.
bool CanShowWindows();

// Tells the user of an error: `text` and a line end on standard error, and, where no console
// would show it, in a message box too.
void ReportError(std::string_view text);

}  // namespace velmora::app
