#include <signal.h>
#include <sys/types.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "WatchedProcess.h"

namespace velmora::games {

namespace {

// An ended process stays in the table as a zombie until its parent collects it: the runner
// collects a captured game soon, but a game started detached has init, or whoever stands in
// for it, as its parent, which may be slow to do so or never do it.
bool IsZombie(pid_t pid) {
#ifdef __linux__
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return false;
    }
    // "pid (name) state ...": the name may hold blanks and parentheses, the state follows the
    // last ')'.
    const size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() &&
           (line[close + 2] == 'Z' || line[close + 2] == 'X');
#else
    (void)pid;
    return false;
#endif
}

}  // namespace

WatchedProcess::WatchedProcess(std::int64_t processId) : m_processId(processId) {}

WatchedProcess::~WatchedProcess() = default;

bool WatchedProcess::IsRunning() const {
    const auto pid = static_cast<pid_t>(m_processId);
    if (pid <= 0) {
        return false;
    }
    // An ended game that nobody has collected yet has ended all the same.
    return (kill(pid, 0) == 0 || errno == EPERM) && !IsZombie(pid);
}

void WatchedProcess::EndPolitely() {
    if (IsRunning()) {
        kill(static_cast<pid_t>(m_processId), SIGTERM);
    }
}

void WatchedProcess::EndForGood() {
    if (IsRunning()) {
        kill(static_cast<pid_t>(m_processId), SIGKILL);
    }
}

}  // namespace velmora::games
