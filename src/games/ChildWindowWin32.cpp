#include <windows.h>

#include "ChildWindow.h"

namespace velmora::games {

void PrepareChildWindow(QProcess& process, WindowMode mode) {
    if (mode != WindowMode::Hidden) {
        return;
    }
    // The list and help runs must not flash a console window.
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_HIDE;
        args->flags |= NORMAL_PRIORITY_CLASS;
    });
}

}  // namespace velmora::games
