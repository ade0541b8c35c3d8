#include <windows.h>

#include "WatchedProcess.h"

namespace velmora::games {

namespace {

struct CloseRequest {
    DWORD processId;
};

// Asks each of the process's own top-level windows to close, as its close button would: the
// visible ones without an owner, which are what the user sees of it.
BOOL CALLBACK AskToClose(HWND window, LPARAM request) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == reinterpret_cast<const CloseRequest*>(request)->processId &&
        IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

}  // namespace

WatchedProcess::WatchedProcess(std::int64_t processId)
    : m_processId(processId),
      m_handle(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                           FALSE, static_cast<DWORD>(processId))) {}

WatchedProcess::~WatchedProcess() {
    if (m_handle != nullptr) {
        CloseHandle(m_handle);
    }
}

bool WatchedProcess::IsRunning() const {
    return m_handle != nullptr && WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT;
}

void WatchedProcess::EndPolitely() {
    if (IsRunning()) {
        CloseRequest request{static_cast<DWORD>(m_processId)};
        EnumWindows(AskToClose, reinterpret_cast<LPARAM>(&request));
    }
}

void WatchedProcess::EndForGood() {
    // The exit code Windows itself gives a program ended from the task manager.
    if (IsRunning()) {
        TerminateProcess(m_handle, 1);
    }
}

}  // namespace velmora::games
