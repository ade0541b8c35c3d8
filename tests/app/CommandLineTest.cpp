// Velmora's command-line modes, run as a user or a launcher runs them: the real program in an
// emulator directory beside the stand-in emulator, without a display.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include "CRegSnapshot.h"
#include "EmulatorDir.h"
#include "RegistryBackend.h"
#include "SettingsSnapshot.h"
#include "TempDir.h"
#include "VelmoraProgram.h"
#include "Version.h"

namespace velmora {
namespace {

using test::kVelmora;

// How Velmora ends a line on standard error.
#ifdef _WIN32
const std::string kErrorEnd = "\r\n";
#else
const std::string kErrorEnd = "\n";
#endif

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Bytes(const QByteArray& bytes) {
    return bytes.toStdString();
}

// "Velmora <arguments>" in `cwd`, with no display to be had. Waits for it to end unless
// `started` is given, which then gets the running process.
class CommandLineTest : public ::testing::Test {
protected:
    CommandLineTest() {
        test::CopyVelmora(m_emu.Str());
        m_env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
            m_env.remove(QString::fromLatin1(name));
        }
        for (const QString& name : m_env.keys()) {
            if (name.startsWith(QStringLiteral("ZINC_STANDIN_"))) {
                m_env.remove(name);
            }
        }
        SetEnv("ZINC_STANDIN_CMDLINE_LOG", RunLog());
    }

    void SetEnv(const char* name, const std::string& value) {
        m_env.insert(QString::fromLatin1(name), QString::fromLocal8Bit(value));
    }

    void Start(QProcess& process, const QStringList& arguments) {
        process.setProcessEnvironment(m_env);
        process.setProgram(QString::fromLocal8Bit(m_emu.File(kVelmora)));
        process.setArguments(arguments);
        // Anywhere but the emulator directory: Velmora finds it by its own place.
        process.setWorkingDirectory(QString::fromLocal8Bit(m_elsewhere.Str()));
        process.start();
    }

    Outcome Velmora(const QStringList& arguments) {
        QProcess process;
        Start(process, arguments);
        // Wine now and then fails to create a process at all ("Internal error"); that says
        // nothing about Velmora, so such a start is tried once more.
        if (!process.waitForStarted(120000) && process.error() == QProcess::FailedToStart) {
            Start(process, arguments);
        }
        EXPECT_TRUE(process.waitForFinished(120000)) << process.errorString().toStdString();
        Outcome run;
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = Bytes(process.readAllStandardOutput());
        run.err = Bytes(process.readAllStandardError());
        return run;
    }

    void Configure(int game) { test::WriteBytes(OptionsFile(game), "--show-fps\r\n"); }
    std::string OptionsFile(int game) const {
        return m_emu.File("cfg/" + emu::GameOptionsFileName(game));
    }
    std::string RunLog() const { return m_elsewhere.File("runs.log"); }

    // The stand-in's record of its start: the command line and the working directory.
    std::string LaunchRecord(int game) const {
        const std::string dir = m_emu.FrameDir();
        const std::string options = m_emu.FramePath("cfg/" + emu::GameOptionsFileName(game));
#ifdef _WIN32
        const std::string line = "\"" + dir + "\\ZINC.EXE\" " + std::to_string(game) +
                                 " \"--use-config-file=" + options + "\"";
#else
        const std::string line =
            dir + "/ZINC.EXE " + std::to_string(game) + " --use-config-file=" + options;
#endif
        return "cmdline=<" + line + ">\r\ncwd=<" + dir + ">\r\n";
    }

