// What a screen reader is told, read back through Qt's accessibility interfaces as the
// platform's bridge reads them (AT-SPI on Linux, UI Automation on Windows): the names of the
// controls, and each row's configured state in words, also after it changes.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolTip>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CConfigGameDlg.h"
#include "CMainFrame.h"
#include "COptionsDlg.h"
#include "COutputBar.h"
#include "CVelmoraView.h"
#include "Contract.h"
#include "QtTestSupport.h"
#include "WindowTest.h"

namespace velmora::app {
namespace {

using config::CConfigGameDlg;
using Names = std::vector<std::string>;

QAccessibleInterface* Accessible(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(iface, nullptr);
    return iface;
}

std::string Text(QAccessibleInterface* iface, QAccessible::Text what) {
    return iface != nullptr ? iface->text(what).toStdString() : "<no accessible>";
}

std::string Name(QObject* object) {
    return Text(Accessible(object), QAccessible::Name);
}

// The names of an accessible's children, as a screen reader lists a menu.
Names ChildNames(QObject* object) {
    Names names;
    QAccessibleInterface* iface = Accessible(object);
    for (int i = 0; iface != nullptr && i < iface->childCount(); ++i) {
        names.push_back(Text(iface->child(i), QAccessible::Name));
    }
    return names;
}

Names ButtonNames(const QWidget& dialog) {
    Names names;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        names.push_back(Name(button));
    }
    return names;
}

class AccessibilityTest : public WindowTest {
protected:
    AccessibilityTest() {
        m_emu.Copy(VELMORA_RENDERER_PLAIN, "libvelmora_renderer_plain.so");
        qputenv("ZINC_STANDIN_GAMES", "4");
        // Game 2 is configured before the window opens.
        test::WriteBytes(m_emu.File("cfg/Velmora002.cfg"),
                         "\r\n--renderer=libvelmora_renderer_plain.so\r\n");
    }
    ~AccessibilityTest() override { qunsetenv("ZINC_STANDIN_GAMES"); }

