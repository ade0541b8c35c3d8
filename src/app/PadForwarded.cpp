#include "PadForwarded.h"

#include <QSettings>
#include <condition_variable>
#include <memory>
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
    explicit PadThread(const PadWatchOptions& options) : m_options(options) {
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

    void Watch(std::int64_t processId) {
        const std::lock_guard lock(m_mutex);
        m_processId = processId;
    }

private:
    void Run() {
        pad::PadSession session(m_options.store);
        if (!session.Available()) {
            return;  // no pads to read: the game runs as it would without them
        }
        std::unique_ptr<GameWatch> game;
        std::unique_lock lock(m_mutex);
        while (!m_stop) {
            const std::optional<std::int64_t> processId = m_processId;
            lock.unlock();
            const pad::Time now = m_options.clock();
            if (processId && !game) {
                game = std::make_unique<GameWatch>(*processId);
                session.Settle(now);
            }
            for (const pad::PadEvent& event : session.Poll(now)) {
                if (event.kind == pad::PadEvent::Kind::Combination && game) {
                    game->Combination(now);
                }
            }
            if (game) {
                game->Tick(now);
            }
            if (m_options.afterPoll) {
                m_options.afterPoll(game != nullptr);
            }
            lock.lock();
            m_wake.wait_for(lock, kPollInterval, [this] { return m_stop; });
        }
    }

    const PadWatchOptions& m_options;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::optional<std::int64_t> m_processId;
    std::thread m_thread;
};

}  // namespace

games::ForwardedResult RunForwardedWithPad(games::GameLauncher& launcher, int game,
                                           const PadWatchOptions& options) {
    PadThread pads(options);
    return launcher.RunForwarded(game, [&pads](std::int64_t processId) { pads.Watch(processId); });
}

games::ForwardedResult RunForwardedWithPad(games::GameLauncher& launcher, int game) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                       QStringLiteral("Velmora"));
    ui::CProfile profile(settings);
    PadProfileStore store(profile);
    const auto origin = std::chrono::steady_clock::now();
    const auto clock = [origin] {
        return std::chrono::duration_cast<pad::Time>(std::chrono::steady_clock::now() - origin);
    };
    const PadWatchOptions options{store, clock, {}};
    return RunForwardedWithPad(launcher, game, options);
}

}  // namespace velmora::app
