// A game's shortcut as a .lnk file on the user's desktop, made through the shell's own link
// object so that Explorer reads it as one of its own.

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <QString>

#include "DesktopShortcut.h"

namespace velmora::app {

namespace {

// The shell's objects for as long as one shortcut is made.
class ComScope {
public:
    ComScope() : m_ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (m_ok) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool m_ok;
};

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (m_p != nullptr) {
            m_p->Release();
        }
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return m_p; }
    T** Out() { return &m_p; }
    void** OutVoid() { return reinterpret_cast<void**>(&m_p); }

private:
    T* m_p = nullptr;
};

const wchar_t* Wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

std::string Printable(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

std::string Reason(HRESULT result) {
    wchar_t* message = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    QString text = message != nullptr
                       ? QString::fromWCharArray(message).trimmed()
                       : QStringLiteral("error 0x%1")
                             .arg(static_cast<unsigned long>(result), 8, 16, QLatin1Char('0'));
    LocalFree(message);
    return Printable(text);
}

QString DesktopFolder() {
    wchar_t* folder = nullptr;
    QString path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &folder))) {
        path = QString::fromWCharArray(folder);
    }
    CoTaskMemFree(folder);
    return path;
}

// The game's name as a file name: the characters Windows does not allow in one become "_",
// and trailing dots and blanks, which it drops, go.
QString LinkPath(const ShortcutRequest& request) {
    QString name = request.name;
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c)) {
            c = u'_';
        }
    }
    while (name.endsWith(u'.') || name.endsWith(u' ')) {
        name.chop(1);
    }
    if (name.isEmpty()) {
        name = QStringLiteral("Game %1").arg(request.game);
    }
    return DesktopFolder() + u'\\' + name + QStringLiteral(".lnk");
}

QString OwnExecutable() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return QString::fromWCharArray(path.data(), static_cast<qsizetype>(length));
}

}  // namespace

// A .lnk holds its paths as UTF-16: any folder can be named in one.
std::string ShortcutRefusal(const ShortcutRequest& /*request*/) {
    return {};
}

ShortcutOutcome WriteDesktopShortcut(const ShortcutRequest& request) {
    ShortcutOutcome outcome;
    const ComScope com;
    if (request.name.isEmpty() || DesktopFolder().isEmpty()) {
        outcome.error = "the desktop folder is unknown";
        return outcome;
    }
    const QString link = LinkPath(request);
    outcome.path = Printable(link);
    // The program by its wide name, which no code page can spoil.
    const QString program = OwnExecutable();
    const QString arguments = QStringLiteral("--start %1").arg(request.game);
    const QString folder = QString::fromLocal8Bit(request.workingDirectory);

    ComPtr<IShellLinkW> shellLink;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, shellLink.OutVoid());
    if (SUCCEEDED(result)) {
        shellLink->SetPath(Wide(program));
        shellLink->SetArguments(Wide(arguments));
        shellLink->SetWorkingDirectory(Wide(folder));
        shellLink->SetIconLocation(Wide(program), 0);
        shellLink->SetDescription(Wide(request.name));
        ComPtr<IPersistFile> file;
        result = shellLink->QueryInterface(IID_IPersistFile, file.OutVoid());
        if (SUCCEEDED(result)) {
            result = file->Save(Wide(link), TRUE);
        }
    }
    if (FAILED(result)) {
        outcome.error = outcome.path + ": " + Reason(result);
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

ShortcutOutcome RemoveDesktopShortcut(const ShortcutRequest& request) {
    ShortcutOutcome outcome;
    if (request.name.isEmpty()) {
        outcome.error = "the emulator's list does not hold game " + std::to_string(request.game) +
                        ", whose name the shortcut bears";
        return outcome;
    }
    const QString link = LinkPath(request);
    outcome.path = Printable(link);
    if (!DeleteFileW(Wide(link))) {
        outcome.error = outcome.path + ": " + Reason(HRESULT_FROM_WIN32(GetLastError()));
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

}  // namespace velmora::app
