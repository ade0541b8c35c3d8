#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "Console.h"
#include "EightBitText.h"

namespace velmora::app {

namespace {

bool g_outputClosed = false;
bool g_boxes = false;

}  // namespace

void PrepareConsole() {
    // A closed standard handle would be the next file opened, the settings store say, and our
    // output would land in it: the null device holds its place.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            g_outputClosed = g_outputClosed || fd == STDOUT_FILENO;
        }
    }
}

bool WriteOut(std::string_view bytes) {
    int error = g_outputClosed ? EBADF : 0;
    if (error == 0 && (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
                       std::fflush(stdout) != 0)) {
        error = errno;
    }
    if (error != 0) {
        ReportError(std::string("Velmora: could not write to standard output: ") +
                    std::strerror(error));
    }
    return error == 0;
}

bool WantsErrorBoxes() {
    const int terminal = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal >= 0) {
        ::close(terminal);
        return false;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void ShowErrorsInBoxes() {
    g_boxes = true;
}

void ReportError(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    if (g_boxes && qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Velmora"),
                        QString::fromStdString(text::EightBitToUtf8(text)), QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
}

}  // namespace velmora::app
