#pragma once
// The emulator as a child process, started the platform's own way. One implementation per
// platform, chosen by CMake:
//  - Windows (ChildProcessWin32.cpp): QProcess. A path there is in the ANSI code page, which
//    maps to Unicode and back, and the emulator gets the one command line it has always had.
//  - elsewhere (ChildProcessPosix.cpp): spawned by the exact bytes of its program, arguments
//    and working directory. A folder name need not be UTF-8 ("Jeux vid\xE9o"), and QProcess,
//    which holds them as text, would hand the system another name.

#include <QEventLoop>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Contract.h"
#include "ProcessRunner.h"

namespace velmora::games {

// One captured run: the child's standard output and error go, merged in their order, into one
// pipe that is drained into memory while it runs (also while nobody waits for it, whenever the
// event loop runs); its standard input is the null device.
class CapturedChild {
public:
    // Starts the child.
    CapturedChild(const emu::Command& command, WindowMode mode);
    // A child that still runs is killed and waited for.
    ~CapturedChild();
    CapturedChild(const CapturedChild&) = delete;
    CapturedChild& operator=(const CapturedChild&) = delete;

    // Whether the child started; waits for the system's answer where it comes later.
    bool Started();
    // Why it did not start, in the system's words.
    std::string StartError();
    // Its process id once started.
    std::int64_t ProcessId() const;
    // Waits until a started child has ended: in a local event loop that leaves user input
    // queued where the thread has an event loop, else blocking.
    void WaitForEnd();
    // The output gathered and not taken yet.
    size_t Available() const;
    // Appends at most `most` bytes of it to `into`; how many.
    size_t Take(size_t most, std::string& into);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// See ProcessRunner::StartDetached and ProcessRunner::RunForwarded.
bool StartDetachedChild(const emu::Command& command, std::int64_t* processId);
ForwardedResult RunForwardedChild(const emu::Command& command,
                                  const std::function<void(std::int64_t)>& onStarted);

// Runs a local event loop that leaves user input queued; `setup` arranges for it to quit.
void WaitWithoutUserInput(const std::function<void(QEventLoop&)>& setup);

}  // namespace velmora::games
