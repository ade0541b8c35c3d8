// The whole program in a throw-away emulator directory: configuring games through the dialog
// and starting them, with the stand-in emulator and the sample plugins.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "CConfigGameDlg.h"
#include "CMainFrame.h"
#include "COptionsDlg.h"
#include "COutputBar.h"
#include "CRegSnapshot.h"
#include "CVelmoraDoc.h"
#include "CVelmoraView.h"
#include "Contract.h"
#include "EmulatorDir.h"
#include "GameListModel.h"
#include "GameSnapshots.h"
#include "History.h"
#include "MainWindow.h"
#include "Profile.h"
#include "QtTestSupport.h"
#include "RegistryBackend.h"
#include "SettingsSnapshot.h"
#include "WindowTest.h"

namespace velmora::app {
namespace {

using namespace std::chrono_literals;
using config::CConfigGameDlg;

constexpr const char* kPlain = "libvelmora_renderer_plain.so";
constexpr const char* kGl = "libvelmora_renderer_gl.so";

class ConfigureAndLaunchTest : public WindowTest {
protected:
    explicit ConfigureAndLaunchTest(const std::string& parent = "My Games") : WindowTest(parent) {
        m_emu.Copy(VELMORA_RENDERER_PLAIN, kPlain);
        m_emu.Copy(VELMORA_RENDERER_GL, kGl);
        m_emu.Copy(VELMORA_NOT_RENDERER, "libvelmora_not_renderer.so");
        m_emu.Copy(VELMORA_SOUND, "sound.znc");
        qputenv("ZINC_STANDIN_GAMES", "12");  // games 1 to 12
        qputenv("VELMORA_SAMPLE_PLUGIN_AUTO", "Width=1024;TextureFolder=C:\\tex\\");
        qputenv("VELMORA_SAMPLE_PLUGIN_LOG", QByteArray::fromStdString(m_emu.File("calls.log")));
    }
    ~ConfigureAndLaunchTest() override {
        for (const char* name :
             {"VELMORA_SAMPLE_PLUGIN_AUTO", "VELMORA_SAMPLE_PLUGIN_LOG", "ZINC_STANDIN_SILENT",
              "ZINC_STANDIN_DELAY_MS", "ZINC_STANDIN_GAMES", "ZINC_STANDIN_WAIT_FOR",
              "ZINC_STANDIN_LOG", "ZINC_STANDIN_CMDLINE_LOG"}) {
            qunsetenv(name);
        }
    }

    // Opens the dialog on the selected row and hands it to `act` once it shows.
    void Configure(std::function<void(CConfigGameDlg&)> act) {
        test::ModalWatch watch([&](QWidget* modal) { Act(modal, act); }, test::IsA<CConfigGameDlg>);
        View().ConfigureSelectedGame();
    }
    static void Act(QWidget* modal, const std::function<void(CConfigGameDlg&)>& act) {
        auto* dialog = dynamic_cast<CConfigGameDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    }

    static void Choose(CConfigGameDlg& dialog, const char* renderer) {
        dialog.RendererBox()->setCurrentIndex(dialog.RendererBox()->findText(renderer));
    }
    static void Press(QWidget* dialog, const char* name) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    static void Press(CConfigGameDlg& dialog, const char* name) { Press(&dialog, name); }

