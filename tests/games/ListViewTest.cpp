// The game list on its own, in a window of the test's making: the view needs no main window
// of Velmora's, only the services a frame offers.

#include <gtest/gtest.h>

#include <QSettings>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "CVelmoraView.h"
#include "EmulatorDir.h"
#include "FrameServices.h"
#include "GameSnapshots.h"
#include "Profile.h"
#include "TempDir.h"

namespace velmora::games {
namespace {

using namespace std::chrono_literals;

class TestFrame : public ui::CFrameServices {
public:
    explicit TestFrame(const test::EmulatorDir& emu)
        : m_directory(emu.Str()),
          m_path(emu.File("ZINC.EXE")),
          m_settings(QString::fromStdString(emu.ProfileFile()), QSettings::IniFormat),
          m_profile(m_settings) {}

    const std::string& EmulatorDirectory() const override { return m_directory; }
    const std::string& EmulatorPath() const override { return m_path; }
    const std::string& HelpText() const override { return m_help; }
    void SetHelpText(const std::string& text) override { m_help = text; }
    int ShowOutputFlag() const override { return m_showOutput; }
    void SetOutputText(const std::string& text) override { outputs.push_back(text); }
    ui::CProfile& Profile() override { return m_profile; }
    QWidget* FrameWindow() override { return &m_window; }

    std::vector<std::string> outputs;
    int m_showOutput = 1;

private:
    std::string m_directory;
    std::string m_path;
    std::string m_help;
    QSettings m_settings;
    ui::CProfile m_profile;
    QWidget m_window;
};

class ListViewTest : public ::testing::Test {
protected:
    ListViewTest() { qputenv("ZINC_STANDIN_GAMES", "12"); }
    ~ListViewTest() override { qunsetenv("ZINC_STANDIN_GAMES"); }

    test::EmulatorDir m_emu;
    TestFrame m_frame{m_emu};
    ProcessRunner m_runner{0ms};
    snapshot::GameSnapshots m_snapshots{m_emu.Str()};
    CVelmoraView m_view{m_frame, m_runner, m_snapshots};
};

TEST_F(ListViewTest, FillsItselfFromTheEmulatorAndStartsGamesThroughTheFrame) {
    test::WriteBytes(m_emu.File("cfg/Velmora002.cfg"), "--x=1\r\n");
    m_view.OnInitialUpdate();
    ASSERT_EQ(m_view.RowCount(), 12);
    EXPECT_EQ(m_view.RowGameNumber(1), 2);
    EXPECT_EQ(m_view.RowImage(1), kConfigured);
    EXPECT_EQ(m_view.RowImage(0), kNotConfigured);
    EXPECT_NE(m_frame.HelpText().find("[--renderer=FILE]"), std::string::npos);
    EXPECT_EQ(m_frame.outputs, std::vector<std::string>{kGreetingText});

    m_view.SelectRow(1);
    m_view.StartSelectedGame();
    ASSERT_EQ(m_frame.outputs.size(), 3u);
    EXPECT_EQ(m_frame.outputs[1], "Executing ZiNc...");
    EXPECT_NE(m_frame.outputs[2].find("argv[1]=<2>\r\n"), std::string::npos) << m_frame.outputs[2];
    EXPECT_NE(m_frame.outputs[2].find("--x=1\r\n"), std::string::npos) << m_frame.outputs[2];

    m_frame.m_showOutput = 0;  // detached: the bar is cleared, nothing is waited for
    m_view.StartSelectedGame();
    EXPECT_EQ(m_frame.outputs.back(), "");
}

// A detached start that fails says so, in the words a captured start uses; the bar is
// cleared first, as for a start that works.
TEST_F(ListViewTest, DetachedStartThatFailsIsTold) {
    test::WriteBytes(m_emu.File("cfg/Velmora002.cfg"), "--x=1\r\n");
    m_view.OnInitialUpdate();
    ASSERT_EQ(m_view.RowCount(), 12);
    m_view.SelectRow(1);
    m_frame.m_showOutput = 0;

    namespace fs = std::filesystem;
    const fs::path emulator = m_emu.File("ZINC.EXE");
    const fs::path folder = m_emu.Str();
    const struct {
        const char* name;
        std::function<void()> breakIt;
        std::function<void()> mendIt;
    } cases[] = {
        {"missing emulator", [&] { fs::rename(emulator, folder / "zinc.bak"); },
         [&] { fs::rename(folder / "zinc.bak", emulator); }},
#ifndef _WIN32
        // No execute bit at all: refused to the superuser too.
        {"emulator not executable",
         [&] { fs::permissions(emulator, fs::perms::owner_read | fs::perms::owner_write); },
         [&] { fs::permissions(emulator, fs::perms::owner_all); }},
        // Windows will not move a folder away while the program has been working in it.
        {"emulator folder gone", [&] { fs::rename(folder, folder.string() + "-gone"); },
         [&] { fs::rename(folder.string() + "-gone", folder); }},
#endif
    };
    for (const auto& c : cases) {
        fs::current_path(fs::temp_directory_path());  // not the folder that may go
        c.breakIt();
        m_frame.outputs.clear();
        m_view.StartSelectedGame();
        EXPECT_EQ(m_frame.outputs, (std::vector<std::string>{"", "ZiNc refuses to run!"}))
            << c.name;
        c.mendIt();
    }
    m_frame.outputs.clear();
    m_view.StartSelectedGame();
    EXPECT_EQ(m_frame.outputs, std::vector<std::string>{""}) << "a start that works says nothing";
}

}  // namespace
}  // namespace velmora::games
