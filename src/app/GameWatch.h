#pragma once
// The game Velmora started, watched while it runs: the pad's combination ends it politely,
// and for good when it still runs GameEnder::kGrace later.

#include <cstdint>

#include "GameEnder.h"
#include "WatchedProcess.h"

namespace velmora::app {

class GameWatch final : private pad::RunningGame {
public:
    explicit GameWatch(std::int64_t processId, pad::Time grace = pad::GameEnder::kGrace)
        : m_child(processId), m_ender(*this, grace) {}

    bool IsRunning() override { return m_child.IsRunning(); }
    void Combination(pad::Time now) { m_ender.End(now); }
    void Tick(pad::Time now) { m_ender.Tick(now); }
    // Whether the pad asked it to end.
    bool EndedByPad() const { return m_ender.Asked(); }
    std::int64_t ProcessId() const { return m_child.ProcessId(); }

private:
    void EndPolitely() override { m_child.EndPolitely(); }
    void EndForGood() override { m_child.EndForGood(); }

    games::WatchedProcess m_child;
    pad::GameEnder m_ender;
};

}  // namespace velmora::app
