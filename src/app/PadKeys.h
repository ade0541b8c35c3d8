#pragma once
// A pad's action reaches Velmora's windows as the key a keyboard user would press, so every
// list, menu and dialog works with a pad as it already does with keys: up and down, the
// pages, Return and Escape go to the focus of the active window; previous and next field are
// Shift+Tab and Tab in a dialog (sent to the dialog itself, so that even a text field hands
// the focus on) and left and right in an open menu. The main window has no fields to step
// through: there previous and next mean nothing.

#include "PadInput.h"

class QWidget;

namespace velmora::app {

// False when none of Velmora's windows is active, or the action means nothing where the
// focus is.
bool SendPadKey(pad::Action action, bool repeat, const QWidget* mainWindow);

}  // namespace velmora::app
