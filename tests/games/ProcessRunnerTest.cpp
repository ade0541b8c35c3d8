#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <string>
#include <thread>

#include "ProcessRunner.h"
#include "TempDir.h"

namespace velmora::games {
namespace {

using namespace std::chrono_literals;

// Runs the stand-in emulator from a directory of the test's own, with a name holding blanks.
class ProcessRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_emuDir = m_dir.Path() / "My Games" / "zinc";
        std::filesystem::create_directories(m_emuDir / "cfg");
        std::filesystem::copy_file(VELMORA_STANDIN_PATH, m_emuDir / "ZINC.EXE");
    }
    void TearDown() override {
        for (const char* name :
             {"ZINC_STANDIN_OUTPUT_BYTES", "ZINC_STANDIN_SILENT", "ZINC_STANDIN_READ_STDIN",
              "ZINC_STANDIN_STDERR", "ZINC_STANDIN_CMDLINE_LOG"}) {
            qunsetenv(name);
        }
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

// The one line the emulator is started with: on Windows the program and the words with blanks
// quoted, one blank between words, whichever way the child is started.
TEST_F(ProcessRunnerTest, CommandLineHasOneBlankBetweenWords) {
    const std::filesystem::path log = m_dir.Path() / "runs.log";
    qputenv("ZINC_STANDIN_CMDLINE_LOG", QByteArray::fromStdString(log.string()));
    const emu::Command launch = emu::LaunchCommand(m_emuDir.string(), 12);
    const std::string dir = m_emuDir.string();
#ifdef _WIN32
    const std::string expected = "cmdline=<\"" + dir +
                                 "\\ZINC.EXE\" 12 \"--use-config-file=" + dir +
                                 "\\cfg\\Velmora012.cfg\">\r\n";
#else
    const std::string expected =
        "cmdline=<" + dir + "/ZINC.EXE 12 --use-config-file=" + dir + "/cfg/Velmora012.cfg>\r\n";
#endif
    const std::string record = expected + "cwd=<" + dir + ">\r\n";

    const ProcessRunner runner(0ms);
    ASSERT_TRUE(runner.RunCaptured(launch, WindowMode::Hidden).started);
    ASSERT_TRUE(runner.RunCaptured(launch, WindowMode::Shown).started);
    ProcessRunner::StartDetached(launch);
    // The detached child writes its record in its own time: wait for it, up to half a minute.
    std::string text;
    for (int tries = 0; tries < 600 && text.size() < 3 * record.size(); ++tries) {
        text = test::ReadBytes(log.string());
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(text, record + record + record);
}

}  // namespace
}  // namespace velmora::games

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
