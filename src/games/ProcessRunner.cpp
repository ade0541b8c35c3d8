#include "ProcessRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <algorithm>

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
    emu::Command command;
    WindowMode mode = WindowMode::Hidden;
    QProcess process;
    bool started = false;
    bool startKnown = false;  // a prestarted run learns whether its child started when collected
};

ProcessRunner::ProcessRunner(std::chrono::milliseconds pause) : m_pause(pause) {}

ProcessRunner::~ProcessRunner() = default;

std::unique_ptr<ProcessRunner::Pending> ProcessRunner::Start(const emu::Command& command,
                                                             WindowMode mode,
                                                             const RunHooks& hooks) const {
    auto run = std::make_unique<Pending>();
    run->command = command;
    run->mode = mode;
    QProcess& process = run->process;
    Configure(process, command);
    process.setProcessChannelMode(QProcess::MergedChannels);
    PrepareChildWindow(process, mode);

    if (hooks.onPipeReady) {
        hooks.onPipeReady();
    }
    process.start(QIODevice::ReadOnly);
    if (hooks.onStartAttempted) {
        run->started = process.waitForStarted(-1);
        run->startKnown = true;
        hooks.onStartAttempted();
    }
    return run;
}

void ProcessRunner::Prestart(const emu::Command& command) {
    // Not even waiting for the child's exec: the caller goes on at once.
    m_prestarted.push_back(Start(command, WindowMode::Hidden, {}));
}

CaptureResult ProcessRunner::RunCaptured(const emu::Command& command, WindowMode mode,
                                         const RunHooks& hooks) const {
    for (auto it = m_prestarted.begin(); it != m_prestarted.end(); ++it) {
        Pending& run = **it;
        if (run.mode == mode && run.command.program == command.program &&
            run.command.arguments == command.arguments &&
            run.command.workingDirectory == command.workingDirectory) {
            std::unique_ptr<Pending> adopted = std::move(*it);
            m_prestarted.erase(it);
            if (hooks.onPipeReady) {
                hooks.onPipeReady();
            }
            if (hooks.onStartAttempted) {
                hooks.onStartAttempted();
            }
            return Collect(*adopted);
        }
    }
    const std::unique_ptr<Pending> run = Start(command, mode, hooks);
    return Collect(*run);
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

void ProcessRunner::StartDetached(const emu::Command& command) {
    QProcess process;
    Configure(process, command);
    PrepareChildWindow(process, WindowMode::Shown);
    process.startDetached();
}

}  // namespace velmora::games
