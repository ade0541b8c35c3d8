// Velmora and the emulator in a folder whose name is no UTF-8 (a Latin-1 "Jeux vidéo"), run as
// a user runs them from a terminal. QProcess would hand the system another name for such a
// folder, so the test starts Velmora itself, by the path's own bytes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "Contract.h"
#include "EmulatorDir.h"
#include "TempDir.h"
#include "VelmoraProgram.h"

extern char** environ;
#endif

namespace velmora {
namespace {

#ifdef _WIN32
TEST(EightBitFolder, ListsAndStartsGames) {
    GTEST_SKIP() << "a Windows path is in the ANSI code page, which maps to Unicode and back: "
                    "the runner keeps QProcess there";
}
#else

struct Outcome {
    int status = -1;  // the exit status; 128 + the signal after a crash
    std::string out;
    std::string err;
};

class EightBitFolder : public ::testing::Test {
protected:
    EightBitFolder() {
        test::CopyVelmora(m_emu.Str());
        test::WriteBytes(List(), kList);
    }

    std::string List() const { return m_emu.File("list.txt"); }
    std::string RunLog() const { return m_emu.File("runs.log"); }

    // "Velmora <arguments>" from elsewhere, without a display, the stand-in told where to find
    // its list and where to log its start; `more` adds to its environment.
    Outcome Velmora(const std::vector<std::string>& arguments,
                    const std::vector<std::string>& more = {}) {
        std::vector<std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string variable = *entry;
            const std::string name = variable.substr(0, variable.find('='));
            if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM" &&
                name.rfind("ZINC_STANDIN_", 0) != 0) {
                environment.push_back(variable);
            }
        }
        environment.push_back("ZINC_STANDIN_LIST_FILE=" + List());
        environment.push_back("ZINC_STANDIN_CMDLINE_LOG=" + RunLog());
        environment.insert(environment.end(), more.begin(), more.end());

        std::vector<std::string> words = {m_emu.File(test::kVelmora)};
        words.insert(words.end(), arguments.begin(), arguments.end());
        const std::string out = m_elsewhere.File("out");
        const std::string err = m_elsewhere.File("err");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, m_elsewhere.Str().c_str());
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = -1;
        const int error = posix_spawn(&pid, words[0].c_str(), &actions, nullptr,
                                      Pointers(words).data(), Pointers(environment).data());
        posix_spawn_file_actions_destroy(&actions);
        Outcome run;
        int status = 0;
        if (error != 0 || ::waitpid(pid, &status, 0) != pid) {
            ADD_FAILURE() << "Velmora did not run: " << std::strerror(error);
            return run;
        }
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.out = test::ReadBytes(out);
        run.err = test::ReadBytes(err);
        return run;
    }

    static std::vector<char*> Pointers(std::vector<std::string>& texts) {
        std::vector<char*> pointers;
        for (std::string& text : texts) {
            pointers.push_back(text.data());
        }
        pointers.push_back(nullptr);
        return pointers;
    }

    static constexpr const char* kList =
        "Games known:\r\n"
        "5 Alpha Beta (Japan) [2 players]\r\n"
        "7 Caf\xe9 Racer (France) [1 player]\r\n";

    test::EmulatorDir m_emu{true, test::kEightBitFolder};
    test::TempDir m_elsewhere;
};

TEST_F(EightBitFolder, ListsItsGames) {
    test::WriteBytes(m_emu.File("cfg/" + emu::GameOptionsFileName(7)), "--show-fps\r\n");
    const Outcome run = Velmora({"--list"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "5\tAlpha Beta\tJapan\t[2 players]\tnot configured\n"
              "7\tCaf\xe9 Racer\tFrance\t[1 player]\tconfigured\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(test::ReadBytes(RunLog()), "cmdline=<" + m_emu.Str() + "/ZINC.EXE --list-games>\r\n" +
                                             "cwd=<" + m_emu.Str() + ">\r\n");
}

TEST_F(EightBitFolder, StartsAConfiguredGame) {
    const std::string dir = m_emu.Str();
    const std::string options = dir + "/cfg/Velmora007.cfg";
    test::WriteBytes(options, "--show-fps\r\n--title=Caf\xe9\r\n");
    const Outcome run = Velmora({"--start", "7"}, {"ZINC_STANDIN_EXIT_CODE=3"});
    EXPECT_EQ(run.status, 3) << "the emulator's own status";
    EXPECT_EQ(run.out, "ZiNc stand-in\r\nargc=3\r\nargv[1]=<7>\r\nargv[2]=<--use-config-file=" +
                           options + ">\r\ncwd=<" + dir + ">\r\noptions from " + options +
                           ":\r\n--show-fps\r\n--title=Caf\xe9\r\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(test::ReadBytes(RunLog()), "cmdline=<" + dir + "/ZINC.EXE 7 --use-config-file=" +
                                             options + ">\r\ncwd=<" + dir + ">\r\n");
}

// A settings file named in Latin-1 goes out and comes back in by its name's own bytes.
TEST_F(EightBitFolder, ExportsAndImportsByTheFileNamesBytes) {
    test::WriteBytes(m_emu.File("cfg/" + emu::GameOptionsFileName(7)), "--show-fps\r\n");
    const std::string file = m_elsewhere.File("caf\xe9.velmora");
    EXPECT_EQ(Velmora({"--export", "7", file}).status, 0);
    EXPECT_NE(test::ReadBytes(file), "");
    const Outcome run = Velmora({"--import", "5", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadBytes(m_emu.File("cfg/" + emu::GameOptionsFileName(5))), "--show-fps\r\n");
}

#endif

}  // namespace
}  // namespace velmora
