// "Velmora --start" of a game that is not configured, and "Velmora --configure", in the test's
// own process so that the question box and the dialog can be answered as a user would.

#include <gtest/gtest.h>

#include <QPushButton>
#include <chrono>
#include <filesystem>
#include <string>

#include "CConfigGameDlg.h"
#include "CommandModes.h"
#include "Contract.h"
#include "EmulatorDir.h"
#include "GameSnapshots.h"
#include "Platform.h"
#include "ProcessRunner.h"
#include "QtTestSupport.h"

namespace velmora::app {
namespace {

using namespace std::chrono_literals;
using config::CConfigGameDlg;

class CommandModesTest : public ::testing::Test {
protected:
    CommandModesTest()
        : m_plain(std::filesystem::path(VELMORA_RENDERER_PLAIN).filename().string()),
          m_dir(platform::EmulatorDirectoryFor(m_emu.Executable())),
          m_snapshots(m_dir),
          m_runner(0ms),
          m_context{m_emu.Executable(), m_dir,    emu::EmulatorPath(m_dir),
                    m_snapshots,        m_runner, true} {
        m_emu.Copy(VELMORA_RENDERER_PLAIN, m_plain);
        qputenv("ZINC_STANDIN_CMDLINE_LOG", QByteArray::fromStdString(Log()));
    }
    ~CommandModesTest() override { qunsetenv("ZINC_STANDIN_CMDLINE_LOG"); }

    std::string Log() const { return m_emu.File("runs.log"); }
    std::string File(int game, const char* suffix = ".cfg") const {
        return m_emu.File("cfg/Velmora" + emu::GameNumberText(game) + suffix);
    }
    bool GameStarted(int game) const {
        std::string launch = std::to_string(game);
        launch += " --use-config-file=";
        return test::ReadBytes(Log()).find(launch) != std::string::npos;
    }

    // Runs `mode` while `act` handles the Configure game dialog once it shows.
    template <typename Mode>
    int WithDialog(Mode mode, const std::function<void(CConfigGameDlg&)>& act) {
        test::ModalWatch watch(
            [&](QWidget* modal) {
                auto* dialog = dynamic_cast<CConfigGameDlg*>(modal);
                act(*dialog);
                if (dialog->isVisible()) {
                    dialog->reject();
                }
            },
            test::IsA<CConfigGameDlg>);
        return mode();
    }
    static void Press(QWidget* dialog, const char* name) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton);
    }

    test::EmulatorDir m_emu;
    std::string m_plain;
    std::string m_dir;
    snapshot::GameSnapshots m_snapshots;
    games::ProcessRunner m_runner;
    ModeContext m_context;
};

TEST_F(CommandModesTest, UnconfiguredStartAsksAndStartsNothingOnNo) {
    test::MessageBoxAnswer answer(QMessageBox::No);
    EXPECT_EQ(StartGame(m_context, 5), 1);
    EXPECT_TRUE(answer.Shown());
    EXPECT_EQ(answer.text, "This game is not configured yet! Start the game configuration?");
    EXPECT_EQ(answer.title, QApplication::applicationName());
    EXPECT_FALSE(GameStarted(5));
    EXPECT_FALSE(std::filesystem::exists(File(5)));
}

TEST_F(CommandModesTest, UnconfiguredStartOnYesOpensTheDialogButStartsNothing) {
    test::MessageBoxAnswer answer(QMessageBox::Yes);
    QString caption;
    const int status = WithDialog([&] { return StartGame(m_context, 5); },
                                  [&](CConfigGameDlg& dialog) {
                                      caption = dialog.windowTitle();
                                      Press(&dialog, "ok");
                                  });
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(answer.Shown());
    EXPECT_EQ(caption, "Configure game - 5 Copperline Express ");
    EXPECT_TRUE(std::filesystem::exists(File(5))) << "configured now";
    EXPECT_FALSE(GameStarted(5)) << "but started only when asked again";
}

TEST_F(CommandModesTest, ConfigureExitsWithZeroOnOkAndOneOnCancel) {
    const struct {
        const char* button;
        int status;
        bool written;
    } cases[] = {{"cancel", 1, false}, {"ok", 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        QString caption;
        const int status = WithDialog([&] { return ConfigureGame(m_context, 1234); },
                                      [&](CConfigGameDlg& dialog) {
                                          caption = dialog.windowTitle();
                                          EXPECT_EQ(dialog.m_nGame, 1234);
                                          Press(&dialog, c.button);
                                      });
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(caption, "Configure game - 1234 Mapleshade Manor ");
        EXPECT_EQ(std::filesystem::exists(File(1234)), c.written);
        EXPECT_EQ(std::filesystem::exists(File(1234, "_registry.cfg")), c.written);
    }
}

TEST_F(CommandModesTest, ConfigureExitsWithOneWhenOkCouldNotSave) {
    std::filesystem::create_directories(File(1234));  // a folder where the options file goes
    test::MessageBoxAnswer warning(QMessageBox::Ok);
    const int status = WithDialog([&] { return ConfigureGame(m_context, 1234); },
                                  [&](CConfigGameDlg& dialog) { Press(&dialog, "ok"); });
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(warning.Shown());
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
}

TEST_F(CommandModesTest, ConfigureOfAGameTheListLacksOpensNothing) {
    test::ModalWatch none(
        [](QWidget* modal) {
            ADD_FAILURE() << "a window opened";
            modal->close();
        },
        {}, 1000);
    none.ExpectNone();
    EXPECT_EQ(ConfigureGame(m_context, 4), 1);
    EXPECT_FALSE(std::filesystem::exists(File(4)));
}

}  // namespace
}  // namespace velmora::app
