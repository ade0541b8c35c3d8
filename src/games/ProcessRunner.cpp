#include "ProcessRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <utility>

#include "ChildProcess.h"

namespace velmora::games {

void WaitWithoutUserInput(const std::function<void(QEventLoop&)>& setup) {
    QEventLoop loop;
    setup(loop);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void ProcessRunner::Pause() const {
    if (m_pause.count() <= 0) {
        return;
    }
    if (QCoreApplication::instance() == nullptr) {
        QThread::msleep(static_cast<unsigned long>(m_pause.count()));
        return;
    }
    WaitWithoutUserInput(
        [this](QEventLoop& loop) { QTimer::singleShot(m_pause, &loop, &QEventLoop::quit); });
}

struct ProcessRunner::Pending {
    Pending(const emu::Command& command, WindowMode mode) : child(command, mode) {}
    CapturedChild child;
};

ProcessRunner::StartedRun::StartedRun() = default;
ProcessRunner::StartedRun::StartedRun(std::unique_ptr<Pending> pending)
    : m_pending(std::move(pending)) {}
ProcessRunner::StartedRun::~StartedRun() = default;
ProcessRunner::StartedRun::StartedRun(StartedRun&&) noexcept = default;
ProcessRunner::StartedRun& ProcessRunner::StartedRun::operator=(StartedRun&&) noexcept = default;

ProcessRunner::ProcessRunner(std::chrono::milliseconds pause) : m_pause(pause) {}

ProcessRunner::~ProcessRunner() = default;

std::unique_ptr<ProcessRunner::Pending> ProcessRunner::Start(const emu::Command& command,
                                                             WindowMode mode,
                                                             const RunHooks& hooks) const {
    if (hooks.onPipeReady) {
        hooks.onPipeReady();
    }
    auto run = std::make_unique<Pending>(command, mode);
    if (hooks.onStartAttempted) {
        run->child.Started();
        hooks.onStartAttempted();
    }
    if (hooks.onChildStarted && run->child.Started()) {
        hooks.onChildStarted(run->child.ProcessId());
    }
    return run;
}

CaptureResult ProcessRunner::RunCaptured(const emu::Command& command, WindowMode mode,
                                         const RunHooks& hooks) const {
    const std::unique_ptr<Pending> run = Start(command, mode, hooks);
    return Collect(*run);
}

ProcessRunner::StartedRun ProcessRunner::StartCaptured(const emu::Command& command,
                                                       WindowMode mode) const {
    return StartedRun(Start(command, mode, {}));
}

CaptureResult ProcessRunner::Collect(StartedRun& run) const {
    if (!run.m_pending) {
        return {};
    }
    const std::unique_ptr<Pending> pending = std::move(run.m_pending);
    return Collect(*pending);
}

CaptureResult ProcessRunner::Collect(Pending& run) const {
    CaptureResult result;
    CapturedChild& child = run.child;
    if (!child.Started()) {
        result.error = child.StartError();
        return result;
    }
    // The output is drained into memory while the child runs, so a child that prints more
    // than the pipe holds never stalls, and the end of the output is the end of what was
    // gathered once the child has gone.
    child.WaitForEnd();

    // Room for all of it at once, instead of a text that doubles as it grows and for a moment
    // holds the output three times over.
    result.text.reserve(child.Available());
    for (;;) {
        const auto before = std::chrono::steady_clock::now();
        Pause();
        result.pausedFor += std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - before);
        const size_t taken = child.Take(kReadChunk, result.text);
        ++result.passes;
        if (taken < static_cast<size_t>(kReadChunk)) {
            break;  // a short read has taken the rest; a full one may have left more
        }
    }
    result.started = true;
    return result;
}

bool ProcessRunner::StartDetached(const emu::Command& command, std::int64_t* processId) {
    return StartDetachedChild(command, processId);
}

ForwardedResult ProcessRunner::RunForwarded(
    const emu::Command& command, const std::function<void(std::int64_t processId)>& onStarted) {
    return RunForwardedChild(command, onStarted);
}

}  // namespace velmora::games
