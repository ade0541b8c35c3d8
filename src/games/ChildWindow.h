#pragma once
// How a child's window shows: hidden for the list and help runs, normal for a game. Only
// Windows has anything to do here.

#include <QProcess>

#include "ProcessRunner.h"

namespace velmora::games {

void PrepareChildWindow(QProcess& process, WindowMode mode);

}  // namespace velmora::games
