// "Velmora --shortcut N" on Linux: a desktop entry in a throw-away XDG_DATA_HOME that the
// desktop's own tools accept and run (desktop-file-validate, and GLib's `gio launch`, which
// starts it as a menu would), for emulator folders whose names need every kind of quoting;
// one that never touches a file it did not write for this folder and game.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>

#include "TempDir.h"
#include "VelmoraProgram.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Paths by their bytes: QString would spoil a name that is not UTF-8.
QString Native(const fs::path& path) {
    return QString::fromLocal8Bit(path.string());
}

Outcome Execute(const fs::path& program, const QStringList& arguments, const fs::path& cwd,
                const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProgram(Native(program));
    process.setArguments(arguments);
    process.setWorkingDirectory(Native(cwd));
    process.start();
    EXPECT_TRUE(process.waitForFinished(120000)) << process.errorString().toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

// "gio launch <entry>", as a desktop's menu starts it. What gio starts inherits the write end
// of a pipe as its output, so the pipe's end tells that Velmora and its emulator have ended
// too. The output of all three goes to `out`.
Outcome GioLaunch(const std::string& entry, const fs::path& cwd, const QProcessEnvironment& env) {
    Outcome outcome;
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "no pipe";
        return outcome;
    }
    QProcess gio;
    gio.setProcessEnvironment(env);
    gio.setProgram(QStringLiteral(VELMORA_GIO));
    gio.setArguments({QStringLiteral("launch"), Native(entry)});
    gio.setWorkingDirectory(Native(cwd));
    gio.setChildProcessModifier([out = pipe[1]] {
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
    });
    gio.start();
    ::close(pipe[1]);
    EXPECT_TRUE(gio.waitForFinished(120000)) << gio.errorString().toStdString();
    outcome.status = gio.exitStatus() == QProcess::NormalExit ? gio.exitCode() : -1;
    pollfd ready{pipe[0], POLLIN, 0};
    char buffer[4096];
    for (ssize_t got = 1; got > 0 && ::poll(&ready, 1, 120000) == 1;) {
        got = ::read(pipe[0], buffer, sizeof buffer);
        outcome.out.append(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0)));
    }
    ::close(pipe[0]);
    return outcome;
}

// Emulator folders in one root, each with Velmora beside the stand-in and game 2 configured,
// and one data folder for their shortcuts.
class ShortcutXdg : public ::testing::Test {
protected:
    ShortcutXdg() {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                                 "DBUS_SESSION_BUS_ADDRESS", "ZINC_STANDIN_CMDLINE_LOG"}) {
            m_env.remove(QString::fromLatin1(name));
        }
        m_env.insert(QStringLiteral("XDG_DATA_HOME"), Native(m_data));
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), Native(m_root.Path() / "config"));
    }

    fs::path Emulator(const std::string& folder) const {
        const fs::path emu = m_root.Path() / folder / "zinc";
        fs::create_directories(emu / "cfg");
        test::CopyVelmora(emu);
        fs::copy_file(VELMORA_STANDIN_PATH, emu / "ZINC.EXE");
        test::WriteBytes((emu / "cfg" / "Velmora002.cfg").string(), "--show-fps\r\n");
        return emu;
    }
    Outcome Velmora(const fs::path& emu, const QStringList& arguments) const {
        return Execute(emu / test::kVelmora, arguments, m_root.Path(), m_env);
    }
    // Where the shortcut of `emu`'s game goes: the folder's bytes hashed into the name.
    std::string Entry(const fs::path& emu, int game = 2) const {
        const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(emu.string()),
                                                         QCryptographicHash::Sha256);
        return (m_data / "applications" /
                ("velmora-" + hash.toHex().left(8).toStdString() + "-game-" + std::to_string(game) +
                 ".desktop"))
            .string();
    }

    test::TempDir m_root;
    fs::path m_data = m_root.Path() / "data";
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();
};

TEST_F(ShortcutXdg, GioLaunchStartsTheGameInFoldersWithAwkwardNames) {
    const char* const folders[] = {
        "Arcade 100% \"fun\" $HOME `x` a\\b",
        "50% off=true; rm -rf ~ | cat &",  // '%' with '=': the program's path goes through sh
        "%f %u %k %c %%i \\\\ \\\"",       // field codes that must stay as they are
        " it's #1 * ? [x] 'quoted' ",      // blanks at both ends, a comment sign, globs
        "Jeux vid\xc3\xa9o \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8e\xae",
    };
    for (const char* folder : folders) {
        SCOPED_TRACE(folder);
        const fs::path emu = Emulator(folder);
        const std::string entry = Entry(emu);
        const Outcome made = Velmora(emu, {"--shortcut", "2"});
        ASSERT_EQ(made.status, 0) << made.err;
        EXPECT_EQ(made.out, "Wrote " + entry + "\n");

        const Outcome valid =
            Execute(VELMORA_DESKTOP_FILE_VALIDATE, {Native(entry)}, m_root.Path(), m_env);
        EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
        EXPECT_EQ(valid.out + valid.err, "");

        // Started as the desktop starts it.
        const fs::path log = m_root.Path() / "runs.log";
        fs::remove(log);
        QProcessEnvironment env = m_env;
        env.insert(QStringLiteral("ZINC_STANDIN_CMDLINE_LOG"), Native(log));
        const Outcome launched = GioLaunch(entry, m_root.Path(), env);
        EXPECT_EQ(launched.status, 0) << launched.out;
        EXPECT_EQ(test::ReadBytes(log.string()),
                  "cmdline=<" + emu.string() + "/ZINC.EXE 2 --use-config-file=" + emu.string() +
                      "/cfg/Velmora002.cfg>\r\ncwd=<" + emu.string() + ">\r\n");
    }
    for (const int size : {16, 32, 48, 256}) {
        const std::string side = std::to_string(size);
        EXPECT_TRUE(fs::is_regular_file(m_data / "icons" / "hicolor" / (side + "x" + side) /
                                        "apps" / "velmora.png"))
            << size;
    }
}

