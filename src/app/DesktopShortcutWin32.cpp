// A game's shortcut as a .lnk file on the user's desktop, made through the shell's own link
// object so that Explorer reads it as one of its own. Its name holds the game's number, so
// that games of one name keep their shortcuts apart.

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <QString>
#include <QStringList>
#include <algorithm>
#include <string>

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
    T* get() const { return m_p; }
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

// Windows takes these names, alone or before an extension, for devices: a file cannot have one.
bool IsDeviceName(QString stem) {
    while (stem.endsWith(u' ')) {
        stem.chop(1);
    }
    stem = stem.toUpper();
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                        QStringLiteral("AUX"), QStringLiteral("NUL")};
    return devices.contains(stem) ||
           (stem.size() == 4 && (stem.startsWith(u"COM") || stem.startsWith(u"LPT")) &&
            QStringLiteral("0123456789\u00B9\u00B2\u00B3").contains(stem.back()));
}

void DropTrailingDotsAndBlanks(QString& name) {
    while (name.endsWith(u'.') || name.endsWith(u' ')) {
        name.chop(1);
    }
}

// The .lnk's name in at most `room` characters: the game's name, then its number, which tells
// games of one name apart ("Alpha Beta (USA) (12).lnk"). Characters Windows does not allow in
// a name become "_"; trailing dots and blanks, which it drops, go; a device name gets a "_"
// before it; a name too long is cut short. Empty when no name fits in `room`.
QString LinkName(const ShortcutRequest& request, qsizetype room) {
    QString name = request.name;
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c)) {
            c = u'_';
        }
    }
    DropTrailingDotsAndBlanks(name);
    if (name.isEmpty()) {
        name = QStringLiteral("Game");
    }
    const QString number = QStringLiteral(" (%1)").arg(request.game);
    // The number ends the stem that Windows compares with device names, unless a dot comes first.
    if (name.contains(u'.') && IsDeviceName(name.left(name.indexOf(u'.')))) {
        name.prepend(u'_');
    }
    const qsizetype keep = room - number.size() - 4;
    if (keep < 16) {
        return {};
    }
    if (name.size() > keep) {
        name.truncate(name.at(keep - 1).isHighSurrogate() ? keep - 1 : keep);
        DropTrailingDotsAndBlanks(name);
    }
    return name + number + QStringLiteral(".lnk");
}

// The shell's link object and its file, for as long as one shortcut is read or written.
struct ShellLink {
    ShellLink() {
        result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link.OutVoid());
        if (SUCCEEDED(result)) {
            result = link->QueryInterface(IID_IPersistFile, file.OutVoid());
        }
    }
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    HRESULT result;
};

// Where the game's shortcut goes, or why it has no place.
struct LinkPlace {
    QString path;
    std::string error;
};

LinkPlace PlaceOf(const ShortcutRequest& request) {
    const QString desktop = DesktopFolder();
    if (desktop.isEmpty()) {
        return {{}, "the desktop folder is unknown"};
    }
    // The shell saves a link to a path of at most MAX_PATH - 1 characters, a name of 255.
    const QString name = LinkName(request, std::min<qsizetype>(255, MAX_PATH - 2 - desktop.size()));
    if (name.isEmpty()) {
        return {{}, Printable(desktop) + ": the desktop folder's path leaves no room for a name"};
    }
    return {desktop + u'\\' + name, {}};
}

bool Exists(const QString& path) {
    return GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES;
}

QString LinkText(HRESULT (IShellLinkW::*get)(LPWSTR, int), IShellLinkW* link) {
    std::wstring text(32768, L'\0');
    if (FAILED((link->*get)(text.data(), static_cast<int>(text.size())))) {
        return {};
    }
    return QString::fromWCharArray(text.c_str());
}

// Empty when the link at `path` starts this Velmora with "--start N" in this folder; otherwise
// why it is left alone. Its name, description and icon are the user's.
std::string Foreign(const QString& path, const ShortcutRequest& request) {
    ShellLink shell;
    HRESULT result = shell.result;
    if (SUCCEEDED(result)) {
        result = shell.file->Load(Wide(path), STGM_READ);
    }
    if (FAILED(result)) {
        return Printable(path) + " cannot be read as a shortcut (" + Reason(result) +
               "), so it was left as it is";
    }
    std::wstring target(32768, L'\0');
    if (FAILED(shell.link->GetPath(target.data(), static_cast<int>(target.size()), nullptr,
                                   SLGP_RAWPATH))) {
        target.clear();
    }
    if (QString::fromWCharArray(target.c_str())
            .compare(QString::fromLocal8Bit(request.program), Qt::CaseInsensitive) ||
        LinkText(&IShellLinkW::GetArguments, shell.link.get()) !=
            QStringLiteral("--start %1").arg(request.game) ||
        LinkText(&IShellLinkW::GetWorkingDirectory, shell.link.get())
            .compare(QString::fromLocal8Bit(request.workingDirectory), Qt::CaseInsensitive)) {
        return Printable(path) + " is not Velmora's shortcut for game " +
               std::to_string(request.game) +
               " of this emulator folder (its target, arguments or working folder differ), so "
               "it was left as it is";
    }
    return {};
}

}  // namespace

// A .lnk holds its paths as UTF-16: any folder can be named in one.
std::string ShortcutRefusal(const ShortcutRequest& /*request*/) {
    return {};
}

ShortcutOutcome WriteDesktopShortcut(const ShortcutRequest& request) {
    ShortcutOutcome outcome;
    const ComScope com;
    const LinkPlace place = PlaceOf(request);
    outcome.path = Printable(place.path);
    outcome.error = place.error;
    if (outcome.error.empty() && Exists(place.path)) {
        outcome.error = Foreign(place.path, request);  // only Velmora's own shortcut is replaced
    }
    if (!outcome.error.empty()) {
        return outcome;
    }
    // The program by its wide name, which no code page can spoil.
    const QString program = QString::fromLocal8Bit(request.program);
    ShellLink shell;
    HRESULT result = shell.result;
    if (SUCCEEDED(result)) {
        shell.link->SetPath(Wide(program));
        shell.link->SetArguments(Wide(QStringLiteral("--start %1").arg(request.game)));
        shell.link->SetWorkingDirectory(Wide(QString::fromLocal8Bit(request.workingDirectory)));
        shell.link->SetIconLocation(Wide(program), 0);
        shell.link->SetDescription(Wide(request.name));
        result = shell.file->Save(Wide(place.path), TRUE);
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
    const ComScope com;
    const LinkPlace place = PlaceOf(request);
    outcome.path = Printable(place.path);
    if (!place.error.empty()) {
        outcome.error = place.error;
        return outcome;
    }
    if (!Exists(place.path)) {
        outcome.error = outcome.path + ": there is no shortcut for this game";
        return outcome;
    }
    outcome.error = Foreign(place.path, request);
    if (!outcome.error.empty()) {
        return outcome;
    }
    if (!DeleteFileW(Wide(place.path))) {
        outcome.error = outcome.path + ": " + Reason(HRESULT_FROM_WIN32(GetLastError()));
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

}  // namespace velmora::app
