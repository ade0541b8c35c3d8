// The window driven by a user who never touches the mouse: the list holds the focus, keys
// select rows, the menu opens with Alt, and every dialog hands the focus back to the list.

#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "CConfigGameDlg.h"
#include "CMainFrame.h"
#include "COptionsDlg.h"
#include "COutputBar.h"
#include "CVelmoraDoc.h"
#include "CVelmoraView.h"
#include "Contract.h"
#include "EmulatorDir.h"
#include "GameSnapshots.h"
#include "MainWindow.h"
#include "Profile.h"
#include "QtTestSupport.h"
#include "WindowTest.h"

namespace velmora::app {
namespace {

using namespace std::chrono_literals;
using config::CConfigGameDlg;

class KeyboardTest : public WindowTest {
protected:
    KeyboardTest() { qputenv("ZINC_STANDIN_GAMES", "40"); }
    ~KeyboardTest() override {
        for (const char* name :
             {"ZINC_STANDIN_GAMES", "ZINC_STANDIN_LOG", "ZINC_STANDIN_WAIT_FOR"}) {
            qunsetenv(name);
        }
    }

    // Opens the window and waits until it is the active one, as a user finds it.
    CMainFrame& Frame() {
        if (!m_frame) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&WindowTest::Frame()));
        }
        return *m_frame;
    }
    games::CVelmoraView& View() { return *Frame().GetActiveView(); }
    QWidget* Focus() const { return QApplication::focusWidget(); }

    // A key goes where the user's keys go: to the focus.
    void Key(Qt::Key key) {
        Frame();
        QWidget* focus = Focus();
        ASSERT_NE(focus, nullptr) << "nothing has the keyboard focus";
        QTest::keyClick(focus, key);
    }
    // Alt+C opens the Config menu; `item` picks an item by its underlined letter.
    void ConfigMenu(Qt::Key item) {
        QTest::keyClick(&Frame(), Qt::Key_C, Qt::AltModifier);
        ASSERT_TRUE(test::WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
        QTest::keyClick(QApplication::activePopupWidget(), item);
    }
    int CurrentRow() { return View().currentIndex().row(); }
    std::string Output() { return Frame().OutputBar()->Text(); }
    std::string File(int game) const {
        return m_emu.File("cfg/Velmora" + emu::GameNumberText(game) + ".cfg");
    }
};

TEST_F(KeyboardTest, KeysSelectTheRowTheyLandOn) {
    const int last = View().RowCount() - 1;
    ASSERT_EQ(Focus(), &View()) << "the list has the focus from the start";
    EXPECT_EQ(View().GetSelectedRow(), -1);

    // PageUp and PageDown land on the row one viewport's height above or below, within the
    // list: with 40 rows and a page of about 20, no other key lands there.
    const int rowHeight = View().visualRect(View().model()->index(0, 0)).height();
    ASSERT_GT(rowHeight, 0);
    const auto pageFrom = [&](int row, int direction) {
        const int y = row * rowHeight + direction * View().viewport()->height();
        const int landed = (y >= 0 ? y : y - rowHeight + 1) / rowHeight;
        return std::clamp(landed, 0, last);
    };
    const int pageUp = pageFrom(last - 1, -1);
    const struct {
        Qt::Key key;
        int selected;
    } steps[] = {
        // The focus rectangle already sits on the first row: the first key still selects it.
        {Qt::Key_Home, 0},      {Qt::Key_Down, 1},        {Qt::Key_End, last},
        {Qt::Key_Up, last - 1}, {Qt::Key_PageUp, pageUp}, {Qt::Key_PageDown, pageFrom(pageUp, 1)},
        {Qt::Key_Home, 0},
    };
    for (const auto& step : steps) {
        Key(step.key);
        EXPECT_EQ(CurrentRow(), step.selected) << step.key;
        EXPECT_EQ(View().GetSelectedRow(), step.selected) << step.key;
        EXPECT_TRUE(Frame().Action(CMainFrame::kStartGame)->isEnabled());
        EXPECT_TRUE(Frame().Action(CMainFrame::kConfigureGame)->isEnabled());
    }
}