    std::string File(int game, const char* suffix = ".cfg") const {
        return m_emu.File("cfg/Velmora" + emu::GameNumberText(game) + suffix);
    }
    bool Exists(const std::string& path) const { return std::filesystem::exists(path); }
    std::string Registry() {
        auto store = reg::OpenUserRegistry();
        return snapshot::ExportSnapshotText(*store).value_or("");
    }
    std::string Output() { return Frame().OutputBar()->Text(); }
};

TEST_F(ConfigureAndLaunchTest, OkWritesTheThreeFilesAndTurnsTheRowGreen) {
    const int row = Select(12);
    EXPECT_EQ(View().RowImage(row), 0);
    Configure([&](CConfigGameDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(),
                  "Configure game - " + View().RowGameText(row));
        EXPECT_EQ(dialog.m_nGame, 12);
        EXPECT_EQ(QApplication::focusWidget(), dialog.findChild<QPushButton*>("button1000"));
        EXPECT_EQ(dialog.RendererBox()->count(), 2) << "only libraries with ZN_GPUinit";
        dialog.m_strOptions = "--frame-skip=1\r\n--sound-volume=5  \r\n";
        Choose(dialog, kPlain);
        Press(dialog, "ok");
    });
    EXPECT_EQ(test::ReadBytes(File(12)),
              "--frame-skip=1\r\n--sound-volume=5\r\n--use-renderer-cfg-file=" +
                  m_emu.FramePath("cfg/Velmora012_renderer.cfg") + "\r\n--renderer=" + kPlain +
                  "\r\n");
    EXPECT_EQ(test::ReadBytes(File(12, "_renderer.cfg")), "\r\n");
    EXPECT_EQ(test::ReadBytes(File(12, "_registry.cfg")), "REGEDIT4\r\n\r\n");
    EXPECT_EQ(View().RowImage(row), 1);
}

TEST_F(ConfigureAndLaunchTest, OkKeepsTheEarlierFilesOnlyWhenAByteChanges) {
    Select(12);
    const settings::History history(m_emu.Str());
    const struct {
        const char* options;
        size_t versions;
    } oks[] = {{"--a=1", 1}, {"--a=1", 1}, {"--a=2", 2}};
    for (const auto& ok : oks) {
        const auto before = settings::ReadGameSettings(m_emu.Str(), 12);
        Configure([&](CConfigGameDlg& dialog) {
            dialog.m_strOptions = ok.options;
            Choose(dialog, kPlain);
            Press(dialog, "ok");
        });
        const std::vector<settings::StoredVersion> versions = history.Versions(12);
        ASSERT_EQ(versions.size(), ok.versions) << ok.options;
        if (before != settings::ReadGameSettings(m_emu.Str(), 12)) {
            EXPECT_EQ(versions.front().settings, before) << "the files as they were";
        }
    }
}

TEST_F(ConfigureAndLaunchTest, CancelWritesNothing) {
    const int row = Select(12);
    Configure([](CConfigGameDlg& dialog) {
        dialog.m_strOptions = "--frame-skip=2";
        Choose(dialog, kPlain);
        Press(dialog, "cancel");
    });
    EXPECT_FALSE(Exists(File(12)));
    EXPECT_FALSE(Exists(File(12, "_renderer.cfg")));
    EXPECT_FALSE(Exists(File(12, "_registry.cfg")));
    EXPECT_EQ(View().RowImage(row), 0);
}

TEST_F(ConfigureAndLaunchTest, SavedRendererSelectsByCaseInsensitivePrefix) {
    const struct {
        const char* saved;
        const char* selected;
    } cases[] = {
        {"LIBVELMORA_RENDERER", kGl},  // the first item that begins with it
        {"libVelmora_Renderer_P", kPlain},
        {"gone.so", kGl},  // no longer there: the first item
        {"", kGl},
    };
    for (const auto& c : cases) {
        test::WriteBytes(File(12), std::string("--renderer=") + c.saved + "\r\n");
        Select(12);
        Configure([&](CConfigGameDlg& dialog) {
            EXPECT_EQ(dialog.RendererBox()->currentText().toStdString(), c.selected) << c.saved;
        });
    }
}

TEST_F(ConfigureAndLaunchTest, RendererWithItsOwnDialogNeverOpensTheEditor) {
    Select(12);
    Configure([&](CConfigGameDlg& dialog) {
        Choose(dialog, kGl);
        Press(dialog, "button1002");  // the plugin's own dialog: automatic under test
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        Press(dialog, "ok");
    });
    EXPECT_EQ(test::ReadBytes(File(12)), std::string("\r\n--renderer=") + kGl + "\r\n");
    EXPECT_NE(test::ReadBytes(m_emu.File("calls.log")).find("GPUconfigure"), std::string::npos);
    // The snapshot holds what the plugin stored.
    const std::string saved = test::ReadBytes(File(12, "_registry.cfg"));
    EXPECT_NE(saved.find("\"Width\"=dword:00000400\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"TextureFolder\"=\"C:\\\\tex\\\\\"\r\n"), std::string::npos) << saved;
}

TEST_F(ConfigureAndLaunchTest, RendererWithoutItsOwnDialogOpensTheEditor) {
    Select(12);
    Configure([&](CConfigGameDlg& dialog) {
        Choose(dialog, kPlain);
        test::ModalWatch editor([](QWidget* modal) {
            auto* options = dynamic_cast<config::CRendererOptionsDlg*>(modal);
            ASSERT_NE(options, nullptr);
            modal->close();
        });
        Press(dialog, "button1002");
    });
}

TEST_F(ConfigureAndLaunchTest, NoRendererWritesOnlyTheRendererFileAndSnapshot) {
    for (const char* name : {kPlain, kGl}) {
        std::filesystem::remove(m_emu.File(name));
    }
    const int row = Select(12);
    Configure([](CConfigGameDlg& dialog) {
        EXPECT_EQ(dialog.RendererBox()->count(), 0);
        Press(dialog, "button1002");  // nothing to configure, nothing happens
        Press(dialog, "ok");
    });
    EXPECT_FALSE(Exists(File(12)));
    EXPECT_EQ(test::ReadBytes(File(12, "_renderer.cfg")), "\r\n");
    EXPECT_TRUE(Exists(File(12, "_registry.cfg")));
    EXPECT_EQ(View().RowImage(row), 0);
}

TEST_F(ConfigureAndLaunchTest, SoundButtonNeedsSoundZncWithItsEntry) {
    Select(12);
    Configure([](CConfigGameDlg& dialog) { EXPECT_TRUE(dialog.SoundButton()->isEnabled()); });
#ifdef _WIN32
    GTEST_SKIP() << "under Wine the sample sound.znc, a DLL with a static Qt of its own, cannot "
                    "be overwritten once it has been loaded and freed";
#endif
    std::filesystem::copy_file(VELMORA_RENDERER_PLAIN, m_emu.File("sound.znc"),
                               std::filesystem::copy_options::overwrite_existing);
    Configure([](CConfigGameDlg& dialog) { EXPECT_FALSE(dialog.SoundButton()->isEnabled()); });
    std::filesystem::remove(m_emu.File("sound.znc"));
    Configure([](CConfigGameDlg& dialog) { EXPECT_FALSE(dialog.SoundButton()->isEnabled()); });
}

TEST_F(ConfigureAndLaunchTest, CapturedLaunchShowsWhatTheEmulatorWasGiven) {
    test::WriteBytes(File(7), "--frame-skip=1\r\n--renderer=x.so\r\n");
    const int row = Select(7);
    ASSERT_GE(row, 0);
    QTest::keyClick(View().viewport(), Qt::Key_Return);  // Return starts the selected game
    const std::string options = m_emu.FramePath("cfg/Velmora007.cfg");
    EXPECT_EQ(Output(),
              "ZiNc stand-in\r\nargc=3\r\nargv[1]=<7>\r\n"
              "argv[2]=<--use-config-file=" +
                  options + ">\r\ncwd=<" + m_emu.FrameDir() + ">\r\noptions from " + options +
                  ":\r\n--frame-skip=1\r\n--renderer=x.so\r\n");
}

TEST_F(ConfigureAndLaunchTest, FourDigitGamesKeepTheirDigits) {
    qunsetenv("ZINC_STANDIN_GAMES");  // the emulator's own list has four-digit games
    test::WriteBytes(File(9999), "x");
    Select(9999);
    View().StartSelectedGame();
    EXPECT_NE(Output().find("argv[1]=<9999>\r\nargv[2]=<--use-config-file=" +
                            m_emu.FramePath("cfg/Velmora9999.cfg") + ">"),
              std::string::npos)
        << Output();
}

TEST_F(ConfigureAndLaunchTest, LaunchRestoresTheGamesPluginSettingsFirst) {
    test::WriteBytes(File(7), "x");
    test::WriteBytes(File(7, "_registry.cfg"),
                     "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro\\"
                     "Renderer]\r\n\"Width\"=dword:00000280\r\n");
    {
        auto store = reg::OpenUserRegistry();
        ASSERT_TRUE(store &&
                    snapshot::RestoreSnapshotText(*store,
                                                  "[HKEY_CURRENT_USER\\Software\\Vision Thing\\"
                                                  "PSEmu Pro\\Other]\r\n\"Stale\"=dword:1\r\n"));
    }
    ASSERT_NE(Registry().find("\"Stale\"=dword:00000001"), std::string::npos) << Registry();
    Select(7);
    View().StartSelectedGame();
    EXPECT_EQ(Registry(),
              "REGEDIT4\r\n\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\"
              "PSEmu Pro\\Renderer]\r\n\"Width\"=dword:00000280\r\n");
}

TEST_F(ConfigureAndLaunchTest, CapturedLaunchReportsWhatWentWrong) {
    test::WriteBytes(File(7), "x");
    Select(7);
    qputenv("ZINC_STANDIN_SILENT", "1");
    View().StartSelectedGame();
    EXPECT_EQ(Output(), "");

    std::filesystem::remove(m_emu.File("ZINC.EXE"));
    View().StartSelectedGame();
    EXPECT_EQ(Output(), "ZiNc refuses to run!");
}

TEST_F(ConfigureAndLaunchTest, WindowStaysAliveWhileACapturedGameRuns) {
    test::WriteBytes(File(7), "x");
    Select(7);
    // The emulator ends only when the test says so, after it has seen the window at work.
    const std::string gate = m_emu.File("gate");
    qputenv("ZINC_STANDIN_WAIT_FOR", QByteArray::fromStdString(gate));
    bool painted = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (Output() == "Executing ZiNc..." &&
            Frame().OutputBar()->Edit()->toPlainText() == "Executing ZiNc...") {
            painted = true;  // timers and painting run during the wait
            poll.stop();
            test::WriteBytes(gate, "");
        }
    });
    poll.start(1);
    View().StartSelectedGame();
    EXPECT_TRUE(painted);
    EXPECT_NE(Output().find("argv[1]=<7>"), std::string::npos);
}

