#pragma once
// Where the command-line modes write. On Windows Velmora is a desktop program without a console
// of its own: started from a console it borrows that one, and output that was redirected to a
// file or a pipe stays there. One implementation per platform (ConsolePosix.cpp,
// ConsoleWin32.cpp), chosen by CMake.

#include <string_view>

namespace velmora::app {

// Makes standard output, error and input usable, writing bytes as they are (no LF to CR LF).
// A standard handle that is closed stays closed for our output, which then fails as it should,
// but no file Velmora opens can take its place.
void PrepareConsole();

// Writes bytes to standard output as they are. False, told on standard error in one line, when
// they could not all be written: a full disk, a closed output or pipe.
bool WriteOut(std::string_view bytes);

// Whether errors should show in boxes too: nobody reads standard error, as when the desktop
// started Velmora from its menu or a shortcut, and there may be a display to show them on. On
// POSIX, no controlling terminal at all (a terminal whose output was redirected still counts)
// and a display named; on Windows, no console, file or pipe behind standard error.
bool WantsErrorBoxes();

// From now on errors also show in a message box captioned "Velmora". Needs an application with
// widgets on a display.
void ShowErrorsInBoxes();

// Tells the user of an error: `text` and a line end on standard error, and in a box too once
// ShowErrorsInBoxes was called.
void ReportError(std::string_view text);

}  // namespace velmora::app