    QAccessibleInterface* Cell(int row, int column) {
        QAccessibleInterface* list = Accessible(&View());
        EXPECT_NE(list->tableInterface(), nullptr) << "the list is read as a table";
        return list->tableInterface()->cellAt(row, column);
    }
    std::string Description(int row, int column = 0) {
        return Text(Cell(row, column), QAccessible::Description);
    }
    // The tooltip the list shows with the pointer resting on the row's first cell.
    std::string ToolTip(int row) {
        const QRect cell = View().visualRect(View().model()->index(row, 0));
        QHelpEvent event(QEvent::ToolTip, cell.center(),
                         View().viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(View().viewport(), &event);
        return QToolTip::text().toStdString();
    }

    void Configure(const std::function<void(CConfigGameDlg&)>& act) {
        test::ModalWatch watch(
            [&](QWidget* modal) {
                auto* dialog = dynamic_cast<CConfigGameDlg*>(modal);
                ASSERT_NE(dialog, nullptr);
                act(*dialog);
                if (dialog->isVisible()) {
                    dialog->reject();
                }
            },
            test::IsA<CConfigGameDlg>);
        View().ConfigureSelectedGame();
    }
};

TEST_F(AccessibilityTest, EachRowSaysWhetherItsGameIsConfigured) {
    ASSERT_EQ(View().RowCount(), 4);
    for (int row = 0; row < View().RowCount(); ++row) {
        const int game = emu::LeadingNumber(View().RowGameText(row));
        const std::string words = game == 2 ? "Configured" : "Not configured";
        EXPECT_EQ(Text(Cell(row, 0), QAccessible::Name), View().RowGameText(row));
        EXPECT_EQ(Description(row), words) << "game " << game;
        EXPECT_EQ(ToolTip(row), words) << "game " << game;
        // The state belongs to the game, said once per row.
        EXPECT_EQ(Description(row, 1), "");
        EXPECT_EQ(Description(row, 2), "");
    }
}

TEST_F(AccessibilityTest, OkChangesTheWordsAtOnce) {
    const int row = Select(3);
    ASSERT_EQ(Description(row), "Not configured");
    Configure([](CConfigGameDlg& dialog) { dialog.findChild<QPushButton*>("ok")->click(); });
    EXPECT_EQ(Description(row), "Configured");
    EXPECT_EQ(ToolTip(row), "Configured");
}

// Whatever changes a row's image afterwards (removing or restoring a game's files) goes
// through the same call, and the words follow it.
TEST_F(AccessibilityTest, EveryImageChangeChangesTheWords) {
    const struct {
        games::ImageIndex image;
        const char* words;
    } cases[] = {
        {games::kConfigured, "Configured"},
        {games::kNotConfigured, "Not configured"},
        {games::kConfigured, "Configured"},
    };
    for (const auto& c : cases) {
        View().SetRowImage(0, c.image);
        EXPECT_EQ(Description(0), c.words);
        EXPECT_EQ(ToolTip(0), c.words);
    }
}

TEST_F(AccessibilityTest, ControlsAreNamed) {
    config::CMainEmuOptionsDlg mainEmu("", &Frame());
    config::CRendererOptionsDlg renderer(m_emu.Str(), &Frame());
    const struct {
        const char* what;
        QWidget* widget;
        const char* name;
    } cases[] = {
        {"the game list", &View(), "Games"},
        {"the output bar", Frame().OutputBar()->Edit(), "ZiNc output"},
        {"main emu options, above", mainEmu.findChild<QWidget*>("edit1004"),
         "Known emulator options"},
        {"main emu options, below", mainEmu.findChild<QWidget*>("edit1005"), "Options"},
        {"renderer options, above", renderer.findChild<QWidget*>("edit1004"), "Renderer examples"},
        {"renderer options, below", renderer.findChild<QWidget*>("edit1005"), "Options"},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.widget, nullptr) << c.what;
        EXPECT_EQ(Name(c.widget), c.name) << c.what;
    }
    for (const config::COptionsDlg* editor : {static_cast<config::COptionsDlg*>(&mainEmu),
                                              static_cast<config::COptionsDlg*>(&renderer)}) {
        EXPECT_EQ(ButtonNames(*editor), (Names{"OK", "Cancel"})) << "no & read aloud";
    }
}

TEST_F(AccessibilityTest, RendererListIsNamedAndButtonsReadTheirText) {
    Select(3);
    Configure([](CConfigGameDlg& dialog) {
        QAccessibleInterface* box = Accessible(dialog.RendererBox());
        ASSERT_NE(box, nullptr);
        const auto labels = box->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1) << "what the list is for, as AT-SPI reads it";
        EXPECT_EQ(Text(labels.first().first, QAccessible::Name), "Renderer plugin");
#ifdef _WIN32
        EXPECT_EQ(Text(box, QAccessible::Name), "Renderer plugin");  // UI Automation's name
#else
        // On Linux Qt gives the selected item as the name, and the label as its purpose.
        EXPECT_EQ(Text(box, QAccessible::Name), "libvelmora_renderer_plain.so");
#endif
        EXPECT_EQ(ButtonNames(dialog),
                  (Names{"Configure ZiNc main emu...", "Configure sound plugin...",
                         "Configure renderer plugin...", "OK", "Cancel"}));
    });
}

// Items added to the menus later are held to the same rule: no "&" read aloud.
TEST_F(AccessibilityTest, MenuItemsReadTheirTextWithoutTheAmpersand) {
    Names heard = ChildNames(Frame().menuBar());
    for (QAction* menu : Frame().menuBar()->actions()) {
        const Names items = ChildNames(menu->menu());
        heard.insert(heard.end(), items.begin(), items.end());
    }
    for (const char* name : {"Config", "Start game...", "Configure game...", "Show ZiNc output",
                             "Exit", "Help", "About Velmora..."}) {
        EXPECT_NE(std::find(heard.begin(), heard.end(), name), heard.end()) << name;
    }
    for (const std::string& name : heard) {
        EXPECT_EQ(name.find('&'), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace velmora::app