TEST_F(ConfigureAndLaunchTest, DetachedLaunchClearsTheBarAndReturnsAtOnce) {
    test::WriteBytes(File(7), "x");
    Select(7);
    Frame().OnToggleOutput();
    const std::string gate = m_emu.File("gate");
    const std::string log = m_emu.File("runs.log");
    qputenv("ZINC_STANDIN_WAIT_FOR", QByteArray::fromStdString(gate));
    qputenv("ZINC_STANDIN_LOG", QByteArray::fromStdString(log));
    View().StartSelectedGame();  // returns while the emulator waits for the gate
    EXPECT_EQ(Output(), "");
    test::WriteBytes(gate, "");
    EXPECT_TRUE(
        test::WaitUntil([&] { return test::ReadBytes(log).find("end 7 ") != std::string::npos; }));
    EXPECT_EQ(test::ReadBytes(log).find("end"), test::ReadBytes(log).find("end 7 "))
        << "the game ended only after Velmora went on: " << test::ReadBytes(log);
}

TEST_F(ConfigureAndLaunchTest, UnconfiguredGameAsksAndNeverStarts) {
    const int row = Select(7);
    Frame().SetOutputText("before");
    {
        test::MessageBoxAnswer box(QMessageBox::No);
        View().StartSelectedGame();
        ASSERT_TRUE(box.Shown());
        EXPECT_EQ(box.title, "Velmora");
        EXPECT_EQ(box.text, "This game is not configured yet! Start the game configuration?");
    }
    EXPECT_EQ(Output(), "before");
    EXPECT_EQ(View().RowImage(row), 0);

    // Yes: the dialog opens; configuring there still starts nothing.
    {
        test::MessageBoxAnswer box(QMessageBox::Yes);
        test::ModalWatch dialog(
            [](QWidget* modal) {
                Act(modal, [](CConfigGameDlg& configure) {
                    Choose(configure, kPlain);
                    Press(configure, "ok");
                });
            },
            test::IsA<CConfigGameDlg>);
        View().StartSelectedGame();
    }
    EXPECT_EQ(View().RowImage(row), 1);
    EXPECT_EQ(Output(), "before");
}