    test::EmulatorDir m_emu;
    test::TempDir m_elsewhere;
    QProcessEnvironment m_env;
};

TEST_F(CommandLineTest, StartRunsTheGameAndPassesItsStatusOn) {
    for (const int status : {0, 3, 255}) {
        for (const int game : {1, 1234}) {
            SCOPED_TRACE("game " + std::to_string(game) + ", status " + std::to_string(status));
            std::filesystem::remove(RunLog());
            Configure(game);
            SetEnv("ZINC_STANDIN_EXIT_CODE", std::to_string(status));
            const Outcome run = Velmora({"--start", QString::number(game)});
            EXPECT_EQ(run.status, status) << run.err;
            EXPECT_EQ(test::ReadBytes(RunLog()), LaunchRecord(game));
            // The emulator's own output, straight through, nothing added.
            EXPECT_EQ(
                run.out.rfind(
                    "ZiNc stand-in\r\nargc=3\r\nargv[1]=<" + std::to_string(game) + ">\r\n", 0),
                0u)
                << run.out;
            EXPECT_NE(run.out.find("--show-fps"), std::string::npos) << run.out;
            EXPECT_EQ(run.err, "");
        }
    }
}

TEST_F(CommandLineTest, StartPassesStandardErrorThroughApart) {
    Configure(7);
    SetEnv("ZINC_STANDIN_STDERR", "1");  // every second line to standard error
    const Outcome run = Velmora({"--start", "7"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("ZiNc stand-in\r\nargv[1]=<7>\r\n", 0), 0u) << run.out;
    EXPECT_EQ(run.err.rfind("argc=3\r\nargv[2]=<--use-config-file=", 0), 0u) << run.err;
}

TEST_F(CommandLineTest, StartRestoresTheGamesSettingsBeforeTheEmulatorRuns) {
    Configure(7);
    const std::string snapshot =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro\\Renderer]\r\n"
        "\"Width\"=dword:00000280\r\n";
    test::WriteBytes(m_emu.File("cfg/Velmora007_registry.cfg"), snapshot);
    {
        auto store = reg::OpenUserRegistry();
        ASSERT_TRUE(store);
        snapshot::RestoreSnapshotText(*store,
                                      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\"
                                      "Vision Thing\\PSEmu Pro\\Other]\r\n\"Stale\"="
                                      "dword:1\r\n");
    }
    // The emulator tells when it runs and waits for the test's word to end.
    const std::string running = m_elsewhere.File("running");
    const std::string gate = m_elsewhere.File("gate");
    SetEnv("ZINC_STANDIN_NOTIFY", running);
    SetEnv("ZINC_STANDIN_WAIT_FOR", gate);
    QProcess velmora;
    Start(velmora, {"--start", "7"});
    bool seen = false;
    for (int i = 0; i < 120000 && !seen; ++i) {
        seen = std::filesystem::exists(running) || velmora.waitForFinished(1);
    }
    ASSERT_TRUE(std::filesystem::exists(running)) << Bytes(velmora.readAllStandardError());
    {
        auto store = reg::OpenUserRegistry();
        ASSERT_TRUE(store);
        EXPECT_EQ(snapshot::ExportSnapshotText(*store).value_or(""),
                  "REGEDIT4\r\n\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu "
                  "Pro\\Renderer]\r\n\"Width\"=dword:00000280\r\n");
    }
    test::WriteBytes(gate, "");
    ASSERT_TRUE(velmora.waitForFinished(120000));
    EXPECT_EQ(velmora.exitCode(), 0);
}

// Over SSH there is no display for the question box, or one left over from another session
// that cannot be reached: Velmora says what is missing instead, the same either way.
TEST_F(CommandLineTest, WithoutAReachableDisplayWindowsAreRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows always has its display";
#else
    test::WriteBytes(OptionsFile(5), "");  // empty: not configured
    const struct {
        const char* display;
        const char* waylandDisplay;
    } displays[] = {{nullptr, nullptr}, {":1987", nullptr}, {nullptr, "wayland-1987"}};
    const std::pair<QStringList, std::string> modes[] = {
        {{"--start", "5"},
         "Game 5 is not configured yet! Configure it in Velmora's window, or with --configure "
         "on a display.\n"},
        {{"--configure", "5"}, "The Configure game dialog needs a display.\n"},
        {{}, "Velmora needs a display for its window.\n"},
    };
    for (const auto& display : displays) {
        for (const auto& [name, value] :
             {std::pair("DISPLAY", display.display), {"WAYLAND_DISPLAY", display.waylandDisplay}}) {
            if (value != nullptr) {
                SetEnv(name, value);
            } else {
                m_env.remove(QString::fromLatin1(name));
            }
        }
        for (const auto& [arguments, err] : modes) {
            SCOPED_TRACE(arguments.join(u' ').toStdString() + " with DISPLAY " +
                         (display.display != nullptr ? display.display : "unset"));
            const Outcome run = Velmora(arguments);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, err);
        }
    }
    EXPECT_EQ(test::ReadBytes(RunLog()).find("--use-config-file="), std::string::npos)
        << "nothing was started";
#endif
}

