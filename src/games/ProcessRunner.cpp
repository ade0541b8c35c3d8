#include "ProcessRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "ChildWindow.h"

namespace velmora::games {

namespace {

QStringList ToArguments(const std::vector<std::string>& arguments) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(arguments.size()));
    for (const std::string& argument : arguments) {
        list.append(QString::fromLocal8Bit(argument));
    }
    return list;
}

void Configure(QProcess& process, const emu::Command& command) {
    process.setProgram(QString::fromLocal8Bit(command.program));
    process.setArguments(ToArguments(command.arguments));
    process.setWorkingDirectory(QString::fromLocal8Bit(command.workingDirectory));
    process.setStandardInputFile(QProcess::nullDevice());
}

// Spins a local event loop that leaves user input queued until `done` is signalled.
template <typename Setup>
void WaitWithoutUserInput(Setup&& setup) {
    QEventLoop loop;
    setup(loop);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

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
    QProcess process;
    bool started = false;
    bool startKnown = false;  // without hooks, whether the child started is learnt when collected
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
    auto run = std::make_unique<Pending>();
    QProcess& process = run->process;
    Configure(process, command);
    process.setProcessChannelMode(QProcess::MergedChannels);
    PrepareChildWindow(process, mode);

    if (hooks.onPipeReady) {
        hooks.onPipeReady();
    }
    process.start(QIODevice::ReadOnly);
    if (hooks.onStartAttempted || hooks.onChildStarted) {
        run->started = process.waitForStarted(-1);
        run->startKnown = true;
    }
    if (hooks.onStartAttempted) {
        hooks.onStartAttempted();
    }
    if (run->started && hooks.onChildStarted) {
        hooks.onChildStarted(process.processId());
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
    if (!run.startKnown) {
        run.started = run.process.waitForStarted(-1);
        run.startKnown = true;
    }
    if (!run.started) {
        return result;
    }
    QProcess& process = run.process;
    // QProcess drains the pipe into its own buffer while the child runs, so a child that
    // prints more than the pipe holds never stalls, and the end of the output is the end of
    // that buffer once the child has gone.
    if (process.state() != QProcess::NotRunning) {
        if (QCoreApplication::instance() != nullptr) {
            WaitWithoutUserInput([&process](QEventLoop& loop) {
                QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
                if (process.state() == QProcess::NotRunning) {
                    QTimer::singleShot(0, &loop, &QEventLoop::quit);
                }
            });
        } else {
            process.waitForFinished(-1);
        }
    }

    // The child has ended, so all it printed is waiting in QProcess's buffer: room for it at
    // once, instead of a text that doubles as it grows and for a moment holds the output
    // three times over.
    result.text.reserve(static_cast<size_t>(std::max<qint64>(process.bytesAvailable(), 0)));
    for (;;) {
        const auto before = std::chrono::steady_clock::now();
        Pause();
        result.pausedFor += std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - before);
        const QByteArray chunk = process.read(kReadChunk);
        ++result.passes;
        result.text.append(chunk.constData(), static_cast<size_t>(chunk.size()));
        if (chunk.size() < kReadChunk) {
            break;  // a short read has taken the rest; a full one may have left more
        }
    }
    result.started = true;
    return result;
}

bool ProcessRunner::StartDetached(const emu::Command& command, std::int64_t* processId) {
    QProcess process;
    Configure(process, command);
    PrepareChildWindow(process, WindowMode::Shown);
    qint64 id = 0;
    const bool started = process.startDetached(&id);
    if (processId != nullptr) {
        *processId = started ? id : 0;
    }
    return started;
}

ForwardedResult ProcessRunner::RunForwarded(
    const emu::Command& command, const std::function<void(std::int64_t processId)>& onStarted) {
    QProcess process;
    process.setProgram(QString::fromLocal8Bit(command.program));
    process.setArguments(ToArguments(command.arguments));
    process.setWorkingDirectory(QString::fromLocal8Bit(command.workingDirectory));
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    PrepareChildWindow(process, WindowMode::Shown);

    ForwardedResult result;
    process.start();
    if (!process.waitForStarted(-1)) {
        result.error = process.errorString().toLocal8Bit().toStdString();
        return result;
    }
    result.started = true;
    if (onStarted) {
        onStarted(process.processId());
    }
    process.waitForFinished(-1);
    result.exitCode = process.exitCode();
#ifndef _WIN32
    if (process.exitStatus() == QProcess::CrashExit) {
        result.exitCode = 128 + process.exitCode();  // Qt reports the signal's number
    }
#endif
    return result;
}

}  // namespace velmora::games