TEST_F(ConfigureAndLaunchTest, EightBitOptionsComeBackByteForByte) {
    // Windows-1252 letters and a lone line feed, through the editor's OK and the dialog's OK.
    const std::string options = "--title=Caf\xe9\n--deg=20\xb0\r\n--x=1";
    test::WriteBytes(File(12), options + "\r\n--renderer=" + kPlain + "\r\n");
    Select(12);
    Configure([&](CConfigGameDlg& dialog) {
        test::ModalWatch editor([](QWidget* modal) { Press(modal, "ok"); },
                                test::IsA<config::CMainEmuOptionsDlg>);
        Press(dialog, "button1000");
        ASSERT_TRUE(editor.Seen());
        Press(dialog, "ok");
    });
    EXPECT_EQ(test::ReadBytes(File(12)),
              options + "\r\n--use-renderer-cfg-file=" +
                  emu::RendererOptionsFile(Frame().EmulatorDirectory(), 12) +
                  "\r\n--renderer=" + kPlain + "\r\n");
}

TEST_F(ConfigureAndLaunchTest, PluginAndFileNamesKeepTheirBytes) {
    const std::string name = "r\xe9nder.so";  // Windows-1252, not UTF-8
    m_emu.Copy(VELMORA_RENDERER_PLAIN, name);
    test::WriteBytes(m_emu.File("cfg/Caf\xe9.cfg"), "x");
    test::WriteBytes(m_emu.File("cfg/Velmora007.cfg\xff"), "x");
    const int row = Select(12);
    Configure([&](CConfigGameDlg& dialog) {
        const int item = dialog.RendererBox()->findText(QString::fromUtf8("r\xc3\xa9nder.so"));
        ASSERT_GE(item, 0) << "listed, and shown with its letter";
        dialog.RendererBox()->setCurrentIndex(item);
        Press(dialog, "ok");
    });
    EXPECT_NE(test::ReadBytes(File(12)).find("\r\n--renderer=" + name + "\r\n"), std::string::npos)
        << test::ReadBytes(File(12));
    EXPECT_EQ(View().RowImage(row), 1);
    Configure([&](CConfigGameDlg& dialog) {
        EXPECT_EQ(dialog.RendererBox()->currentText(), QString::fromUtf8("r\xc3\xa9nder.so"))
            << "the stored name matches by its bytes";
    });
}

