#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#endif

#include "ProcessRunner.h"
#include "TempDir.h"

namespace velmora::games {
namespace {

using namespace std::chrono_literals;

// Runs the stand-in emulator from a directory of the test's own, with a name holding blanks.
class ProcessRunnerTest : public ::testing::Test {
protected:
    void SetUp() override { m_emuDir = EmulatorDir("My Games"); }
    void TearDown() override {
        for (const char* name :
             {"ZINC_STANDIN_OUTPUT_BYTES", "ZINC_STANDIN_SILENT", "ZINC_STANDIN_READ_STDIN",
              "ZINC_STANDIN_STDERR", "ZINC_STANDIN_CMDLINE_LOG", "ZINC_STANDIN_NOTIFY",
              "ZINC_STANDIN_HANG"}) {
            qunsetenv(name);
        }
    }
    // An emulator directory in `parent`, made when first asked for.
    std::filesystem::path EmulatorDir(const std::string& parent) const {
        const std::filesystem::path dir = m_dir.Path() / parent / "zinc";
        if (!std::filesystem::exists(dir)) {
            std::filesystem::create_directories(dir / "cfg");
            std::filesystem::copy_file(VELMORA_STANDIN_PATH, dir / "ZINC.EXE");
        }
        return dir;
    }
    emu::Command ListCommand() const {
        return emu::ListGamesCommand(emu::EmulatorPath(m_emuDir.string()), m_emuDir.string());
    }

    test::TempDir m_dir;
    std::filesystem::path m_emuDir;
};

TEST_F(ProcessRunnerTest, ReadsInChunksOf511WithAPauseBeforeEach) {
    qputenv("ZINC_STANDIN_OUTPUT_BYTES", "1200");
    const ProcessRunner runner;  // as Velmora holds it
    const CaptureResult result = runner.RunCaptured(ListCommand(), WindowMode::Hidden);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.text.size(), 1200u);
    EXPECT_EQ(result.passes, 3);
    EXPECT_GE(result.pausedFor, 3 * 100ms - 5ms) << "100 ms before each read";
}

TEST_F(ProcessRunnerTest, DeliversEveryByteWhateverTheSize) {
    const ProcessRunner runner(0ms);
    for (const size_t size :
         {size_t{0}, size_t{511}, size_t{1022}, size_t{65536 + 7}, size_t{1} << 20}) {
        qputenv("ZINC_STANDIN_OUTPUT_BYTES", QByteArray::number(qulonglong(size)));
        const CaptureResult result = runner.RunCaptured(ListCommand(), WindowMode::Hidden);
        EXPECT_TRUE(result.started);
        EXPECT_EQ(result.text.size(), size);
        EXPECT_EQ(result.passes, static_cast<int>(size / 511 + 1)) << size;
    }
}

TEST_F(ProcessRunnerTest, KeepsLineEndsAndBothChannelsInOrder) {
    const ProcessRunner runner(0ms);
    const CaptureResult plain = runner.RunCaptured(ListCommand(), WindowMode::Hidden);
    ASSERT_NE(plain.text.find("\r\n"), std::string::npos);

    qputenv("ZINC_STANDIN_STDERR", "1");
    const CaptureResult mixed = runner.RunCaptured(ListCommand(), WindowMode::Hidden);
    EXPECT_EQ(mixed.text, plain.text);
}

TEST_F(ProcessRunnerTest, ChildSeesNoInputAndSilenceIsStillAStart) {
    const ProcessRunner runner(0ms);
    qputenv("ZINC_STANDIN_READ_STDIN", "1");
    EXPECT_TRUE(runner.RunCaptured(ListCommand(), WindowMode::Hidden).started);

    qputenv("ZINC_STANDIN_SILENT", "1");
    const CaptureResult silent = runner.RunCaptured(ListCommand(), WindowMode::Hidden);
    EXPECT_TRUE(silent.started);
    EXPECT_EQ(silent.text, "");
    EXPECT_EQ(silent.passes, 1);
}

TEST_F(ProcessRunnerTest, MissingEmulatorCallsBothHooksAndReportsNoStart) {
    std::filesystem::remove(m_emuDir / "ZINC.EXE");
    const ProcessRunner runner(0ms);
    std::vector<std::string> calls;
    RunHooks hooks;
    hooks.onPipeReady = [&] { calls.push_back("pipe"); };
    hooks.onStartAttempted = [&] { calls.push_back("start"); };
    const CaptureResult result = runner.RunCaptured(ListCommand(), WindowMode::Shown, hooks);
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.text, "");
    EXPECT_EQ(calls, (std::vector<std::string>{"pipe", "start"}));
}

TEST_F(ProcessRunnerTest, PassesArgumentsWithBlanksWhole) {
    const ProcessRunner runner(0ms);
    const emu::Command launch = emu::LaunchCommand(m_emuDir.string(), 7);
    const CaptureResult result = runner.RunCaptured(launch, WindowMode::Shown);
    ASSERT_TRUE(result.started);
    EXPECT_NE(result.text.find("argv[1]=<7>\r\n"), std::string::npos) << result.text;
    EXPECT_NE(result.text.find("argv[2]=<" + launch.arguments[1] + ">\r\n"), std::string::npos)
        << result.text;
}

