#include "ChildWindow.h"

namespace velmora::games {

// A console program started from a desktop program opens no window of its own here.
void PrepareChildWindow(QProcess& /*process*/, WindowMode /*mode*/) {}

}  // namespace velmora::games
