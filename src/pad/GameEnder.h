#pragma once
// Ending the game Velmora started, when the pad's combination asks for it: first politely, so
// the emulator may save and close as it would from its own menu, then for good when it is
// still running a few seconds later. Time comes from the caller.

#include "PadInput.h"

namespace velmora::pad {

// The running game, as the platform reaches it.
class RunningGame {
public:
    virtual ~RunningGame() = default;
    virtual bool IsRunning() = 0;
    virtual void EndPolitely() = 0;
    virtual void EndForGood() = 0;
};

class GameEnder {
public:
    static constexpr Time kGrace{3000};

    explicit GameEnder(RunningGame& game, Time grace = kGrace) : m_game(game), m_grace(grace) {}

    // The combination: the game is asked to end now, and ended for good `grace` later.
    void End(Time now) {
        if (m_asked || !m_game.IsRunning()) {
            return;
        }
        m_asked = true;
        m_askedAt = now;
        m_game.EndPolitely();
    }
    // Ends it for good once the grace is over and it still runs. Call it while it runs.
    void Tick(Time now) {
        if (m_asked && !m_forGood && now - m_askedAt >= m_grace && m_game.IsRunning()) {
            m_forGood = true;
            m_game.EndForGood();
        }
    }
    bool Asked() const { return m_asked; }

private:
    RunningGame& m_game;
    Time m_grace;
    bool m_asked = false;
    Time m_askedAt{0};
    bool m_forGood = false;
};

}  // namespace velmora::pad
