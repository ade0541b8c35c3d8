#include <windows.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStringList>
#include <algorithm>

#include "ChildProcess.h"

namespace velmora::games {

namespace {

// One word as the C run-time's argument parsing reads it back: quoted when it is empty or holds
// a blank, a tab or a quote; inside the quotes a quote is escaped, and backslashes are doubled
// only where they precede a quote, the closing one included.
void AppendWord(QString& line, const QString& word) {
    const bool quoted =
        word.isEmpty() || word.contains(u' ') || word.contains(u'\t') || word.contains(u'"');
    if (!quoted) {
        line += word;
        return;
    }
    line += u'"';
    qsizetype backslashes = 0;
    for (const QChar c : word) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        line += QString(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
        line += c;
        backslashes = 0;
    }
    line += QString(2 * backslashes, u'\\');
    line += u'"';
}

// The program, quoted when it holds a blank (a file name cannot hold a quote), then each
// argument after exactly one blank.
QString CommandLine(const QString& program, const QStringList& arguments) {
    const QString native = QDir::toNativeSeparators(program);
    QString line = native.contains(u' ') || native.contains(u'\t') ? u'"' + native + u'"' : native;
    for (const QString& argument : arguments) {
        line += u' ';
        AppendWord(line, argument);
    }
    return line;
}

// How the child's window shows: hidden for the list and help runs, normal for a game.
void PrepareChildWindow(QProcess& process, WindowMode mode) {
    QProcess* const child = &process;  // the modifier lives in the process it modifies
    // Qt writes the program followed by a blank, then each argument preceded by another one,
    // so two blanks stood between the program and the first argument. The emulator gets the
    // line it has always had instead, with one blank between words. The line is kept in the
    // modifier, which lives as long as the process: Qt hands CreateProcess only a pointer.
    process.setCreateProcessArgumentsModifier(
        [child, mode, line = QString()](QProcess::CreateProcessArguments* args) mutable {
            line = CommandLine(child->program(), child->arguments());
            args->arguments = reinterpret_cast<wchar_t*>(line.data());
            if (mode != WindowMode::Hidden) {
                return;
            }
            // The list and help runs must not flash a console window.
            args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
            args->startupInfo->wShowWindow = SW_HIDE;
            args->flags |= NORMAL_PRIORITY_CLASS;
        });
}

// The program's 8-bit paths are in the ANSI code page, which is what Qt reads as local 8-bit
// text here: every byte comes back as itself when QProcess hands the words to the system.
void Configure(QProcess& process, const emu::Command& command, WindowMode mode) {
    QStringList arguments;
    for (const std::string& argument : command.arguments) {
        arguments.append(QString::fromLocal8Bit(argument));
    }
    process.setProgram(QString::fromLocal8Bit(command.program));
    process.setArguments(arguments);
    process.setWorkingDirectory(QString::fromLocal8Bit(command.workingDirectory));
    PrepareChildWindow(process, mode);
}

}  // namespace

struct CapturedChild::State {
    QProcess process;
    bool startKnown = false;
    bool started = false;
};

CapturedChild::CapturedChild(const emu::Command& command, WindowMode mode)
    : m_state(std::make_unique<State>()) {
    QProcess& process = m_state->process;
    Configure(process, command, mode);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QIODevice::ReadOnly);
}

// QProcess ends a child that still runs and waits for it.
CapturedChild::~CapturedChild() = default;

bool CapturedChild::Started() {
    if (!m_state->startKnown) {
        m_state->started = m_state->process.waitForStarted(-1);
        m_state->startKnown = true;
    }
    return m_state->started;
}

std::int64_t CapturedChild::ProcessId() const {
    return m_state->process.processId();
}

std::string CapturedChild::StartError() {
    return Started() ? std::string() : m_state->process.errorString().toLocal8Bit().toStdString();
}

void CapturedChild::WaitForEnd() {
    // QProcess drains the pipe into its own buffer while the child runs.
    QProcess& process = m_state->process;
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    if (QCoreApplication::instance() == nullptr) {
        process.waitForFinished(-1);
        return;
    }
    WaitWithoutUserInput([&process](QEventLoop& loop) {
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    });
}

size_t CapturedChild::Available() const {
    return static_cast<size_t>(std::max<qint64>(m_state->process.bytesAvailable(), 0));
}

size_t CapturedChild::Take(size_t most, std::string& into) {
    const QByteArray chunk = m_state->process.read(static_cast<qint64>(most));
    into.append(chunk.constData(), static_cast<size_t>(chunk.size()));
    return static_cast<size_t>(chunk.size());
}

bool StartDetachedChild(const emu::Command& command, std::int64_t* processId) {
    QProcess process;
    Configure(process, command, WindowMode::Shown);
    process.setStandardInputFile(QProcess::nullDevice());
    qint64 id = 0;
    const bool started = process.startDetached(&id);
    if (processId != nullptr) {
        *processId = started ? id : 0;
    }
    return started;
}

ForwardedResult RunForwardedChild(const emu::Command& command,
                                  const std::function<void(std::int64_t)>& onStarted) {
    QProcess process;
    Configure(process, command, WindowMode::Shown);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);

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
    return result;
}

}  // namespace velmora::games
