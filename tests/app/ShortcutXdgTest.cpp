// "Velmora --shortcut N" on Linux: a desktop entry in a throw-away XDG_DATA_HOME that the
// desktop's own validator accepts and that, read by the Desktop Entry rules and run, starts the
// game in an emulator folder whose name needs every kind of quoting.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Contract.h"
#include "TempDir.h"
#include "VelmoraProgram.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// A string value's escapes undone.
std::string Unescape(const std::string& value) {
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const char c = value[++i];
        text += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return text;
}

// Exec split into its arguments: quoted ones lose their quotes and the backslashes before ",
// `, $ and \, and "%%" stands for "%".
std::vector<std::string> ExecArguments(const std::string& exec) {
    std::vector<std::string> arguments;
    std::string current;
    bool inWord = false;
    bool quoted = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == ' ') {
            if (inWord) {
                arguments.push_back(current);
                current.clear();
                inWord = false;
            }
            continue;
        } else if (c == '"') {
            quoted = true;
        } else {
            current += c;
        }
        inWord = true;
    }
    if (inWord) {
        arguments.push_back(current);
    }
    for (std::string& argument : arguments) {
        for (size_t at = argument.find("%%"); at != std::string::npos;
             at = argument.find("%%", at + 1)) {
            argument.erase(at, 1);
        }
    }
    return arguments;
}

std::map<std::string, std::string> ReadEntry(const std::string& path) {
    std::map<std::string, std::string> keys;
    std::istringstream lines(test::ReadBytes(path));
    for (std::string line; std::getline(lines, line);) {
        if (const size_t equals = line.find('='); equals != std::string::npos) {
            keys[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return keys;
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome Execute(const QString& program, const QStringList& arguments, const QString& cwd,
                const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(cwd);
    process.start();
    EXPECT_TRUE(process.waitForFinished(120000)) << process.errorString().toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

TEST(ShortcutXdg, EntryIsValidAndStartsTheGameFromAnAwkwardFolder) {
    test::TempDir root;
    const fs::path emu = root.Path() / "Arcade 100% \"fun\" $HOME `x` a\\b" / "zinc";
    fs::create_directories(emu / "cfg");
    test::CopyVelmora(emu);
    fs::copy_file(VELMORA_STANDIN_PATH, emu / "ZINC.EXE");
    test::WriteBytes((emu / "cfg" / "Velmora002.cfg").string(), "--show-fps\r\n");
    const fs::path data = root.Path() / "data";
    const std::string log = root.File("runs.log");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(data.string()));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(root.File("config")));
    env.insert(QStringLiteral("ZINC_STANDIN_CMDLINE_LOG"), QString::fromStdString(log));
    const QString velmora = QString::fromStdString((emu / "Velmora").string());
    const QString elsewhere = QString::fromStdString(root.Str());

    const std::string entry = (data / "applications" / "velmora-game-2.desktop").string();
    const Outcome made = Execute(velmora, {"--shortcut", "2"}, elsewhere, env);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "Wrote " + entry + "\n");
    for (const int size : {16, 32, 48, 256}) {
        const std::string side = std::to_string(size);
        EXPECT_TRUE(fs::is_regular_file(data / "icons" / "hicolor" / (side + "x" + side) / "apps" /
                                        "velmora.png"))
            << size;
    }

    const Outcome valid = Execute(QString::fromUtf8(VELMORA_DESKTOP_FILE_VALIDATE),
                                  {QString::fromStdString(entry)}, elsewhere, env);
    EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
    EXPECT_EQ(valid.out + valid.err, "");

    std::map<std::string, std::string> keys = ReadEntry(entry);
    EXPECT_EQ(keys["Name"], "Starfield Courier (USA)");
    EXPECT_EQ(keys["Icon"], "velmora");
    EXPECT_EQ(Unescape(keys["Path"]), emu.string());
    const std::vector<std::string> exec = ExecArguments(Unescape(keys["Exec"]));
    ASSERT_EQ(exec.size(), 3u) << keys["Exec"];
    EXPECT_EQ(exec[0], (emu / "Velmora").string());
    EXPECT_EQ(exec[1], "--start");
    EXPECT_EQ(exec[2], "2");

    // Started as the desktop starts it: the program and its arguments from Exec, in Path.
    fs::remove(log);  // the list run that named the shortcut
    const Outcome game = Execute(QString::fromStdString(exec[0]),
                                 {QString::fromStdString(exec[1]), QString::fromStdString(exec[2])},
                                 QString::fromStdString(Unescape(keys["Path"])), env);
    EXPECT_EQ(game.status, 0) << game.err;
    EXPECT_EQ(test::ReadBytes(log), "cmdline=<" + emu.string() +
                                        "/ZINC.EXE 2 --use-config-file=" + emu.string() +
                                        "/cfg/Velmora002.cfg>\r\ncwd=<" + emu.string() + ">\r\n");

    // Made again: replaced, not doubled; then removed, and a second removal says there is none.
    const std::string first = test::ReadBytes(entry);
    EXPECT_EQ(Execute(velmora, {"--shortcut", "2"}, elsewhere, env).status, 0);
    EXPECT_EQ(test::ReadBytes(entry), first);
    EXPECT_EQ(
        std::distance(fs::directory_iterator(data / "applications"), fs::directory_iterator()), 1);
    const Outcome removed = Execute(velmora, {"--remove-shortcut", "2"}, elsewhere, env);
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_EQ(removed.out, "Removed " + entry + "\n");
    EXPECT_FALSE(fs::exists(entry));
    const Outcome again = Execute(velmora, {"--remove-shortcut", "2"}, elsewhere, env);
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find(entry), std::string::npos) << again.err;
}

// Velmora beside the stand-in in a plain folder, with data and settings folders of its own.
struct PlainEmulator {
    PlainEmulator() {
        fs::create_directories(emu / "cfg");
        test::CopyVelmora(emu);
        fs::copy_file(VELMORA_STANDIN_PATH, emu / "ZINC.EXE");
        env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(root.File("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(root.File("config")));
    }
    Outcome Velmora(const QStringList& arguments) const {
        return Execute(QString::fromStdString((emu / "Velmora").string()), arguments,
                       QString::fromStdString(root.Str()), env);
    }

    test::TempDir root;
    fs::path emu = root.Path() / "zinc";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
};

TEST(ShortcutXdg, AGameTheListLacksGetsNoShortcut) {
    const PlainEmulator plain;
    const Outcome run = plain.Velmora({"--shortcut", "4"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "There is no game 4 in the emulator's list.\n");
    EXPECT_FALSE(fs::exists(plain.root.Path() / "data" / "applications"));
}

// A name that is not UTF-8 is Windows-1252; a desktop entry holds UTF-8 alone.
TEST(ShortcutXdg, NamesThatAreNotUtf8AreReadAsWindows1252) {
    PlainEmulator plain;
    test::WriteBytes(plain.root.File("list.txt"),
                     "21 Caf\xe9 \x80 Racer (Fran\xe7"
                     "e) [x]\r\n");
    plain.env.insert(QStringLiteral("ZINC_STANDIN_LIST_FILE"),
                     QString::fromStdString(plain.root.File("list.txt")));
    const Outcome run = plain.Velmora({"--shortcut", "21"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string entry = plain.root.File("data/applications/velmora-game-21.desktop");
    EXPECT_EQ(ReadEntry(entry)["Name"],
              "Caf\xc3\xa9 \xe2\x82\xac Racer (Fran\xc3\xa7"
              "e)");
}

}  // namespace
}  // namespace velmora
