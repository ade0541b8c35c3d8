// A game's shortcut as a desktop entry in $XDG_DATA_HOME/applications, where desktops list the
// user's own launchers, with Velmora's icon installed into the user's hicolor theme when it is
// not there yet. The entry's name holds a short hash of the emulator folder, so that the
// Velmoras of two folders keep their shortcuts for game 12 apart.

#include <QBuffer>
#include <QByteArray>
#include <QCryptographicHash>
#include <QImage>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "Bitmaps.h"
#include "DesktopShortcut.h"
#include "EightBitText.h"
#include "LauncherIcon.h"

namespace velmora::app {

namespace {

namespace fs = std::filesystem;

constexpr int kIconSizes[] = {16, 32, 48, 256};

// Only an absolute XDG_DATA_HOME counts; anything else means the default.
fs::path DataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "") / ".local" / "share";
}

// "velmora-<the first 8 hex digits of the SHA-256 of the folder's bytes>-game-N.desktop": the
// same on every run and machine, and different for every folder a user is likely to have.
fs::path EntryPath(const ShortcutRequest& request) {
    const QByteArray folder = QCryptographicHash::hash(
        QByteArray::fromStdString(request.workingDirectory), QCryptographicHash::Sha256);
    return DataHome() / "applications" /
           ("velmora-" + folder.toHex().left(8).toStdString() + "-game-" +
            std::to_string(request.game) + ".desktop");
}

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// A path as one line of a message: control characters as C escapes, other bytes as they are.
std::string OneLine(const std::string& bytes) {
    std::string line;
    for (const char c : bytes) {
        if (c == '\n') {
            line += "\\n";
        } else if (c == '\t') {
            line += "\\t";
        } else if (IsControl(c)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
            line += escape;
        } else {
            line += c;
        }
    }
    return line;
}

// Why `bytes` cannot stand in a desktop entry, which is UTF-8 text, one value a line.
std::string Unfit(const std::string& bytes) {
    for (const char c : bytes) {
        if (IsControl(c)) {
            return c == '\n' ? "a line break" : "a control character";
        }
    }
    return text::IsUtf8(bytes) ? std::string() : std::string("bytes that are not UTF-8");
}

// A string value: backslashes doubled, and the characters a line cannot hold escaped.
std::string StringValue(const std::string& text) {
    std::string value;
    for (const char c : text) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += IsControl(c) ? ' ' : c;
        }
    }
    if (!value.empty() && value.front() == ' ') {
        value.replace(0, 1, "\\s");  // a leading blank would be taken for the blank after '='
    }
    return value;
}

// One argument of Exec, before it is written as a string value: quoted, with the characters
// that are special inside the quotes escaped and percent signs doubled.
std::string ExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
        if (c == '%') {
            quoted += '%';
        }
    }
    return quoted + '"';
}

// GLib looks for Exec's program by its first word before it turns "%%" back into "%", so it
// would never find a program whose path holds a '%'. The shell, whose path holds none, starts
// it instead, by the program's path as its $0.
std::string ExecValue(const ShortcutRequest& request) {
    const std::string start = "--start " + std::to_string(request.game);
    if (request.program.find('%') == std::string::npos) {
        return StringValue(ExecArgument(request.program) + " " + start);
    }
    return StringValue("/bin/sh -c " + ExecArgument("exec \"$0\" " + start) + " " +
                       ExecArgument(request.program));
}

std::string Reason(const std::error_code& error) {
    return error.message();
}

// The value of `key` in the [Desktop Entry] group, as written; nothing when it is not there.
std::optional<std::string_view> EntryValue(std::string_view text, std::string_view key) {
    bool inGroup = false;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.starts_with('[')) {
            inGroup = line == "[Desktop Entry]";
        } else if (inGroup && line.starts_with(key)) {
            line.remove_prefix(key.size());
            const size_t equals = line.find_first_not_of(' ');
            if (equals != std::string_view::npos && line[equals] == '=') {
                line.remove_prefix(equals + 1);
                return line.substr(std::min(line.find_first_not_of(' '), line.size()));
            }
        }
    }
    return std::nullopt;
}

