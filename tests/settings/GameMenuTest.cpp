// The Game menu in a window of the test's own, driven by keys as a user drives it: Alt+G and an
// item's letter, arrows, Space, typing and Return in the dialogs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include "CCopySettingsDlg.h"
#include "CRestoreSettingsDlg.h"
#include "GameList.h"
#include "GameListModel.h"
#include "GameMenu.h"
#include "History.h"
#include "QtTestSupport.h"
#include "SettingsCopy.h"
#include "SettingsSupport.h"
#include "SettingsWrite.h"
#include "TypeToFind.h"

namespace velmora::app {
namespace {

using settings::GameSettings;

class GameMenuTest : public ::testing::Test {
protected:
    GameMenuTest() {
        m_window.menuBar()->addMenu(QStringLiteral("&Config"));
        QMenu* help = m_window.menuBar()->addMenu(QStringLiteral("&Help"));
        m_model.SetListing(
            "1 One (Japan) [a]\n2 Two [b]\n3 Three [c]\n12 Twelve [d]\n13 Caf\xE9 [e]\n",
            [](int) { return false; });
        m_view = new QTreeView(&m_window);
        m_view->setModel(&m_model);
        m_window.setCentralWidget(m_view);
        m_menu = AddGameMenu(m_window, help->menuAction(),
                             {Dir(), &m_model, [this] {
                                  const auto rows = m_view->selectionModel()->selectedRows();
                                  return rows.isEmpty() ? -1 : rows.front().row();
                              }});
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    std::string Dir() const { return m_folder.Str(); }
    int RowOf(int game) const {
        for (int row = 0; row < m_model.rowCount(); ++row) {
            if (m_model.GameNumber(row) == game) {
                return row;
            }
        }
        return -1;
    }
    void Select(int game) { m_view->setCurrentIndex(m_model.index(RowOf(game), 0)); }
    games::ImageIndex Image(int game) const { return m_model.Image(RowOf(game)); }

    // Alt+G opens the menu; `item` picks an item by its underlined letter.
    // (A closed dialog leaves no window active here; the application's own window takes the
    // activation back itself.)
    void GameMenu(Qt::Key item) {
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        QTest::keyClick(&m_window, Qt::Key_G, Qt::AltModifier);
        ASSERT_TRUE(test::WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
        QTest::keyClick(QApplication::activePopupWidget(), item);
    }
    // Every control a key can reach has a name for the screen reader.
    static void ExpectAccessibleNames(QWidget* dialog) {
        for (QWidget* widget : dialog->findChildren<QWidget*>()) {
            if (widget->isVisible() && widget->focusPolicy() != Qt::NoFocus &&
                widget->focusProxy() == nullptr && !widget->inherits("QScrollBar")) {
                EXPECT_FALSE(widget->accessibleName().isEmpty())
                    << widget->metaObject()->className() << " "
                    << widget->objectName().toStdString();
            }
        }
    }
    // Types `file` into the file dialog, as a whole path with its drive (the test's folder may
    // be named without one under Wine), and presses Return.
    static void Type(const std::string& file) {
        const QString path =
            QDir::toNativeSeparators(QFileInfo(QString::fromStdString(file)).absoluteFilePath());
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        // The name's completer, where it offers a folder's files, would take the Return.
        name->setCompleter(nullptr);
        name->selectAll();
        QTest::keyClicks(name, path);
        QTest::keyClick(name, Qt::Key_Return);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the file dialog took no " << path.toStdString();
            dialog->reject();
        }
    }

    test::Folder m_folder{"my zinc"};
    QMainWindow m_window;
    games::GameListModel m_model;
    QTreeView* m_view;
    QMenu* m_menu;
};

TEST_F(GameMenuTest, TheMenuStandsBetweenConfigAndHelpAndActsOnTheSelectedRow) {
    const QList<QAction*> menus = m_window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Game"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("&Help"));
    QStringList items;
    for (QAction* action : m_menu->actions()) {
        items << action->text();
        EXPECT_FALSE(action->isEnabled()) << "no row is selected";
    }
    EXPECT_EQ(items,
              QStringList({"&Restore earlier settings...", "&Copy settings to other games...",
                           "&Export settings...", "&Import settings...", "Re&move settings..."}));
    Select(2);
    emit m_menu->aboutToShow();
    for (QAction* action : m_menu->actions()) {
        EXPECT_TRUE(action->isEnabled());
    }
}

TEST_F(GameMenuTest, RestoreListsTheVersionsNewestFirstAndReturnRestoresTheSelectedOne) {
    const GameSettings first = test::SaveAsOk(Dir(), 12, "--first", "plain.so", "one");
    const GameSettings second = test::SaveAsOk(Dir(), 12, "--second", "gl.so", "two");
    ASSERT_TRUE(settings::History(Dir()).Keep(12, first));
    ASSERT_TRUE(settings::WriteGameSettings(Dir(), 12, {}).written);  // keeps `second`
    Select(12);
    test::ModalWatch watch([&](QWidget* modal) {
        auto* dialog = dynamic_cast<settings::CRestoreSettingsDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        ExpectAccessibleNames(dialog);
        QTreeWidget* list = dialog->Versions();
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("2"));
        EXPECT_EQ(list->topLevelItem(0)->text(2),
                  QStringLiteral("options: 1 line removed; renderer: gl.so \u2192 none; renderer "
                                 "options: 1 line removed; plugin settings: 2 values removed"));
        EXPECT_EQ(QApplication::focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(list->currentItem()->text(0), QStringLiteral("1"));
        const QString detail = dialog->Detail()->toPlainText();
        EXPECT_TRUE(
            detail.startsWith(QStringLiteral("Options:\n- --first\nRenderer: plain.so "
                                             "\u2192 none\n")))
            << detail.toStdString();
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible());
    });
    GameMenu(Qt::Key_R);
    EXPECT_EQ(test::Files(Dir(), 12), first);
    EXPECT_EQ(Image(12), games::kConfigured);
    EXPECT_EQ(settings::History(Dir()).Versions(12).front().settings, GameSettings{});
}

TEST_F(GameMenuTest, CopyTicksGamesFoundByTypingAndCopiesTheChosenParts) {
    test::SaveAsOk(Dir(), 12, "--twelve", "plain.so", "twelve");
    const GameSettings three = test::SaveAsOk(Dir(), 3, "--three", "gl.so", "three", "");
    Select(12);
    test::ModalWatch watch([&](QWidget* modal) {
        auto* dialog = dynamic_cast<settings::CCopySettingsDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        ExpectAccessibleNames(dialog);
        QListView* list = dialog->Games();
        ASSERT_EQ(QApplication::focusWidget(), list);
        const auto typed = [&](const char* text) {
            QTest::keyClicks(list, QString::fromLatin1(text));
            auto* timer =
                list->findChild<QTimer*>(QString::fromLatin1(games::TypeToFind::kResetTimerName));
            ASSERT_NE(timer, nullptr);
            ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));  // the pause between
        };
        typed("3");
        EXPECT_EQ(list->currentIndex().row(), RowOf(3));
        QTest::keyClick(list, Qt::Key_Space);
        typed("caf");
        EXPECT_EQ(list->currentIndex().row(), RowOf(13));
        QTest::keyClick(list, Qt::Key_Space);
        typed("12");
        QTest::keyClick(list, Qt::Key_Space);  // the game copied from cannot be ticked
        EXPECT_EQ(dialog->TickedGames(), (std::vector<int>{3, 13}));
        // Only the emulator options and the renderer: Tab to "Plugin settings", Space.
        auto* plugins = dialog->findChild<QCheckBox*>(QStringLiteral("pluginSettings"));
        for (int tab = 0; tab < 5 && QApplication::focusWidget() != plugins; ++tab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        ASSERT_EQ(QApplication::focusWidget(), plugins);
        QTest::keyClick(plugins, Qt::Key_Space);
        EXPECT_FALSE(plugins->isChecked());
        QTest::keyClick(plugins, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible());
    });
    GameMenu(Qt::Key_C);
    const GameSettings twelve = test::Files(Dir(), 12);
    GameSettings expected = settings::CopyFor(twelve, three, Dir(), 3, {true, true, false});
    EXPECT_EQ(test::Files(Dir(), 3), expected);
    EXPECT_EQ(test::Files(Dir(), 3)[settings::GameFile::kPluginSettings], "");
    expected = settings::CopyFor(twelve, {}, Dir(), 13, {true, true, false});
    EXPECT_EQ(test::Files(Dir(), 13), expected);
    EXPECT_EQ(Image(13), games::kConfigured);
    EXPECT_EQ(Image(1), games::kNotConfigured);
}

TEST_F(GameMenuTest, ExportAndImportGoThroughAFileDialogAndADamagedFileIsTold) {
    const GameSettings twelve = test::SaveAsOk(Dir(), 12, "--twelve", "plain.so", "twelve");
    const std::string file = m_folder.File("exported.velmora");
    Select(12);
    {
        test::ModalWatch watch([&](QWidget* modal) {
            auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(name->text(), QStringLiteral("012 Twelve.velmora"));
            Type(file);
        });
        GameMenu(Qt::Key_E);
    }
    ASSERT_TRUE(std::filesystem::exists(file));

    Select(13);
    test::WriteBytes(m_folder.File("damaged.velmora"), test::ReadBytes(file).substr(0, 100));
    {
        test::ModalWatch watch([&](QWidget*) { Type(m_folder.File("damaged.velmora")); },
                               test::IsA<QFileDialog>);
        test::MessageBoxAnswer told(QMessageBox::Ok);
        GameMenu(Qt::Key_I);
        EXPECT_TRUE(told.text.contains(QStringLiteral("It has been cut short")))
            << told.text.toStdString();
    }
    EXPECT_TRUE(test::Files(Dir(), 13).None());
    {
        test::ModalWatch watch([&](QWidget*) { Type(file); });
        GameMenu(Qt::Key_I);
    }
    EXPECT_EQ(test::Files(Dir(), 13),
              settings::CopyFor(twelve, {}, Dir(), 13, {}, settings::RendererConfiguresItself));
    EXPECT_EQ(Image(13), games::kConfigured);
}

TEST_F(GameMenuTest, RemoveAsksWithNoAsTheDefaultAndKeepsAVersion) {
    const GameSettings twelve = test::SaveAsOk(Dir(), 12, "--twelve", "plain.so", "twelve");
    m_model.SetImage(RowOf(12), games::kConfigured);
    Select(12);
    for (const Qt::Key answer : {Qt::Key_Return, Qt::Key_Y}) {
        test::ModalWatch watch([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()),
                      box->button(QMessageBox::No));
            EXPECT_TRUE(box->text().startsWith(QStringLiteral("Remove the settings of 12 Twelve?")))
                << box->text().toStdString();
            QTest::keyClick(box, answer);
        });
        GameMenu(Qt::Key_M);
        ASSERT_TRUE(test::WaitUntil([] { return QApplication::activeModalWidget() == nullptr; }));
        if (answer == Qt::Key_Return) {
            EXPECT_EQ(test::Files(Dir(), 12), twelve);
            EXPECT_EQ(Image(12), games::kConfigured);
        }
    }
    EXPECT_TRUE(test::Files(Dir(), 12).None());
    EXPECT_EQ(Image(12), games::kNotConfigured);
    EXPECT_EQ(settings::History(Dir()).Versions(12).front().settings, twelve);
}

}  // namespace
}  // namespace velmora::app