TEST_F(CommandLineTest, StartTellsOfSettingsNotRestoredAndStartsAllTheSame) {
    Configure(7);
    // A snapshot that cannot be read: a folder where the file should be.
    std::filesystem::create_directory(m_emu.File("cfg/Velmora007_registry.cfg"));
    const Outcome run = Velmora({"--start", "7"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(test::ReadBytes(RunLog()), LaunchRecord(7));
    EXPECT_EQ(run.err.rfind("Velmora: the plugin settings of game 7 were not restored: ", 0), 0u)
        << run.err;
    EXPECT_NE(run.err.find("Velmora007_registry.cfg"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
}

TEST_F(CommandLineTest, StartWithoutTheEmulatorSaysSo) {
    Configure(7);
    std::filesystem::remove(m_emu.File("ZINC.EXE"));
    const Outcome run = Velmora({"--start", "7"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("Could not find ZINC.EXE!", 0), 0u) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(CommandLineTest, ListPrintsOneLinePerGameAsTheListReadsThem) {
    // The lines the list parser is tested with, a tab in a name, and a name that is not
    // UTF-8: every game comes out with its own bytes.
    const std::string list =
        "Games known:\r\n"
        "12 Alpha Beta (Japan) [2 players]\r\n"
        "7 Gamma [prototype]\r\n"
        "  8 Iota [x]\r\n"
        "3 Zeta (World [x]\r\n"
        "6 Theta (Korea) [beta\r\n"
        "10 Kappa (Lambda) Mu (Japan) [x]\r\n"
        "+4 Nu [x]\r\n"
        "9 Rho ]x[ y\r\n"
        "5 Delta (USA)\r\n"
        "0 Omega [x]\r\n"
        "-4 Nu [x]\r\n"
        "13 Tab\there (USA) [\tx ]\r\n"
        "14 Caf\xe9 Racer\t(France) [1 player]\r\n"
        "15 Last [x]";
    test::WriteBytes(m_elsewhere.File("list.txt"), list);
    SetEnv("ZINC_STANDIN_LIST_FILE", m_elsewhere.File("list.txt"));
    Configure(12);
    test::WriteBytes(OptionsFile(7), "");  // empty: not configured
    const Outcome run = Velmora({"--list"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "12\tAlpha Beta\tJapan\t[2 players]\tconfigured\n"
              "7\tGamma\t\t[prototype]\tnot configured\n"
              "8\tIota\t\t[x]\tnot configured\n"
              "3\tZeta\t\t\tnot configured\n"
              "6\tTheta\tKorea\t\tnot configured\n"
              "10\tKappa\tLambda\tMu (Japan) [x]\tnot configured\n"
              "4\tNu\t\t[x]\tnot configured\n"
              "9\tRho ]x\t\t\tnot configured\n"
              "13\tTab here\tUSA\t[ x ]\tnot configured\n"
              "14\tCaf\xe9 Racer\tFrance\t[1 player]\tnot configured\n");
    EXPECT_EQ(run.err, "");
}

// What went wrong, and where Velmora looked: never a question about a game that cannot start.
struct Failure {
    const char* what;
    std::function<void(test::EmulatorDir&)> setUp;
    QStringList arguments;
};

class FailureTest : public CommandLineTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(FailureTest, SaysWhatAndWhere) {
    GetParam().setUp(m_emu);
    const Outcome run = Velmora(GetParam().arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    const std::string noEmulator =
        "Could not find ZINC.EXE!\n" + m_emu.FramePath("ZINC.EXE") + ": ";
    if (GetParam().arguments.contains("98")) {
        EXPECT_EQ(run.err, "There is no game 98 in the emulator's list." + kErrorEnd);
    } else {  // the system's reason follows the path, on the same line
        EXPECT_EQ(run.err.rfind(noEmulator, 0), 0u) << run.err;
        EXPECT_GT(run.err.size(), noEmulator.size() + 1) << run.err;
        EXPECT_EQ(run.err.find('\n', noEmulator.size()), run.err.size() - 1) << run.err;
    }
    EXPECT_EQ(test::ReadBytes(RunLog()).find("--use-config-file="), std::string::npos);
}

void NoEmulator(test::EmulatorDir& emu) {
    std::filesystem::remove(emu.File("ZINC.EXE"));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailureTest,
    ::testing::Values(Failure{"GameTheListLacks", [](test::EmulatorDir&) {}, {"--start", "98"}},
                      Failure{"NoEmulatorForAnUnconfiguredStart", NoEmulator, {"--start", "1"}},
                      Failure{"NoEmulatorForTheList", NoEmulator, {"--list"}},
                      Failure{"EmulatorIsAFolder",
                              [](test::EmulatorDir& emu) {
                                  NoEmulator(emu);
                                  std::filesystem::create_directory(emu.File("ZINC.EXE"));
                              },
                              {"--list"}}
#ifndef _WIN32
                      ,
                      Failure{"EmulatorNotExecutable",
                              [](test::EmulatorDir& emu) {
                                  std::filesystem::permissions(
                                      emu.File("ZINC.EXE"),
                                      std::filesystem::perms::owner_read |
                                          std::filesystem::perms::owner_write);
                              },
                              {"--list"}}
#endif
                      ),
    [](const ::testing::TestParamInfo<Failure>& param) { return std::string(param.param.what); });

// The emulator's list comes out as fast as the emulator prints it.
TEST_F(CommandLineTest, ListOfAHundredThousandGames) {
    SetEnv("ZINC_STANDIN_GAMES", "100000");
    const Outcome run = Velmora({"--list"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 100000);
}

// Output that cannot be written is an error, told in one line, as the standard tools tell it.
TEST_F(CommandLineTest, ListThatCannotBeWrittenFails) {
#ifdef _WIN32
    GTEST_SKIP() << "a full device, closed descriptors and SIGPIPE are POSIX's";
#else
    const struct {
        const char* what;
        const char* reason;
        std::function<void(posix_spawn_file_actions_t*, int pipeReadEnd)> output;
    } cases[] = {
        {"a full disk", "No space left on device",
         [](posix_spawn_file_actions_t* actions, int) {
             posix_spawn_file_actions_addopen(actions, 1, "/dev/full", O_WRONLY, 0);
         }},
        {"a closed output", "Bad file descriptor",
         [](posix_spawn_file_actions_t* actions, int) {
             posix_spawn_file_actions_addclose(actions, 1);
         }},
        {"a pipe nobody reads, SIGPIPE ignored", "Broken pipe",
         [](posix_spawn_file_actions_t* actions, int pipeWriteEnd) {
             posix_spawn_file_actions_adddup2(actions, pipeWriteEnd, 1);
         }},
    };
    std::vector<std::string> environment;
    for (const QString& variable : m_env.toStringList()) {
        environment.push_back(variable.toStdString());
    }
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    const std::string program = m_emu.File(kVelmora);
    char list[] = "--list";
    char* argv[] = {const_cast<char*>(program.c_str()), list, nullptr};
    const auto previous = std::signal(SIGPIPE, SIG_IGN);  // children inherit an ignored signal
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int out[2];
        int err[2];
        ASSERT_EQ(::pipe(out), 0);
        ASSERT_EQ(::pipe(err), 0);
        ::close(out[0]);  // nobody will read the output
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, err[0]);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        c.output(&actions, out[1]);
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        std::string message;
        char buffer[4096];
        for (ssize_t n; (n = ::read(err[0], buffer, sizeof buffer)) > 0;) {
            message.append(buffer, static_cast<size_t>(n));
        }
        ::close(err[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        EXPECT_EQ(message,
                  std::string("Velmora: could not write to standard output: ") + c.reason + "\n");
    }
    std::signal(SIGPIPE, previous);
#endif
}

TEST_F(CommandLineTest, ListOfTheDemoEmulator) {
    const Outcome run = Velmora({"--list"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1),
              "1\tStarfield Courier\tJapan\t[2 players]\tnot configured\n");
}

TEST_F(CommandLineTest, QtsOwnOptionsPassWithAMode) {
    const Outcome plain = Velmora({"--list"});
    const Outcome run = Velmora({"-style", "fusion", "--list", "-reverse", "--platform=offscreen",
                                 "-qwindowtitle", "--start"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, plain.out);
}

TEST_F(CommandLineTest, ListWithoutTheEmulatorSaysSo) {
    std::filesystem::remove(m_emu.File("ZINC.EXE"));
    const Outcome run = Velmora({"--list"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("Could not find ZINC.EXE!", 0), 0u) << run.err;
}

TEST_F(CommandLineTest, BadArgumentsExitWithTwoAndOneLine) {
    const std::vector<QStringList> cases = {
        {"--bogus"},
        {"-x"},
        {"--start"},
        {"--start", "0"},
        {"--start", "-3"},
        {"--start", "+3"},
        {"--start", "7x"},
        {"--start", " 7"},
        {"--start", "99999999999"},
        {"--configure", ""},
        {"--shortcut", "one"},
        {"--start", "1", "--start", "2"},
        {"--list", "--start", "1"},
        {"--list", "extra"},
        {"--restore", "3"},
        {"--restore", "3", "x"},
        {"--copy-settings", "1"},
        {"--copy-settings", "1", "2", "0"},
        {"--export", "1"},
        {"--import", "1", "a", "b"},
        {"--dry-run"},
        {"--list", "--dry-run"},
        {"-stlye", "fusion"},
        {"--list", "-platformm", "offscreen"},
    };
    Configure(1);
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const Outcome run = Velmora(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        const std::string err = run.err;
        ASSERT_FALSE(err.empty());
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        EXPECT_EQ(err.rfind("Velmora: ", 0), 0u) << err;
    }
    // An unknown option is named as it was typed.
    EXPECT_EQ(Velmora({"-stlye", "fusion"}).err.rfind("Velmora: Unknown option '-stlye'.", 0), 0u);
    EXPECT_EQ(Velmora({"--bogus=1"}).err.rfind("Velmora: Unknown option '--bogus'.", 0), 0u);
    EXPECT_EQ(test::ReadBytes(RunLog()), "") << "nothing was started";
}

// A game's settings handled from the command line, a file name that is not UTF-8 included.
TEST_F(CommandLineTest, SettingsCommandsRunThroughTheProgram) {
    Configure(12);
#ifdef _WIN32
    const std::string file = m_elsewhere.File("caf\xe9.velmora");  // the ANSI code page's
#else
    const std::string file = m_elsewhere.File("caf\xc3\xa9.velmora");  // QProcess takes UTF-8
#endif
    const QString fileArgument = QString::fromLocal8Bit(file);
    const struct {
        QStringList arguments;
        int status;
        std::function<void(const Outcome&)> check;
    } steps[] = {
        {{"--export", "12", fileArgument},
         0,
         [&](const Outcome&) { EXPECT_NE(test::ReadBytes(file), ""); }},
        {{"--import", "13", fileArgument},
         0,
         [&](const Outcome&) {
             EXPECT_NE(test::ReadBytes(OptionsFile(13)).find("--show-fps"), std::string::npos);
         }},
        {{"--import", "98", fileArgument},
         1,
         [&](const Outcome& run) {
             EXPECT_EQ(run.err, "There is no game 98 in the emulator's list." + kErrorEnd);
         }},
        {{"--history", "13"},
         0,
         [&](const Outcome& run) {
             EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
             EXPECT_EQ(run.out.rfind("1\t", 0), 0u) << run.out;
         }},
        {{"--copy-settings", "12", "15", "16"},
         0,
         [&](const Outcome&) {
             for (const int game : {15, 16}) {
                 EXPECT_EQ(test::ReadBytes(OptionsFile(game)), test::ReadBytes(OptionsFile(12)));
             }
         }},
        {{"--start", "12", "--dry-run"},
         0,
         [&](const Outcome& run) {
             EXPECT_EQ(run.out.rfind(m_emu.FrameDir() + "\n", 0), 0u) << run.out;
             EXPECT_EQ(test::ReadBytes(RunLog()).find("--use-config-file="), std::string::npos)
                 << "nothing was started";
         }},
        {{"--remove-settings", "13"},
         0,
         [&](const Outcome&) { EXPECT_EQ(test::ReadBytes(OptionsFile(13)), ""); }},
        {{"--restore", "13", "2"},
         0,
         [&](const Outcome&) {
             EXPECT_NE(test::ReadBytes(OptionsFile(13)).find("--show-fps"), std::string::npos);
         }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.arguments.join(u' ').toStdString());
        const Outcome run = Velmora(step.arguments);
        EXPECT_EQ(run.status, step.status) << run.err;
        step.check(run);
    }
}

TEST_F(CommandLineTest, HelpAndVersionComeFromTheParser) {
    const Outcome help = Velmora({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--start <N>", "--configure <N>", "--list", "--shortcut <N>",
                               "--remove-shortcut <N>", "--version"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const Outcome version = Velmora({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Velmora " VELMORA_VERSION "\n");
}

}  // namespace
}  // namespace velmora