// Empty when the file at `entry` is the one Velmora writes for this program, folder and game,
// by its Exec and Path; otherwise why it is left alone. Its other lines are the user's.
std::string Foreign(const fs::path& entry, const ShortcutRequest& request) {
    std::ifstream in(entry, std::ios::binary);
    if (!in.is_open()) {
        return entry.string() + ": " + std::strerror(errno) + ", so it was left as it is";
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (EntryValue(text, "Exec") != ExecValue(request) ||
        EntryValue(text, "Path") != StringValue(request.workingDirectory)) {
        return entry.string() + " is not Velmora's shortcut for game " +
               std::to_string(request.game) +
               " of this emulator folder (its Exec or Path differs), so it was left as it is";
    }
    return {};
}

// Written beside its place and renamed over it, so no reader ever sees half a file.
bool WriteWhole(const fs::path& path, const QByteArray& bytes, std::string& error) {
    const fs::path temporary = fs::path(path).concat(".writing");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.constData(), bytes.size());
        out.flush();
        if (!out) {
            error = path.string() + ": " + std::strerror(errno);
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code renamed;
    fs::rename(temporary, path, renamed);
    if (renamed) {
        error = path.string() + ": " + Reason(renamed);
        fs::remove(temporary, renamed);
        return false;
    }
    return true;
}

bool InstallIcons(std::string& error) {
    const fs::path theme = DataHome() / "icons" / "hicolor";
    QImage source;
    for (const int size : kIconSizes) {
        const std::string side = std::to_string(size);
        const fs::path icon = theme / (side + "x" + side) / "apps" / "velmora.png";
        std::error_code exists;
        if (fs::exists(icon, exists)) {
            continue;
        }
        if (source.isNull()) {
            source = ui::AppIconImage();
        }
        std::error_code made;
        fs::create_directories(icon.parent_path(), made);
        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            tools::LauncherIcon(source, size).save(&buffer, "PNG");
        }
        if (made || png.isEmpty()) {
            error = icon.string() + ": " + (made ? Reason(made) : std::string("cannot draw it"));
            return false;
        }
        if (!WriteWhole(icon, png, error)) {
            return false;
        }
    }
    return true;
}

// Whether anything is at `path`, a broken symbolic link included.
bool Occupied(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

}  // namespace

std::string ShortcutRefusal(const ShortcutRequest& request) {
    const std::pair<const std::string*, const char*> paths[] = {
        {&request.workingDirectory, "the emulator folder "}, {&request.program, "the program "}};
    for (const auto& [path, what] : paths) {
        if (const std::string unfit = Unfit(*path); !unfit.empty()) {
            return what + OneLine(*path) + " holds " + unfit +
                   ", which a desktop entry cannot hold: it is UTF-8 text, one value a line";
        }
    }
    return {};
}

ShortcutOutcome WriteDesktopShortcut(const ShortcutRequest& request) {
    ShortcutOutcome outcome;
    const fs::path entry = EntryPath(request);
    outcome.path = entry.string();
    outcome.error = ShortcutRefusal(request);
    if (outcome.error.empty() && Occupied(entry)) {
        outcome.error = Foreign(entry, request);  // only Velmora's own shortcut is replaced
    }
    if (!outcome.error.empty() || !InstallIcons(outcome.error)) {
        return outcome;
    }
    std::error_code made;
    fs::create_directories(entry.parent_path(), made);
    if (made) {
        outcome.error = entry.parent_path().string() + ": " + Reason(made);
        return outcome;
    }

    const std::string name = request.name.toUtf8().toStdString();
    const std::string text =
        "[Desktop Entry]\n"
        "Version=1.4\n"
        "Type=Application\n"
        "Name=" +
        StringValue(name) +
        "\n"
        "Comment=Starts this game in ZiNc with its settings from Velmora\n"
        "Icon=velmora\n"
        "Exec=" +
        ExecValue(request) +
        "\n"
        "Path=" +
        StringValue(request.workingDirectory) +
        "\n"
        "Terminal=false\n"
        "Categories=Game;Emulator;\n";
    if (!WriteWhole(entry, QByteArray::fromStdString(text), outcome.error)) {
        return outcome;
    }
    std::error_code ignored;
    fs::permissions(entry,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                        fs::perms::others_read,
                    ignored);
    outcome.ok = true;
    return outcome;
}

ShortcutOutcome RemoveDesktopShortcut(const ShortcutRequest& request) {
    ShortcutOutcome outcome;
    const fs::path entry = EntryPath(request);
    outcome.path = entry.string();
    if (!Occupied(entry)) {
        outcome.error = entry.string() + ": there is no shortcut for this game";
        return outcome;
    }
    outcome.error = Foreign(entry, request);
    if (!outcome.error.empty()) {
        return outcome;
    }
    std::error_code error;
    fs::remove(entry, error);
    if (error) {
        outcome.error = entry.string() + ": " + Reason(error);
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

}  // namespace velmora::app
