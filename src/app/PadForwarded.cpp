#include "PadForwarded.h"

#include <QSettings>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "GameWatch.h"
#include "PadProfileStore.h"
#include "PadSession.h"
#include "Profile.h"

namespace velmora::app {

namespace {

constexpr std::chrono::milliseconds kPollInterval{15};

// The pads, read on a thread of its own while the main thread waits for the game. SDL is
// started, read and stopped on that one thread.
class PadThread {
public:
    PadThread(const PadWatchOptions& options, std::int64_t processId)
        : m_options(options), m_processId(processId) {
        m_thread = std::thread([this] { Run(); });
    }
    ~PadThread() {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    PadThread(const PadThread&) = delete;
    PadThread& operator=(const PadThread&) = delete;

private:
    void Run() {
        {
            std::unique_lock lock(m_mutex);
            if (m_wake.wait_for(lock, m_options.padsAfter, [this] { return m_stop; })) {
                return;  // the game is over already
            }
        }
        pad::PadSession session(m_options.store);
        if (!session.Available()) {
            return;  // no pads to read: the game runs as it would without them
        }
        GameWatch game(m_processId);
        session.Settle(m_options.clock());
        std::unique_lock lock(m_mutex);
        while (!m_stop) {
            lock.unlock();
            const pad::Time now = m_options.clock();
            for (const pad::PadEvent& event : session.Poll(now)) {
                if (event.kind == pad::PadEvent::Kind::Combination) {
                    game.Combination(now);
                }
            }
            game.Tick(now);
            if (m_options.afterPoll) {
                m_options.afterPoll();
            }
            lock.lock();
            m_wake.wait_for(lock, kPollInterval, [this] { return m_stop; });
        }
    }

    const PadWatchOptions& m_options;
    const std::int64_t m_processId;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace

games::ForwardedResult RunForwardedWithPad(
    games::GameLauncher& launcher, int game, const PadWatchOptions& options,
    const games::GameLauncher::SettingsNotRestored& settingsNotRestored) {
    // Started once the game runs, so that SDL does not hold up the emulator's own start.
    std::optional<PadThread> pads;
    return launcher.RunForwarded(game, settingsNotRestored,
                                 [&](std::int64_t processId) { pads.emplace(options, processId); });
}

games::ForwardedResult RunForwardedWithPad(
    games::GameLauncher& launcher, int game,
    const games::GameLauncher::SettingsNotRestored& settingsNotRestored) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                       QStringLiteral("Velmora"));
    ui::CProfile profile(settings);
    PadProfileStore store(profile);
    const auto origin = std::chrono::steady_clock::now();
    const auto clock = [origin] {
        return std::chrono::duration_cast<pad::Time>(std::chrono::steady_clock::now() - origin);
    };
    const PadWatchOptions options{store, clock, {}, kPadsAfter};
    return RunForwardedWithPad(launcher, game, options, settingsNotRestored);
}

}  // namespace velmora::app
