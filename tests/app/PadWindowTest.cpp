// The window driven by a game pad alone, with SDL's virtual devices: through the real game
// list to a game, through the Configure game dialog to OK, teaching a raw stick, and ending
// a captured and a detached game with the held combination. The pad's clock is the test's.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "CConfigGameDlg.h"
#include "COutputBar.h"
#include "CPadSetupDlg.h"
#include "PadProfileStore.h"
#include "WatchedProcess.h"
#ifdef VELMORA_HAVE_SDL
#include "PadTestSupport.h"
#endif

namespace velmora::app {
namespace {

#ifndef VELMORA_HAVE_SDL
TEST(PadWindowTest, NeedsSdl) {
    GTEST_SKIP() << "Velmora is built without SDL (VELMORA_GAMEPAD=OFF)";
}
#else

using test::VirtualPad;

// Counts the keys that reach any of Velmora's widgets.
class KeyCounter : public QObject {
public:
    KeyCounter() { QApplication::instance()->installEventFilter(this); }
    ~KeyCounter() override { QApplication::instance()->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        count += event->type() == QEvent::KeyPress ? 1 : 0;
        return false;
    }
};

TEST_F(PadWindowTest, TheDpadAndTheStickMoveThroughTheListAndAStartsTheGame) {
    test::WriteBytes(Cfg(3), "--frame-skip=1\r\n");
    Plug(VirtualPad::Controller());
    const pad::Timing timing = CGamePad::KeyTiming();

    // The focus rectangle starts on the first row: Down goes to the second.
    Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(View().GetSelectedRow(), 1);
    // Held, the stick repeats as a held key does, and stops when let go.
    m_device->Axis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    Read();
    EXPECT_EQ(CurrentRow(), 2);
    After(static_cast<int>(timing.repeatDelay.count()) - 1);
    EXPECT_EQ(CurrentRow(), 2);
    After(1);
    EXPECT_EQ(CurrentRow(), 3);
    After(static_cast<int>(timing.repeatInterval.count()));
    EXPECT_EQ(CurrentRow(), 4);
    m_device->Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    After(5000);
    EXPECT_EQ(CurrentRow(), 4);
    // The shoulders turn the pages.
    Tap(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    const int paged = CurrentRow();
    EXPECT_GT(paged, 5);
    Tap(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    EXPECT_LT(CurrentRow(), paged);
    for (int i = 0; i < 40 && CurrentRow() > 2; ++i) {
        Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    }
    ASSERT_EQ(View().GetSelectedRow(), 2);

    // A is Return: the configured game starts, its output captured.
    Tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_NE(Frame().OutputBar()->Text().find("argv[1]=<3>"), std::string::npos)
        << Frame().OutputBar()->Text();
    Read();
    EXPECT_FALSE(Pad().GameRunning()) << "the game has ended: the pad drives the list again";
}

TEST_F(PadWindowTest, XConfiguresTheRowAndThePadReachesOkThere) {
    Plug(VirtualPad::Controller());
    Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    ASSERT_EQ(View().GetSelectedRow(), 1);
    test::ModalWatch watch(
        [&](QWidget* dialog) {
            ASSERT_EQ(Focus(), dialog->findChild<QPushButton*>("button1000"));
            // Down in the renderer list picks nothing here: there is one renderer.
            for (int i = 0; i < 8 && Focus()->objectName() != "ok"; ++i) {
                Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
            }
            ASSERT_EQ(Focus()->objectName().toStdString(), "ok");
            Tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
            EXPECT_EQ(Focus()->objectName().toStdString(), "button1002");
            Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
            Tap(SDL_CONTROLLER_BUTTON_A);
        },
        test::IsA<config::CConfigGameDlg>);
    Tap(SDL_CONTROLLER_BUTTON_X);
    EXPECT_TRUE(watch.Seen());
    EXPECT_NE(test::ReadBytes(Cfg(2)).find("--renderer=libvelmora_renderer_plain.so"),
              std::string::npos);
    EXPECT_EQ(View().RowImage(1), 1) << "OK turned the row green";
    EXPECT_TRUE(test::WaitUntil([&] { return Focus() == &View(); }));

    // B is Escape: the dialog closes unsaved.
    test::WriteBytes(Cfg(2), "--frame-skip=3\r\n");
    test::ModalWatch again([&](QWidget*) { Tap(SDL_CONTROLLER_BUTTON_B); },
                           test::IsA<config::CConfigGameDlg>);
    Tap(SDL_CONTROLLER_BUTTON_X);
    EXPECT_TRUE(again.Seen());
    EXPECT_EQ(test::ReadBytes(Cfg(2)), "--frame-skip=3\r\n");
}

TEST_F(PadWindowTest, ARawStickIsTaughtOnceAndThenDrivesTheList) {
    VirtualPad& stick = Plug(VirtualPad::Stick());
    Tap(3);
    EXPECT_EQ(View().GetSelectedRow(), -1) << "an untaught stick does nothing";

    const auto axisTap = [&](int value) {
        stick.Axis(0, value);
        Read();
        stick.Axis(0, 0);
        Read();
    };
    test::ModalWatch watch(
        [&](QWidget* modal) {
            auto* dialog = qobject_cast<CPadSetupDlg*>(modal);
            ASSERT_NE(dialog, nullptr);
            const auto label = [&](const char* name) {
                for (QLabel* l : dialog->findChildren<QLabel*>()) {
                    if (l->accessibleName() == QLatin1String(name)) {
                        return l->text().toStdString();
                    }
                }
                return std::string("no label ") + name;
            };
            const struct {
                std::function<void()> answer;
                const char* next;
            } steps[] = {
                {[] {}, "Press the button for Up"},
                {[&] { TapHat(SDL_HAT_UP); }, "Press the button for Down"},
                {[&] { TapHat(SDL_HAT_UP); }, "Press the button for Down"},  // taken
                {[&] { TapHat(SDL_HAT_DOWN); }, "Press the button for Page up"},
                {[&] { Tap(4); }, "Press the button for Page down"},
                {[&] { Tap(5); }, "Press the button for Start game"},
                {[&] { Tap(0); }, "Press the button for Back"},
                {[&] { Tap(1); }, "Press the button for Configure game"},
                {[&] { QTest::keyClick(Focus(), Qt::Key_Escape); },
                 "Press the button for Previous field"},
                {[&] { axisTap(-32768); }, "Press the button for Next field"},
                {[&] { axisTap(32767); }, "Hold the buttons that end a running game, then let go"},
                {[&] {
                     stick.Button(6, true);
                     stick.Button(7, true);
                     Read();
                     stick.Button(7, false);
                     Read();
                     stick.Button(6, false);
                     Read();
                 },
                 "All set"},
            };
            for (size_t i = 0; i < std::size(steps); ++i) {
                steps[i].answer();
                EXPECT_EQ(label("Question"), steps[i].next) << "step " << i;
                if (i == 2) {
                    EXPECT_EQ(label("Hint"), "hat 0 up is taken; press another.");
                }
            }
            EXPECT_EQ(label("Stick"), "Setting up: Velmora test stick");
            EXPECT_EQ(Focus(), dialog->SaveButton());
            QTest::keyClick(Focus(), Qt::Key_Return);
        },
        test::IsA<CPadSetupDlg>);
    OpenPadSetup(Frame());
    ASSERT_TRUE(watch.Seen());
    EXPECT_EQ(View().GetSelectedRow(), -1) << "teaching moved nothing in the list";

    m_settings.sync();
    EXPECT_EQ(m_settings.value(QStringLiteral("GamePad/") + QString::fromStdString(stick.Guid()))
                  .toString()
                  .toStdString(),
              "up=h0.1;down=h0.4;pageup=b4;pagedown=b5;accept=b0;back=b1;previous=a0-;next=a0+;"
              "end=b6,b7");
    // The pad drives the active window: the list's, once it has the focus back.
    ASSERT_TRUE(test::WaitUntil([&] { return Focus() == &View(); }));
    TapHat(SDL_HAT_DOWN);
    TapHat(SDL_HAT_DOWN);
    EXPECT_EQ(View().GetSelectedRow(), 2) << "taught, the stick drives the list at once";
}

// Game 2, configured, started with A, captured or detached; `whileRunning` runs inside the
// game's run, given the emulator's process once it has reached its wait.
class PadEndsGameTest : public PadWindowTest {
protected:
    void Prepare(bool captured) {
        test::WriteBytes(Cfg(2), "--frame-skip=1\r\n");
        m_profile.WriteInt(ui::kPositionSection, "ShowOutput", captured ? 1 : 0);
        Plug(VirtualPad::Controller());
        Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        ASSERT_EQ(View().GetSelectedRow(), 1);
    }
    void RunGame(const std::function<void(qint64)>& whileRunning) {
        const std::string ready = m_emu.File("ready");
        const std::string gate = m_emu.File("gate");
        std::filesystem::remove(ready);
        std::filesystem::remove(gate);
        qputenv("ZINC_STANDIN_WAIT_FOR", QByteArray::fromStdString(gate));
        qputenv("ZINC_STANDIN_NOTIFY", QByteArray::fromStdString(ready));
        bool ran = false;
        const auto connection =
            QObject::connect(&View(), &games::CVelmoraView::GameStarted, [&](qint64 processId) {
                // From the game's own event loop once the view waits in it: the captured run
                // excludes the user's input, not the pad.
                QTimer::singleShot(0, [&, processId] {
                    ran = true;
                    EXPECT_TRUE(Pad().GameRunning());
                    ASSERT_TRUE(test::WaitUntil([&] { return std::filesystem::exists(ready); }));
                    // The emulator's window has the focus while its game runs.
                    m_emulatorWindow = std::make_unique<QWidget>();
                    m_emulatorWindow->setWindowTitle(QStringLiteral("ZiNc"));
                    m_emulatorWindow->show();
                    m_emulatorWindow->activateWindow();
                    EXPECT_TRUE(QTest::qWaitForWindowActive(m_emulatorWindow.get()));
                    whileRunning(processId);
                });
            });
        Tap(SDL_CONTROLLER_BUTTON_A);
        EXPECT_TRUE(test::WaitUntil([&] { return ran; }));
        QObject::disconnect(connection);
    }
    void HoldEndCombination(bool down) {
        m_device->Button(SDL_CONTROLLER_BUTTON_START, down);
        m_device->Button(SDL_CONTROLLER_BUTTON_BACK, down);
        Read();
    }
    // Stands in for the emulator's window, for as long as the test keeps it.
    std::unique_ptr<QWidget> m_emulatorWindow;

    // Nothing else from the pad reaches Velmora's windows while the game runs.
    void ExpectPadIgnored() {
        KeyCounter keys;
        Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        Tap(SDL_CONTROLLER_BUTTON_A);
        Tap(SDL_CONTROLLER_BUTTON_X);
        EXPECT_EQ(keys.count, 0);
        EXPECT_EQ(View().GetSelectedRow(), 1);
    }
};

TEST_F(PadEndsGameTest, TheHeldCombinationEndsACapturedGamePolitelyThenForGood) {
    const struct {
        const char* name;
        int heldMs;
        bool ignoresPolitely;
    } cases[] = {
        {"a short press ends nothing", 1999, false},
        {"held 2 s, the emulator is asked to end", 2000, false},
        {"one that will not end is ended for good 3 s later", 2000, true},
    };
    Prepare(true);
    for (const auto& c : cases) {
        qputenv("ZINC_STANDIN_IGNORE_TERM", c.ignoresPolitely ? "1" : "0");
        Frame().SetOutputText("");
        RunGame([&](qint64 processId) {
            games::WatchedProcess child(processId);
            ExpectPadIgnored();
            HoldEndCombination(true);
            After(c.heldMs);
            if (c.heldMs < 2000) {
                HoldEndCombination(false);
                After(60000);
                EXPECT_TRUE(child.IsRunning()) << c.name;
                test::WriteBytes(m_emu.File("gate"), "");
                return;
            }
#ifndef _WIN32  // a console program on Windows has no window to ask
            if (!c.ignoresPolitely) {
                EXPECT_TRUE(test::WaitUntil([&] { return !child.IsRunning(); })) << c.name;
                return;
            }
#endif
            After(2999);
            EXPECT_TRUE(child.IsRunning()) << c.name;
            After(1);
            EXPECT_TRUE(test::WaitUntil([&] { return !child.IsRunning(); })) << c.name;
        });
        m_emulatorWindow.reset();  // gone with its game
        // The run is over: its output is in the bar, the window has the focus, the row stays.
        EXPECT_NE(Frame().OutputBar()->Text().find("argv[1]=<2>"), std::string::npos) << c.name;
        Read();
        EXPECT_FALSE(Pad().GameRunning()) << c.name;
        if (c.heldMs >= 2000) {
            EXPECT_TRUE(test::WaitUntil([&] { return QApplication::activeWindow() == &Frame(); }))
                << c.name << ": the focus is back";
        } else {
            Frame().activateWindow();  // as the desktop does when a program ends
            EXPECT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        }
        EXPECT_EQ(View().GetSelectedRow(), 1) << c.name;
        // The combination still held starts nothing: Start is also A's Return.
        KeyCounter keys;
        HoldEndCombination(false);
        After(5000);
        EXPECT_EQ(keys.count, 0) << c.name;
    }
}

TEST_F(PadEndsGameTest, TheHeldCombinationEndsADetachedGame) {
    Prepare(false);
    qint64 game = 0;
    RunGame([&](qint64 processId) { game = processId; });
    ASSERT_NE(game, 0);
    games::WatchedProcess child(game);
    ASSERT_TRUE(child.IsRunning());
    ExpectPadIgnored();
    // Down held along with the combination: it goes on being held once the game is over.
    m_device->Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    HoldEndCombination(true);
    After(2000);
#ifdef _WIN32  // a console program on Windows has no window to ask
    After(3000);
#endif
    EXPECT_TRUE(test::WaitUntil([&] { return !child.IsRunning(); }));
    EXPECT_TRUE(test::WaitUntil([&] {
        Read();
        return !Pad().GameRunning();
    }));
    EXPECT_TRUE(test::WaitUntil([&] { return QApplication::activeWindow() == &Frame(); }))
        << "the focus is back";
    After(5000);
    EXPECT_EQ(View().GetSelectedRow(), 1) << "what was held for the game moves nothing";
    m_device->Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    HoldEndCombination(false);
    Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(View().GetSelectedRow(), 2) << "the game is over: the pad drives the list again";
}

#endif

}  // namespace
}  // namespace velmora::app