TEST_F(ConfigureAndLaunchTest, GameNamesShowTheirLetters) {
    games::GameListModel model;
    model.SetListing("14 Caf\xe9 (France) [x]\r\n15 Caf\xc3\xa9 [y]\r\n",
                     [](int) { return false; });
    const auto shown = [&](int row) { return model.data(model.index(row, 0), Qt::DisplayRole); };
    EXPECT_EQ(shown(0).toString(), QString::fromUtf8("14 Caf\xc3\xa9 "));
#ifndef _WIN32  // Windows reads every name in its ANSI code page, UTF-8 or not
    EXPECT_EQ(shown(1).toString(), QString::fromUtf8("15 Caf\xc3\xa9 "));
#endif
    EXPECT_EQ(model.GameText(0), "14 Caf\xe9 ");

    // A name that ends in a byte that could begin a UTF-8 character is Windows-1252 too.
    for (const char* text : {"14 Caf\xe9 ", "15 Caf\xe9"}) {
        CConfigGameDlg dialog(Frame().EmulatorDirectory(), Frame().HelpText(), m_snapshots,
                              &Frame());
        dialog.m_strItemText = text;
        dialog.m_nGame = emu::LeadingNumber(text);
        test::ModalWatch watch([&](QWidget* modal) {
            EXPECT_EQ(modal->windowTitle(),
                      QStringLiteral("Configure game - ") + QString::fromLatin1(text));
            modal->close();
        });
        dialog.DoModal();
    }
}

