// Finding a game by typing into the list of the real main window: the keys go to the view as
// the user presses them, and the view's own type-to-find builds the search text.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "CMainFrame.h"
#include "COutputBar.h"
#include "CVelmoraDoc.h"
#include "CVelmoraView.h"
#include "Contract.h"
#include "EmulatorDir.h"
#include "GameListModel.h"
#include "GameSnapshots.h"
#include "MainWindow.h"
#include "Profile.h"
#include "TypeToFind.h"
#include "WindowTest.h"

namespace velmora::app {
namespace {

using namespace std::chrono_literals;

// A Windows-1252 name, enough filler to scroll, and one game at the very end.
std::string Listing() {
    std::string text =
        "Games known to this build:\r\n"
        "14 Caf\xe9 Racer (France) [x]\r\n"
        "15 Night Lantern [x]\r\n"
        "21 Cyclone [x]\r\n"
        "140 Lamplighter [x]\r\n"
        "141 \x8cuvre [x]\r\n";
    for (int game = 1000; game < 1200; ++game) {
        text += std::to_string(game) + " Filler [x]\r\n";
    }
    return text + "9999 Quartz Lantern [x]\r\n";
}

class TypeToFindTest : public WindowTest {
protected:
    TypeToFindTest() {
        qputenv("ZINC_STANDIN_GAMES", "3");
        Frame();
        auto* model = static_cast<games::GameListModel*>(View().model());
        model->SetListing(Listing(), [](int game) { return game == 21; });
    }
    ~TypeToFindTest() override {
        qunsetenv("ZINC_STANDIN_GAMES");
        QApplication::setKeyboardInputInterval(m_interval);
    }

    // Presses a key for each character, as a keyboard would send it.
    void Type(const QString& text) {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, &View(), static_cast<Qt::Key>(c.toUpper().unicode()),
                                QString(c), Qt::NoModifier);
        }
    }
    void Press(Qt::Key key) { QTest::keyClick(&View(), key); }

    // The platform's keyboard input interval runs out: the type-to-find's timer fires now.
    void IntervalPasses() {
        QTimer* timer = ResetTimer();
        ASSERT_NE(timer, nullptr);
        ASSERT_TRUE(timer->isActive());
        ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
        timer->stop();
    }
    QTimer* ResetTimer() {
        return View().findChild<QTimer*>(QString::fromLatin1(games::TypeToFind::kResetTimerName));
    }

    // The game of the selected row, 0 for none; the current row must be the same.
    int SelectedGame() {
        const int row = View().GetSelectedRow();
        if (row < 0) {
            return 0;
        }
        EXPECT_EQ(View().currentIndex().row(), row);
        return emu::LeadingNumber(View().RowGameText(row));
    }

    const int m_interval = QApplication::keyboardInputInterval();
};

// The rules of the search itself are GameSearch's; here, what the view adds: the keys reach
// it as typed, from the selected row on, and the row found is selected.
TEST_F(TypeToFindTest, KeysFindFromTheSelectedRowAndSelectTheFound) {
    const struct {
        const char* what;
        int selected;   // game selected before typing, 0 for none
        QString typed;  // one key per character, within the interval
        int found;      // game selected afterwards
    } cases[] = {
        {"two keys make one number", 0, "15", 15},
        {"one key moves on from the selected row", 14, "1", 15},
        {"a key outside Latin-1, as the keyboard sends it", 0, QStringLiteral("\u0153u"), 141},
        {"nothing found: the selection stays", 15, "xq", 15},
        {"nothing found and nothing selected", 0, "xq", 0},
    };
    for (const auto& c : cases) {
        if (c.selected == 0) {
            View().SelectRow(-1);
            View().setCurrentIndex({});
        } else {
            Select(c.selected);
        }
        Type(c.typed);
        EXPECT_EQ(SelectedGame(), c.found) << c.what;
        IntervalPasses();
    }
}

TEST_F(TypeToFindTest, FoundRowIsScrolledIntoView) {
    Type("quartz");
    ASSERT_EQ(SelectedGame(), 9999);
    EXPECT_TRUE(View().viewport()->rect().contains(View().visualRect(View().currentIndex())));
}

TEST_F(TypeToFindTest, SearchTextEndsAfterTheKeyboardInputInterval) {
    QApplication::setKeyboardInputInterval(1234);
    Type("c");
    EXPECT_EQ(SelectedGame(), 14);  // Café
    ASSERT_NE(ResetTimer(), nullptr);
    EXPECT_EQ(ResetTimer()->interval(), 1234);

    IntervalPasses();
    Type("l");  // a new search: the next name starting with L
    EXPECT_EQ(SelectedGame(), 140);

    Select(14);
    IntervalPasses();
    Type("cl");  // within the interval the keys make one text, found in Cyclone
    EXPECT_EQ(SelectedGame(), 21);
}

TEST_F(TypeToFindTest, SearchesTheRowsOfANewListing) {
    Type("q");
    EXPECT_EQ(SelectedGame(), 9999);
    auto* model = static_cast<games::GameListModel*>(View().model());
    model->SetListing("3 Lantern [x]\r\n4 Quokka [x]\r\n", [](int) { return false; });
    IntervalPasses();
    Type("q");
    EXPECT_EQ(SelectedGame(), 4);
}

TEST_F(TypeToFindTest, SpaceIsNotPartOfTheSearchAndReturnStartsTheGame) {
    test::WriteBytes(m_emu.File("cfg/Velmora021.cfg"), "x");
    Type("c");
    Press(Qt::Key_Space);
    Type("y");  // "cy", found in Cyclone; "c y" would find nothing
    ASSERT_EQ(SelectedGame(), 21);
    Press(Qt::Key_Return);
    EXPECT_NE(m_frame->OutputBar()->Text().find("argv[1]=<21>"), std::string::npos)
        << m_frame->OutputBar()->Text();
}

}  // namespace
}  // namespace velmora::app