TEST_F(KeyboardTest, HomeAltCCConfiguresThenDownReturnStarts) {
    test::WriteBytes(File(2), "--frame-skip=1\r\n");  // the second row is configured
    Key(Qt::Key_Home);
    {
        QString title;
        test::ModalWatch dialog(
            [&](QWidget* modal) {
                title = modal->windowTitle();
                QTest::keyClick(modal->findChild<QPushButton*>("cancel"), Qt::Key_Space);
            },
            test::IsA<CConfigGameDlg>);
        ConfigMenu(Qt::Key_C);
        ASSERT_TRUE(dialog.Seen());
        EXPECT_EQ(title.toStdString(), "Configure game - " + View().RowGameText(0));
    }
    EXPECT_TRUE(test::WaitUntil([&] { return Focus() == &View(); })) << Focus();

    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_NE(Output().find("argv[1]=<2>"), std::string::npos) << Output();
}

TEST_F(KeyboardTest, ReturnOnAnUnconfiguredRowAsks) {
    Key(Qt::Key_Down);  // the focus rectangle starts on the first row: Down goes to the second
    test::MessageBoxAnswer box(QMessageBox::No);
    Key(Qt::Key_Return);
    EXPECT_TRUE(box.Shown());
    EXPECT_TRUE(test::WaitUntil([&] { return Focus() == &View(); })) << Focus();
}

TEST_F(KeyboardTest, EveryDialogHandsTheFocusBackToTheList) {
    auto closeIt = [](QWidget* modal) { modal->close(); };
    const struct {
        const char* name;
        std::function<void()> open;
    } dialogs[] = {
        {"About",
         [&] {
             test::ModalWatch about(closeIt);
             Frame().Action(CMainFrame::kAppAbout)->trigger();
         }},
        {"Configure game",
         [&] {
             test::ModalWatch configure(closeIt, test::IsA<CConfigGameDlg>);
             ConfigMenu(Qt::Key_C);
         }},
        {"main emu editor",
         [&] {
             test::ModalWatch configure(
                 [&](QWidget* modal) {
                     test::ModalWatch editor(closeIt, test::IsA<config::CMainEmuOptionsDlg>);
                     QTest::keyClick(modal->findChild<QPushButton*>("button1000"), Qt::Key_Space);
                     modal->close();
                 },
                 test::IsA<CConfigGameDlg>);
             ConfigMenu(Qt::Key_C);
         }},
    };
    Key(Qt::Key_Home);
    for (const auto& dialog : dialogs) {
        Key(Qt::Key_Tab);  // away from the list, to the output bar
        ASSERT_NE(Focus(), &View());
        dialog.open();
        EXPECT_TRUE(test::WaitUntil([&] { return Focus() == &View(); })) << dialog.name;
    }
}

TEST_F(KeyboardTest, OutputBarIsReachableWithTab) {
    Frame();
    ASSERT_EQ(Focus(), &View());
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focus(), Frame().OutputBar()->Edit());
}

TEST_F(KeyboardTest, TheEmulatorRunsOneAtATimeAtStartUp) {
    const std::string log = m_emu.File("runs.log");
    const std::string gate = m_emu.File("gate");
    qputenv("ZINC_STANDIN_LOG", QByteArray::fromStdString(log));
    // The list run goes on while the window is built, the help run while the rows are made and
    // painted. Each run waits for the gate, which opens only once Velmora waits for the list: a
    // help run started before the list run had ended would start before it ends.
    qputenv("ZINC_STANDIN_WAIT_FOR", QByteArray::fromStdString(gate));
    QTimer::singleShot(0, [&] { test::WriteBytes(gate, ""); });
    Frame();
    EXPECT_TRUE(test::WaitUntil([&] { return !Frame().HelpText().empty(); }));
    EXPECT_EQ(test::ReadBytes(log), "start --list-games\nend --list-games\nstart\nend\n");
}

}  // namespace
}  // namespace velmora::app