// The emulator folder lies below a folder whose name is no UTF-8, a Latin-1 "Jeux vidéo".
class EightBitFolderTest : public ConfigureAndLaunchTest {
protected:
    EightBitFolderTest() : ConfigureAndLaunchTest(test::kEightBitFolder) {}
};

TEST_F(EightBitFolderTest, ListsConfiguresAndStartsItsGames) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows path is in the ANSI code page, which maps to Unicode and back; "
                    "this spelling of it would not survive the test's own std::filesystem";
#endif
    const std::string dir = m_emu.Str();
    ASSERT_NE(dir.find("/Jeux vid\xE9o/zinc"), std::string::npos);
    {
        test::ModalWatch noBox([](QWidget* modal) {
            ADD_FAILURE() << "a box on opening: " << modal->windowTitle().toStdString();
            qobject_cast<QDialog*>(modal)->done(QDialog::Rejected);
        });
        noBox.ExpectNone();
        Frame();  // the emulator's list and help runs
    }
    ASSERT_EQ(View().RowCount(), 12);
    EXPECT_TRUE(test::WaitUntil([&] {
        return Frame().HelpText().find("[--use-config-file=FILE]") != std::string::npos;
    })) << "the help text, collected after the list";

    const int row = Select(7);
    Configure([&](CConfigGameDlg& dialog) {
        EXPECT_EQ(dialog.RendererBox()->count(), 2) << "the renderers found in the folder";
        EXPECT_TRUE(dialog.SoundButton()->isEnabled());
        dialog.m_strOptions = "--frame-skip=1";
        Choose(dialog, kPlain);
        Press(dialog, "ok");
    });
    const std::string options = dir + "/cfg/Velmora007.cfg";
    EXPECT_EQ(test::ReadBytes(File(7)), "--frame-skip=1\r\n--use-renderer-cfg-file=" + dir +
                                            "/cfg/Velmora007_renderer.cfg\r\n--renderer=" + kPlain +
                                            "\r\n");
    EXPECT_EQ(test::ReadBytes(File(7, "_renderer.cfg")), "\r\n");
    EXPECT_EQ(test::ReadBytes(File(7, "_registry.cfg")), "REGEDIT4\r\n\r\n");
    EXPECT_EQ(View().RowImage(row), 1);

    const std::string log = m_emu.File("runs.log");
    qputenv("ZINC_STANDIN_CMDLINE_LOG", QByteArray::fromStdString(log));
    QTest::keyClick(View().viewport(), Qt::Key_Return);  // a captured start
    EXPECT_EQ(test::ReadBytes(log), "cmdline=<" + dir + "/ZINC.EXE 7 --use-config-file=" + options +
                                        ">\r\ncwd=<" + dir + ">\r\n");
    EXPECT_EQ(Output(), "ZiNc stand-in\r\nargc=3\r\nargv[1]=<7>\r\nargv[2]=<--use-config-file=" +
                            options + ">\r\ncwd=<" + dir + ">\r\noptions from " + options +
                            ":\r\n" + test::ReadBytes(File(7)));
}

}  // namespace
}  // namespace velmora::app
