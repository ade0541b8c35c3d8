// A game's shortcut as a desktop entry in $XDG_DATA_HOME/applications, where desktops list the
// user's own launchers, with Velmora's icon installed into the user's hicolor theme when it is
// not there yet.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

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

fs::path EntryPath(int game) {
    return DataHome() / "applications" / ("velmora-game-" + std::to_string(game) + ".desktop");
}

// A desktop entry is UTF-8 text, one value a line.
bool FitsAnEntry(const std::string& bytes) {
    if (!text::IsUtf8(bytes)) {
        return false;
    }
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
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
                value += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
        }
    }
    if (!value.empty() && value.front() == ' ') {
        value.replace(0, 1, "\\s");  // a leading blank would be taken for the blank after '='
    }
    return value;
}

// One argument of Exec: quoted, with the characters that are special inside the quotes
// escaped and percent signs doubled, then written as a string value.
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
    quoted += '"';
    return StringValue(quoted);
}

std::string Reason(const std::error_code& error) {
    return error.message();
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

}  // namespace

ShortcutOutcome WriteDesktopShortcut(const ShortcutRequest& request) {
    ShortcutOutcome outcome;
    const fs::path entry = EntryPath(request.game);
    outcome.path = entry.string();
    for (const std::string* path : {&request.program, &request.workingDirectory}) {
        if (!FitsAnEntry(*path)) {
            outcome.error = "the path " + *path +
                            " cannot be written into a desktop entry (it must be UTF-8 without "
                            "control characters)";
            return outcome;
        }
    }
    if (!InstallIcons(outcome.error)) {
        return outcome;
    }
    std::error_code made;
    fs::create_directories(entry.parent_path(), made);
    if (made) {
        outcome.error = entry.parent_path().string() + ": " + Reason(made);
        return outcome;
    }

    const std::string name = request.name.toUtf8().toStdString();
    std::string text =
        "[Desktop Entry]\n"
        "Version=1.4\n"
        "Type=Application\n"
        "Name=" +
        StringValue(name) +
        "\n"
        "Comment=Starts this game in ZiNc with its settings from Velmora\n"
        "Icon=velmora\n"
        "Exec=" +
        ExecArgument(request.program) + " --start " + std::to_string(request.game) +
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
    const fs::path entry = EntryPath(request.game);
    outcome.path = entry.string();
    std::error_code error;
    if (fs::remove(entry, error)) {
        outcome.ok = true;
    } else {
        outcome.error = entry.string() + ": " +
                        (error ? Reason(error) : std::string("there is no shortcut for this game"));
    }
    return outcome;
}

}  // namespace velmora::app
