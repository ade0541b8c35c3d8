#pragma once
// What the pad's window tests start from: the main window of WindowTest with a game pad
// installed on a clock of the test's own, and SDL's virtual devices to press. Reading the
// pads delivers what they did at once, as the window's own timer would a moment later.

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <functional>
#include <memory>

#include "GamePad.h"
#include "QtTestSupport.h"
#include "VirtualPad.h"
#include "WindowTest.h"

namespace velmora::app {

class PadWindowTest : public WindowTest {
protected:
    PadWindowTest() {
        qputenv("ZINC_STANDIN_GAMES", "40");
        m_emu.Copy(VELMORA_RENDERER_PLAIN, "libvelmora_renderer_plain.so");
    }
    ~PadWindowTest() override {
        // A game still waiting for its gate ends now, not a minute later.
        test::WriteBytes(m_emu.File("gate"), "");
        for (const char* name : {"ZINC_STANDIN_GAMES", "ZINC_STANDIN_WAIT_FOR",
                                 "ZINC_STANDIN_IGNORE_TERM", "ZINC_STANDIN_NOTIFY"}) {
            qunsetenv(name);
        }
    }

    // Opens the window and waits until it is the active one, as a user finds it, with the
    // emulator's start-up runs done.
    CMainFrame& Frame() {
        if (!m_frame) {
            // Without a window manager on a real display nobody activates a new window.
            WindowTest::Frame().activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
            m_frame->GetActiveView()->CollectHelpText();
        }
        return *m_frame;
    }
    games::CVelmoraView& View() { return *Frame().GetActiveView(); }
    CGamePad& Pad() {
        if (m_pad == nullptr) {
            // The window may come with a pad of its own; this one, on the test's clock, takes
            // its place: two would share out SDL's events between them.
            delete Frame().findChild<CGamePad*>(QString(), Qt::FindDirectChildrenOnly);
            m_pad = InstallGamePad(Frame(), View(), m_profile, [this] { return m_now; });
            EXPECT_TRUE(m_pad->Available()) << m_pad->Error().toStdString();
        }
        return *m_pad;
    }
    // A device plugged in while Velmora runs.
    test::VirtualPad& Plug(const SDL_VirtualJoystickDesc& desc) {
        Pad();
        m_device = std::make_unique<test::VirtualPad>(desc);
        Read();
        return *m_device;
    }

    // Reads the pads and lets what they did reach the windows.
    void Read() {
        Pad().Poll();
        QCoreApplication::sendPostedEvents(m_pad, QEvent::MetaCall);
    }
    void After(int ms) {
        m_now += pad::Time(ms);
        Read();
    }
    void Tap(int button) {
        m_device->Button(button, true);
        Read();
        m_device->Button(button, false);
        Read();
    }
    void TapHat(int direction) {
        m_device->Hat(0, direction);
        Read();
        m_device->Hat(0, SDL_HAT_CENTERED);
        Read();
    }

    QWidget* Focus() const { return QApplication::focusWidget(); }
    int CurrentRow() { return View().currentIndex().row(); }
    std::string Cfg(int game) const {
        return m_emu.File("cfg/Velmora" + emu::GameNumberText(game) + ".cfg");
    }

    pad::Time m_now{0};
    CGamePad* m_pad = nullptr;
    std::unique_ptr<test::VirtualPad> m_device;
};

}  // namespace velmora::app
