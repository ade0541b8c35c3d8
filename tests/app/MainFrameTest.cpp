#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QTest>

#include "CMainFrame.h"
#include "COutputBar.h"
#include "CVelmoraDoc.h"
#include "CVelmoraView.h"
#include "EmulatorDir.h"
#include "GameSnapshots.h"
#include "MainWindow.h"
#include "Profile.h"
#include "QtTestSupport.h"
#include "WindowTest.h"

namespace velmora::app {
namespace {

using namespace std::chrono_literals;

class MainFrameTest : public WindowTest {
protected:
    MainFrameTest() {}

    QVariant Stored(const char* key) {
        m_settings.sync();
        return m_settings.value(QStringLiteral("Position/") + key);
    }
    void Store(const char* key, int value) {
        m_settings.setValue(QStringLiteral("Position/") + key, value);
    }
};

TEST_F(MainFrameTest, FirstRunOpensWithDefaults) {
    auto frame = Open();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->windowTitle(), "A small ZiNc frontend - Velmora");
    EXPECT_EQ(frame->pos(), QPoint(100, 100));
    EXPECT_TRUE(test::WaitUntil([&] { return frame->frameGeometry().size() == QSize(515, 480); }))
        << "the outer size";
    EXPECT_FALSE(frame->isMaximized());
    EXPECT_TRUE(frame->OutputBar()->isVisible());
    EXPECT_TRUE(frame->Action(CMainFrame::kShowOutput)->isChecked());
    EXPECT_EQ(frame->OutputBar()->Text(), games::kGreetingText);
    EXPECT_EQ(frame->EmulatorDirectory(), m_emu.FrameDir());
    EXPECT_EQ(frame->EmulatorPath(), m_emu.FramePath("ZINC.EXE"));
    // The help text comes in once the event loop runs, with nobody asking for it.
    EXPECT_TRUE(test::WaitUntil(
        [&] { return frame->HelpText().find("[--renderer=FILE]") != std::string::npos; }));
}

TEST_F(MainFrameTest, ClosingWritesPlacementAndRestoresIt) {
    QSize outer;
    {
        auto frame = Open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        frame->move(40, 30);
        frame->resize(600, 400);
        frame->GetActiveView()->setColumnWidth(1, 77);
        ASSERT_TRUE(test::WaitUntil([&] { return frame->size() == QSize(600, 400); }));
        outer = frame->frameGeometry().size();
        frame->close();
    }
    EXPECT_EQ(Stored("x").toInt(), 40);
    EXPECT_EQ(Stored("dx").toInt(), outer.width()) << "the outer width";
    EXPECT_EQ(Stored("dy").toInt(), outer.height());
    EXPECT_EQ(Stored("Maximized").toInt(), 0);
    EXPECT_EQ(Stored("ColWid2").toInt(), 77);

    auto again = Open();
    EXPECT_EQ(again->pos(), QPoint(40, 30));
    EXPECT_TRUE(test::WaitUntil([&] { return again->frameGeometry().size() == outer; }));
    EXPECT_EQ(again->size(), QSize(600, 400));
    EXPECT_EQ(again->GetActiveView()->columnWidth(1), 77);
}

TEST_F(MainFrameTest, ClosingMaximisedWritesTheFixedRestorePlacement) {
    {
        auto frame = Open();
        frame->showMaximized();
        QApplication::processEvents();
        frame->close();
    }
    EXPECT_EQ(Stored("Maximized").toInt(), 1);
    EXPECT_EQ(Stored("x").toInt(), 10);
    EXPECT_EQ(Stored("y").toInt(), 10);
    EXPECT_EQ(Stored("dx").toInt(), 610);
    EXPECT_EQ(Stored("dy").toInt(), 450);
    auto again = Open();
    EXPECT_TRUE(again->isMaximized());
}

TEST_F(MainFrameTest, ClosingMinimisedWritesOnlyTheOutputFlag) {
    for (const char* key : {"x", "y", "dx", "dy", "Maximized", "ColWid1"}) {
        Store(key, 3);
    }
    {
        auto frame = Open();
        frame->showMinimized();
        frame->OnToggleOutput();
        frame->close();
    }
    for (const char* key : {"x", "y", "dx", "dy", "Maximized", "ColWid1"}) {
        EXPECT_EQ(Stored(key).toInt(), 3) << key;
    }
    EXPECT_EQ(Stored("ShowOutput").toInt(), 0);
}

TEST_F(MainFrameTest, OddShowOutputValueSurvivesUntilToggled) {
    Store("ShowOutput", 7);
    {
        auto frame = Open();
        EXPECT_TRUE(frame->OutputBar()->isVisible());
        EXPECT_TRUE(frame->Action(CMainFrame::kShowOutput)->isChecked());
        frame->close();
    }
    EXPECT_EQ(Stored("ShowOutput").toInt(), 7);

    auto frame = Open();
    frame->Action(CMainFrame::kShowOutput)->trigger();
    EXPECT_EQ(frame->ShowOutputFlag(), 0);
    EXPECT_FALSE(frame->OutputBar()->isVisible());
    EXPECT_FALSE(frame->Action(CMainFrame::kShowOutput)->isChecked());
    frame->Action(CMainFrame::kShowOutput)->trigger();
    EXPECT_EQ(frame->ShowOutputFlag(), 1);
    EXPECT_TRUE(frame->OutputBar()->isVisible());
}

TEST_F(MainFrameTest, OutputBarSpansTheClientAreaPlusTwo) {
    auto frame = Open();
    const int editHeight = frame->OutputBar()->Edit()->height();
    frame->resize(700, 500);
    QApplication::processEvents();
    const int client = frame->ClientArea()->width();
    EXPECT_EQ(frame->OutputBar()->width(), client + 2);
    EXPECT_EQ(frame->OutputBar()->Edit()->width(), client + 2);
    EXPECT_EQ(frame->OutputBar()->Edit()->height(), editHeight);
}

TEST_F(MainFrameTest, SetOutputTextReplacesTheWholeText) {
    auto frame = Open();
    frame->SetOutputText("one\r\ntwo");
    frame->SetOutputText("three");
    EXPECT_EQ(frame->OutputBar()->Text(), "three");
    EXPECT_EQ(frame->OutputBar()->Edit()->toPlainText(), "three");
    frame->SetOutputText("");
    EXPECT_EQ(frame->OutputBar()->Edit()->toPlainText(), "");
}

TEST_F(MainFrameTest, ListShowsEveryGameWithItsConfiguredImage) {
    test::WriteBytes(m_emu.File("cfg/Velmora002.cfg"), "x");
    auto frame = Open();
    games::CVelmoraView* view = frame->GetActiveView();
    EXPECT_GE(view->RowCount(), 70);
    int configured = 0;
    for (int row = 0; row < view->RowCount(); ++row) {
        const int game = emu::LeadingNumber(view->RowGameText(row));
        EXPECT_EQ(view->RowImage(row), game == 2 ? 1 : 0) << game;
        configured += view->RowImage(row);
    }
    EXPECT_EQ(configured, 1);
    EXPECT_EQ(view->model()->headerData(2, Qt::Horizontal).toString(), "Infos");
    EXPECT_EQ(view->columnWidth(0), 204);
}

TEST_F(MainFrameTest, MenuCommandsFollowTheSelection) {
    auto frame = Open();
    games::CVelmoraView* view = frame->GetActiveView();
    EXPECT_EQ(view->GetSelectedRow(), -1);
    EXPECT_FALSE(frame->Action(CMainFrame::kStartGame)->isEnabled());
    EXPECT_FALSE(frame->Action(CMainFrame::kConfigureGame)->isEnabled());
    view->SelectRow(3);
    EXPECT_EQ(view->GetSelectedRow(), 3);
    EXPECT_TRUE(frame->Action(CMainFrame::kStartGame)->isEnabled());
    EXPECT_TRUE(frame->Action(CMainFrame::kConfigureGame)->isEnabled());
    view->clearSelection();
    EXPECT_FALSE(frame->Action(CMainFrame::kStartGame)->isEnabled());
}

TEST(MissingEmulator, ShowsTheMessageAndAnEmptyList) {
    test::EmulatorDir emu(/*withEmulator=*/false);
    QSettings settings(QString::fromStdString(emu.ProfileFile()), QSettings::IniFormat);
    ui::CProfile profile(settings);
    CVelmoraDoc doc;
    doc.OnNewDocument();
    games::ProcessRunner runner(0ms);
    snapshot::GameSnapshots snapshots(emu.Str());
    test::MessageBoxAnswer seen(QMessageBox::Ok);
    auto frame = OpenMainWindow(emu.Executable(), profile, snapshots, runner, doc);
    ASSERT_TRUE(seen.Shown());
    EXPECT_EQ(seen.title, "Error");
    EXPECT_EQ(seen.text, "Could not find ZINC.EXE!");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(frame->GetActiveView()->RowCount(), 0);
    EXPECT_EQ(frame->HelpText(), "");
    EXPECT_EQ(frame->OutputBar()->Text(), games::kGreetingText);
}

}  // namespace
}  // namespace velmora::app