// The one line the emulator is started with, whichever way it is started: on Windows the
// program and the words with blanks quoted, one blank between words; elsewhere each word by its
// own bytes, also in a folder whose name is no UTF-8.
TEST_F(ProcessRunnerTest, EmulatorGetsItsWordsAndFolderByTheirBytes) {
    std::vector<std::string> parents = {"My Games"};
#ifndef _WIN32
    parents.push_back(test::kEightBitFolder);
#endif
    const std::filesystem::path log = m_dir.Path() / "runs.log";
    qputenv("ZINC_STANDIN_CMDLINE_LOG", QByteArray::fromStdString(log.string()));
    for (const std::string& parent : parents) {
        SCOPED_TRACE(parent);
        const std::string dir = EmulatorDir(parent).string();
        const emu::Command launch = emu::LaunchCommand(dir, 12);
#ifdef _WIN32
        const std::string expected = "cmdline=<\"" + dir +
                                     "\\ZINC.EXE\" 12 \"--use-config-file=" + dir +
                                     "\\cfg\\Velmora012.cfg\">\r\n";
#else
        const std::string expected = "cmdline=<" + dir + "/ZINC.EXE 12 --use-config-file=" + dir +
                                     "/cfg/Velmora012.cfg>\r\n";
#endif
        const std::string record = expected + "cwd=<" + dir + ">\r\n";
        std::filesystem::remove(log);

        const ProcessRunner runner(0ms);
        ASSERT_TRUE(runner.RunCaptured(launch, WindowMode::Hidden).started);
        ASSERT_TRUE(runner.RunCaptured(launch, WindowMode::Shown).started);
        const ForwardedResult forwarded = ProcessRunner::RunForwarded(launch);
        EXPECT_TRUE(forwarded.started) << forwarded.error;
        EXPECT_EQ(forwarded.exitCode, 0);
        ASSERT_TRUE(ProcessRunner::StartDetached(launch));
        // The detached child writes its record in its own time: wait for it, up to half a minute.
        std::string text;
        for (int tries = 0; tries < 600 && text.size() < 4 * record.size(); ++tries) {
            text = test::ReadBytes(log.string());
            std::this_thread::sleep_for(50ms);
        }
        EXPECT_EQ(text, record + record + record + record);
    }
}

// An emulator that cannot be started is told apart from one that ran, each way it is started,
// and a run on our own terminal says why in the system's words.
TEST_F(ProcessRunnerTest, StartsThatFailSayWhy) {
    const struct {
        const char* name;
        std::function<void(const std::filesystem::path& dir, emu::Command&)> spoil;
        int error;  // errno's value for it on POSIX
    } cases[] = {
        {"no emulator", [](const auto& dir, auto&) { std::filesystem::remove(dir / "ZINC.EXE"); },
         ENOENT},
#ifndef _WIN32
        {"emulator not executable",
         [](const auto& dir, auto&) { ::chmod((dir / "ZINC.EXE").c_str(), 0644); }, EACCES},
#endif
        {"emulator folder gone",
         [](const auto& dir, auto& command) { command.workingDirectory = (dir / "gone").string(); },
         ENOENT},
    };
    const ProcessRunner runner(0ms);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path dir = EmulatorDir(c.name);
        emu::Command launch = emu::LaunchCommand(dir.string(), 7);
        c.spoil(dir, launch);

        const CaptureResult captured = runner.RunCaptured(launch, WindowMode::Shown);
        EXPECT_FALSE(captured.started);
        EXPECT_EQ(captured.text, "");
        EXPECT_FALSE(ProcessRunner::StartDetached(launch));
        const ForwardedResult forwarded = ProcessRunner::RunForwarded(launch);
        EXPECT_FALSE(forwarded.started);
#ifdef _WIN32
        EXPECT_FALSE(forwarded.error.empty());  // in the user's language
#else
        EXPECT_EQ(forwarded.error, std::strerror(c.error));
#endif
    }
}

#ifndef _WIN32
// The status of an emulator killed by a signal is the one a shell gives: 128 + the signal.
TEST_F(ProcessRunnerTest, ForwardedRunOfAKilledEmulatorEndsWith128PlusTheSignal) {
    const std::string notify = (m_dir.Path() / "notify").string();
    ASSERT_EQ(::mkfifo(notify.c_str(), 0600), 0);
    qputenv("ZINC_STANDIN_NOTIFY", QByteArray::fromStdString(notify));
    qputenv("ZINC_STANDIN_HANG", "1");
    std::thread killer([&] {
        long long pid = 0;
        std::ifstream(notify) >> pid;  // the emulator's word that it runs
        if (pid > 0) {
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
    });
    const ForwardedResult result =
        ProcessRunner::RunForwarded(emu::LaunchCommand(m_emuDir.string(), 7));
    if (!result.started) {
        std::ofstream(notify) << "0\n";  // lets the killer go
    }
    killer.join();
    EXPECT_TRUE(result.started) << result.error;
    EXPECT_EQ(result.exitCode, 128 + SIGKILL);
}
#endif

}  // namespace
}  // namespace velmora::games

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
