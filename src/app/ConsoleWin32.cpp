#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "Console.h"

namespace velmora::app {

namespace {

bool g_boxes = false;

bool Usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Points one standard stream, for the C run-time and for the children we start, at the
// console we have just attached to.
void ReopenOnConsole(DWORD which, FILE* stream, const wchar_t* device, const wchar_t* mode) {
    if (_wfreopen(device, mode, stream) == nullptr) {
        return;
    }
    const HANDLE handle =
        CreateFileW(device, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        SetStdHandle(which, handle);
    }
}

}  // namespace

void PrepareConsole() {
    const bool in = Usable(GetStdHandle(STD_INPUT_HANDLE));
    const bool out = Usable(GetStdHandle(STD_OUTPUT_HANDLE));
    const bool err = Usable(GetStdHandle(STD_ERROR_HANDLE));
    // Handles the starter gave us (a redirection to a file or a pipe) are kept; only the
    // missing ones go to the console of the program that started us, if it has one.
    if (!(in && out && err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!in) {
            ReopenOnConsole(STD_INPUT_HANDLE, stdin, L"CONIN$", L"r");
        }
        if (!out) {
            ReopenOnConsole(STD_OUTPUT_HANDLE, stdout, L"CONOUT$", L"w");
        }
        if (!err) {
            ReopenOnConsole(STD_ERROR_HANDLE, stderr, L"CONOUT$", L"w");
        }
    }
    // The game list's lines end in LF alone, as on every platform.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool WriteOut(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
        std::fflush(stdout) == 0) {
        return true;
    }
    ReportError(std::string("Velmora: could not write to standard output: ") +
                std::strerror(errno));
    return false;
}

bool WantsErrorBoxes() {
    return !Usable(GetStdHandle(STD_ERROR_HANDLE));
}

void ShowErrorsInBoxes() {
    g_boxes = true;
}

void ReportError(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputs("\r\n", stderr);
    std::fflush(stderr);
    if (g_boxes) {
        const QString message =
            QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(message.utf16()), L"Velmora",
                    MB_OK | MB_ICONERROR);
    }
}

}  // namespace velmora::app
