#pragma once
// A child Velmora started, watched by its process id while it lives and ended on request:
// first politely (a close request to its windows on Windows, SIGTERM elsewhere), so the
// emulator may end as from its own menu, then for good. Plain C++; one implementation per
// platform.

#include <cstdint>

namespace velmora::games {

class WatchedProcess {
public:
    explicit WatchedProcess(std::int64_t processId);
    ~WatchedProcess();
    WatchedProcess(const WatchedProcess&) = delete;
    WatchedProcess& operator=(const WatchedProcess&) = delete;

    std::int64_t ProcessId() const { return m_processId; }
    // False once it has ended, even while nobody has collected its exit status yet.
    bool IsRunning() const;
    void EndPolitely();
    void EndForGood();

private:
    std::int64_t m_processId;
    // Windows: the process, held open so that its id is not given to another while watched.
    [[maybe_unused]] void* m_handle = nullptr;
};

}  // namespace velmora::games
