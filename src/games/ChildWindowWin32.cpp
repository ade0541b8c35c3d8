#include <windows.h>

#include <QDir>
#include <QStringList>

#include "ChildWindow.h"

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

}  // namespace

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

}  // namespace velmora::games