// A desktop entry is UTF-8 text, one value a line: such a folder gets no shortcut, and the
// emulator is not even asked for its list.
TEST_F(ShortcutXdg, FoldersADesktopEntryCannotHoldAreRefused) {
    const struct {
        const char* folder;
        const char* shown;
        const char* reason;
    } cases[] = {
        {"new\nline", "new\\nline", "a line break"},
        {"bell\a", "bell\\x07", "a control character"},
        {"vid\xe9o", "vid\xe9o", "bytes that are not UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        const fs::path emu = Emulator(c.folder);
        const fs::path link = m_root.Path() / "link";  // QProcess cannot name it by its bytes
        fs::remove(link);
        fs::create_directory_symlink(emu, link);
        QProcessEnvironment env = m_env;
        const fs::path log = m_root.Path() / "runs.log";
        env.insert(QStringLiteral("ZINC_STANDIN_CMDLINE_LOG"), Native(log));
        const Outcome run = Execute(link / test::kVelmora, {"--shortcut", "2"}, m_root.Path(), env);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "Could not make the shortcut: the emulator folder " + m_root.Str() +
                               "/" + c.shown + "/zinc holds " + c.reason +
                               ", which a desktop entry cannot hold: it is UTF-8 text, one "
                               "value a line\n");
        EXPECT_FALSE(fs::exists(m_data)) << "nothing is written, not even the icons";
        EXPECT_FALSE(fs::exists(log)) << "the emulator ran";
    }
}

// The shortcuts of two folders for the same game live side by side, and a file at a
// shortcut's name that Velmora did not write there for this folder and game is left alone.
TEST_F(ShortcutXdg, OnlyItsOwnShortcutIsReplacedOrRemoved) {
    const fs::path emu = Emulator("one");
    const fs::path other = Emulator("two");
    const std::string entry = Entry(emu);
    ASSERT_EQ(Velmora(emu, {"--shortcut", "2"}).status, 0);
    ASSERT_EQ(Velmora(other, {"--shortcut", "2"}).status, 0);
    const std::string ours = test::ReadBytes(entry);
    const std::string theirs = test::ReadBytes(Entry(other));
    ASSERT_NE(entry, Entry(other));
    ASSERT_NE(theirs, "");

    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = ours;
        return text.replace(text.find(from), from.size(), to);
    };
    const std::string foreign[] = {
        "[Desktop Entry]\nType=Application\nName=Mine\nExec=/usr/bin/true\n",
        replaced("--start 2", "--start 3"),
        replaced("Path=" + emu.string(), "Path=" + other.string()),
        replaced("[Desktop Entry]", "[Desktop Action x]"),
    };
    const std::string left =
        " is not Velmora's shortcut for game 2 of this emulator folder "
        "(its Exec or Path differs), so it was left as it is\n";
    for (const std::string& text : foreign) {
        SCOPED_TRACE(text);
        test::WriteBytes(entry, text);
        for (const auto& [mode, verb] :
             {std::pair{"--shortcut", "make"}, std::pair{"--remove-shortcut", "remove"}}) {
            const Outcome run = Velmora(emu, {mode, "2"});
            EXPECT_EQ(run.status, 1) << mode;
            EXPECT_EQ(run.err, std::string("Could not ") + verb + " the shortcut: " + entry + left);
            EXPECT_EQ(test::ReadBytes(entry), text) << mode;
        }
    }

    // Its own, even with a name the user changed, is replaced and removed; then there is none.
    test::WriteBytes(entry, replaced("Name=Starfield Courier (USA)", "Name=Courier"));
    const Outcome made = Velmora(emu, {"--shortcut", "2"});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(test::ReadBytes(entry), ours);
    const Outcome removed = Velmora(emu, {"--remove-shortcut", "2"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_EQ(removed.out, "Removed " + entry + "\n");
    EXPECT_FALSE(fs::exists(entry));
    const Outcome again = Velmora(emu, {"--remove-shortcut", "2"});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err,
              "Could not remove the shortcut: " + entry + ": there is no shortcut for this game\n");
    EXPECT_EQ(test::ReadBytes(Entry(other)), theirs) << "the other folder's shortcut stays";
}

TEST_F(ShortcutXdg, AGameTheListLacksGetsNoShortcut) {
    const fs::path emu = Emulator("zinc");
    const Outcome run = Velmora(emu, {"--shortcut", "4"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "There is no game 4 in the emulator's list.\n");
    EXPECT_FALSE(fs::exists(m_data / "applications"));
}

// A name that is not UTF-8 is Windows-1252; a desktop entry holds UTF-8 alone.
TEST_F(ShortcutXdg, NamesThatAreNotUtf8AreReadAsWindows1252) {
    const fs::path emu = Emulator("zinc");
    test::WriteBytes(m_root.File("list.txt"),
                     "21 Caf\xe9 \x80 Racer (Fran\xe7"
                     "e) [x]\r\n");
    m_env.insert(QStringLiteral("ZINC_STANDIN_LIST_FILE"), Native(m_root.File("list.txt")));
    const Outcome run = Velmora(emu, {"--shortcut", "21"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(test::ReadBytes(Entry(emu, 21))
                  .find("\nName=Caf\xc3\xa9 \xe2\x82\xac Racer (Fran\xc3\xa7"
                        "e)\n"),
              std::string::npos);
}

}  // namespace
}  // namespace velmora
