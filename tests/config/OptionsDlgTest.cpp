#include <gtest/gtest.h>

#include <ostream>

#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "COptionsDlg.h"
#include "COptionsEdit.h"
#include "QtTestSupport.h"
#include "TempDir.h"

namespace velmora::config {
namespace {

using namespace std::string_literals;

constexpr int kGaveUp = -1;
// The emulator reads no more of an option file than this: typing stops there.
constexpr size_t kLimit = 32767;

// Runs the dialog modally, as the Configure-game dialog does, and plays `actions` once it is
// up and active. A dialog the actions leave open ends with kGaveUp instead of hanging the test.
int RunModal(COptionsDlg& dialog, const std::function<void()>& actions) {
    test::ModalWatch watch(
        [&](QWidget*) {
            actions();
            if (dialog.isVisible()) {
                dialog.done(kGaveUp);
            }
        },
        [&](QWidget* modal) { return modal == &dialog; });
    return dialog.exec();
}

QPushButton* Button(const QDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QLatin1String(name));
}

COptionsEdit* Edit(const QDialog& dialog, const char* name) {
    return dialog.findChild<COptionsEdit*>(QLatin1String(name));
}

void ClickInto(COptionsEdit* edit) {
    QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
}

const std::string kHelp = "zinc <game> [--a=N] [--b] [--renderer=FILE] [--c=x]\r\n";
const std::string kCallerText = "--x=1\r\n--y=2";

// A fresh pair of the two options editors, which must treat bytes alike.
std::vector<std::unique_ptr<COptionsDlg>> BothEditors(const std::string& emulatorDir) {
    std::vector<std::unique_ptr<COptionsDlg>> both;
    both.push_back(std::make_unique<CMainEmuOptionsDlg>(kHelp));
    both.push_back(std::make_unique<CRendererOptionsDlg>(emulatorDir));
    return both;
}

TEST(OptionsDlg, OpensWithListCallerTextAndFocusOnOk) {
    CMainEmuOptionsDlg dialog(kHelp);
    dialog.m_strOptions = kCallerText;
    RunModal(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Configure ZiNc main emu");
        EXPECT_EQ(dialog.focusWidget(), Button(dialog, "ok"));
        EXPECT_EQ(Edit(dialog, "edit1004")->Text(), "--a=N\r\n--c=x\r\n");
        EXPECT_TRUE(Edit(dialog, "edit1004")->isReadOnly());
        EXPECT_EQ(Edit(dialog, "edit1005")->Text(), kCallerText);
        EXPECT_FALSE(Edit(dialog, "edit1005")->isReadOnly());
        dialog.reject();
    });
}

struct AcceptCase {
    const char* name;
    Qt::Key key;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const AcceptCase& c, std::ostream* os) { *os << c.name; }
};

class AcceptOnOkTest : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(AcceptOnOkTest, KeyOnFocusedOkAcceptsUnchangedText) {
    CMainEmuOptionsDlg dialog(kHelp);
    dialog.m_strOptions = kCallerText;
    const int result =
        RunModal(dialog, [&] { QTest::keyClick(dialog.focusWidget(), GetParam().key); });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.m_strOptions, kCallerText);
}

INSTANTIATE_TEST_SUITE_P(Keys, AcceptOnOkTest,
                         ::testing::Values(AcceptCase{"Return", Qt::Key_Return},
                                           AcceptCase{"Enter", Qt::Key_Enter},
                                           AcceptCase{"Space", Qt::Key_Space}),
                         [](const ::testing::TestParamInfo<AcceptCase>& test) {
                             return std::string(test.param.name);
                         });

TEST(OptionsDlg, ReturnInUpperEditKeepsDialogOpen) {
    CMainEmuOptionsDlg dialog(kHelp);
    dialog.m_strOptions = kCallerText;
    const int result = RunModal(dialog, [&] {
        COptionsEdit* upper = Edit(dialog, "edit1004");
        ClickInto(upper);
        ASSERT_EQ(dialog.focusWidget(), upper);
        QTest::keyClick(upper, Qt::Key_Return);
        QTest::keyClick(upper, Qt::Key_Enter);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(upper->Text(), "--a=N\r\n--c=x\r\n");
        // OK pressed by other means than the user, while the focus is elsewhere, does nothing.
        Button(dialog, "ok")->click();
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(Button(dialog, "cancel"), Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(dialog.m_strOptions, kCallerText);
}

TEST(OptionsDlg, ReturnInLowerEditBreaksLineAndClickOnOkAccepts) {
    CMainEmuOptionsDlg dialog(kHelp);
    dialog.m_strOptions = kCallerText;
    const int result = RunModal(dialog, [&] {
        COptionsEdit* lower = Edit(dialog, "edit1005");
        ClickInto(lower);
        QTest::keyClick(lower, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(lower, Qt::Key_Return);
        QTest::keyClicks(lower, "--z=3");
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(Button(dialog, "ok"), Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.m_strOptions, kCallerText + "\r\n--z=3");
}

struct CancelCase {
    const char* name;
    std::function<void(COptionsDlg&)> cancel;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.name; }
};

class CancelTest : public ::testing::TestWithParam<CancelCase> {};

TEST_P(CancelTest, DropsTheEdit) {
    CMainEmuOptionsDlg dialog(kHelp);
    dialog.m_strOptions = kCallerText;
    const int result = RunModal(dialog, [&] {
        COptionsEdit* lower = Edit(dialog, "edit1005");
        ClickInto(lower);
        QTest::keyClicks(lower, "changed");
        GetParam().cancel(dialog);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(dialog.m_strOptions, kCallerText);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CancelTest,
    ::testing::Values(
        CancelCase{"CancelButton",
                   [](COptionsDlg& d) { QTest::mouseClick(Button(d, "cancel"), Qt::LeftButton); }},
        CancelCase{"Escape",
                   [](COptionsDlg& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Escape); }},
        CancelCase{"ReturnOnFocusedCancel",
                   [](COptionsDlg& d) {
                       Button(d, "cancel")->setFocus();
                       QTest::keyClick(Button(d, "cancel"), Qt::Key_Return);
                   }},
        CancelCase{"CloseBox", [](COptionsDlg& d) { d.close(); }}),
    [](const ::testing::TestParamInfo<CancelCase>& test) { return std::string(test.param.name); });

TEST(OptionsDlg, RendererExampleShownByteForByte) {
    test::TempDir emulator;
    const std::string example =
        "[gl]\r\nfps\t= 60\r\n\t\tsize=2 \r\nt\xC3\xAAte=\xC2\xA0x\r\n\r\n\r\n";
    test::WriteBytes(emulator.File("renderer.cfg"), example);

    CRendererOptionsDlg dialog(emulator.Str());
    dialog.m_strOptions = "fps=30\r\n";
    RunModal(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Configure ZiNc renderer");
        EXPECT_EQ(Edit(dialog, "edit1004")->Text(), example);
        EXPECT_EQ(Edit(dialog, "edit1005")->Text(), "fps=30\r\n");
        dialog.reject();
    });

    // Read again at every opening; a missing example shows nothing.
    std::filesystem::remove(emulator.File("renderer.cfg"));
    RunModal(dialog, [&] {
        EXPECT_EQ(Edit(dialog, "edit1004")->Text(), "");
        dialog.reject();
    });
}

// Option texts are bytes: Windows-1252 letters, lone line ends, whatever a file holds. Both
// editors give back exactly what they were given when nothing was changed, and change only
// what the user changed, typed letters in the text's own encoding.
TEST(OptionsDlg, EditorsGiveBackTheBytesTheyWereGiven) {
    std::string everyByte = "A";
    for (int byte = 1; byte <= 0xff; ++byte) {
        everyByte += static_cast<char>(byte);
    }
    const std::string atLimit = "A" + std::string(kLimit - 1, 'x');
    std::string longer = "A";
    while (longer.size() < 40000) {
        longer += "--option=value\r\n";
    }
#ifdef _WIN32
    const std::string eInUtf8Text = "\xe9";  // every text is read in the ANSI code page
#else
    const std::string eInUtf8Text = "\xc3\xa9";
#endif
    const struct {
        const char* name;
        std::string given;
        std::string typed;  // "\xe9" typed at the end after deleting the first letter
    } cases[] = {
        {"every byte but NUL", everyByte, "\xe9"},
        {"lone LF", "A\nb\nc", eInUtf8Text},
        {"lone CR", "A\rb\rc", eInUtf8Text},
        {"CR LF", "A\r\nb\r\n", eInUtf8Text},
        {"mixed line ends", "A\r\nb\nc\rd\r\n\n", eInUtf8Text},
        {"UTF-8", "Caf\xc3\xa9 \xe2\x9c\x93\nx", eInUtf8Text},
        {"Windows-1252",
         "Caf\xe9 20\xb0"
         "C\r\n\x80\n",
         "\xe9"},
        {"exactly the limit", atLimit, eInUtf8Text},
        {"longer than the limit", longer, ""},  // nothing more may be typed
    };
    test::TempDir emulator;
    for (const auto& c : cases) {
        for (const auto& dialog : BothEditors(emulator.Str())) {
            dialog->m_strOptions = c.given;
            RunModal(*dialog, [&] { QTest::mouseClick(Button(*dialog, "ok"), Qt::LeftButton); });
            EXPECT_EQ(dialog->m_strOptions, c.given) << c.name << ", unchanged";

            RunModal(*dialog, [&] {
                COptionsEdit* lower = Edit(*dialog, "edit1005");
                ClickInto(lower);
                QTest::keyClick(lower, Qt::Key_Home, Qt::ControlModifier);
                QTest::keyClick(lower, Qt::Key_Delete);
                QTest::keyClick(lower, Qt::Key_End, Qt::ControlModifier);
                QTest::sendKeyEvent(QTest::Click, lower, Qt::Key_Eacute, QString(QChar(0xe9)),
                                    Qt::NoModifier);
                QTest::mouseClick(Button(*dialog, "ok"), Qt::LeftButton);
            });
            EXPECT_EQ(dialog->m_strOptions, c.given.substr(1) + c.typed) << c.name << ", edited";
        }
    }
}

// A text that ends in a byte that could begin a UTF-8 character, but whose character never
// comes, is no UTF-8: its last letter is a Windows-1252 letter, shown as one and saved as the
// byte it was, also after the user edited that very line.
TEST(OptionsEdit, LastByteThatCouldBeginACharacterKeepsItsByte) {
    COptionsEdit edit;
    for (int lead = 0xC2; lead <= 0xF4; ++lead) {
        const std::string given = "--a=1\r\n--t="s + static_cast<char>(lead);
        edit.SetText(given);
        SCOPED_TRACE(testing::Message() << "last byte 0x" << std::hex << lead);
        EXPECT_EQ(edit.toPlainText().back(), QChar(lead));
        EXPECT_EQ(edit.Text(), given);
        edit.moveCursor(QTextCursor::End);
        edit.moveCursor(QTextCursor::StartOfLine);
        edit.insertPlainText(QStringLiteral("x"));
        EXPECT_EQ(edit.Text(), "--a=1\r\nx--t="s + static_cast<char>(lead));
    }
}

TEST(OptionsDlg, EditorsKeepAFileEndingInsideACharacter) {
    const struct {
        const char* name;
        std::string given;
        QString shownEnd;    // how the last line ends in the editor
        std::string edited;  // after "x" was typed at the start of the last line
    } cases[] = {
        {"Windows-1252 e acute", "--texture-folder=Caf\xE9", QStringLiteral("Caf\u00E9"),
         "x--texture-folder=Caf\xE9"},
        {"two bytes cut to one", "--a=1\r\n--t=\xC3", QStringLiteral("=\u00C3"),
         "--a=1\r\nx--t=\xC3"},
        {"three bytes cut to two", "--t=\xE2\x82", QStringLiteral("=\u00E2\u201A"),
         "x--t=\xE2\x82"},
        {"four bytes cut to three", "--t=\xF0\x9F\x98", QStringLiteral("=\u00F0\u0178\u02DC"),
         "x--t=\xF0\x9F\x98"},
    };
    test::TempDir emulator;
    for (const auto& c : cases) {
        for (const auto& dialog : BothEditors(emulator.Str())) {
            dialog->m_strOptions = c.given;
            RunModal(*dialog, [&] {
                COptionsEdit* lower = Edit(*dialog, "edit1005");
                EXPECT_TRUE(lower->toPlainText().endsWith(c.shownEnd))
                    << c.name << ": " << lower->toPlainText().toStdString();
                ClickInto(lower);
                QTest::keyClick(lower, Qt::Key_End, Qt::ControlModifier);
                QTest::keyClick(lower, Qt::Key_Home);
                QTest::keyClicks(lower, "x");
                QTest::mouseClick(Button(*dialog, "ok"), Qt::LeftButton);
            });
            EXPECT_EQ(dialog->m_strOptions, c.edited) << c.name;
        }
    }
}

// Text that is only ASCII, or nothing, has no encoding of its own: letters the user adds are
// encoded the way the text above was read, so a letter copied from the emulator's help text
// is saved as the byte the emulator printed.
TEST(OptionsDlg, LettersAddedToAsciiTextTakeTheEncodingOfTheTextAbove) {
#ifdef _WIN32
    const std::string eAsUtf8 = "\xE9";  // every text is read in the ANSI code page
#else
    const std::string eAsUtf8 = "\xC3\xA9";
#endif
    const struct {
        const char* name;
        std::string above;  // the help text, and the renderer example
        std::string given;
        std::string saved;  // after "é" was typed at the end
    } cases[] = {
        {"Windows-1252 above, empty below", "zinc [--d=Caf\xE9]\r\n", "", "\xE9"},
        {"Windows-1252 above, ASCII below", "zinc [--d=Caf\xE9]\r\n", "--d=Caf", "--d=Caf\xE9"},
        {"UTF-8 above, empty below", "zinc [--d=Caf\xC3\xA9]\r\n", "", eAsUtf8},
        {"ASCII above, empty below", "zinc [--d=Cafe]\r\n", "", eAsUtf8},
        {"UTF-8 below keeps its own", "zinc [--d=Caf\xE9]\r\n", "--n=\xC3\xA0",
         "--n=\xC3\xA0" + eAsUtf8},
        {"Windows-1252 below keeps its own", "zinc [--d=Caf\xC3\xA9]\r\n", "--n=\xE0",
         "--n=\xE0\xE9"},
    };
    test::TempDir emulator;
    for (const auto& c : cases) {
        test::WriteBytes(emulator.File("renderer.cfg"), c.above);
        CMainEmuOptionsDlg mainEmu(c.above);
        CRendererOptionsDlg renderer(emulator.Str());
        for (COptionsDlg* dialog :
             {static_cast<COptionsDlg*>(&mainEmu), static_cast<COptionsDlg*>(&renderer)}) {
            dialog->m_strOptions = c.given;
            RunModal(*dialog, [&] {
                COptionsEdit* lower = Edit(*dialog, "edit1005");
                ClickInto(lower);
                QTest::keyClick(lower, Qt::Key_End, Qt::ControlModifier);
                QTest::sendKeyEvent(QTest::Click, lower, Qt::Key_Eacute, QString(QChar(0xe9)),
                                    Qt::NoModifier);
                QTest::mouseClick(Button(*dialog, "ok"), Qt::LeftButton);
            });
            EXPECT_EQ(dialog->m_strOptions, c.saved)
                << c.name << ", " << dialog->windowTitle().toStdString();
        }
    }
}

TEST(OptionsEdit, TextCrossesWithItsOwnLineEnds) {
    COptionsEdit edit;
    // A break the user adds is CR LF; the others keep what they were.
    edit.SetText("a\nb");
    edit.moveCursor(QTextCursor::End);
    edit.insertPlainText("\nc");
    EXPECT_EQ(edit.Text(), "a\nb\r\nc");

    for (const auto& [in, out] : {std::pair{""s, ""s},
                                  {"a"s, "a"s},
                                  {"a\r\n"s, "a\r\n"s},
                                  {"\r\n\r\n"s, "\r\n\r\n"s},
                                  {"a\nb\rc"s, "a\nb\rc"s},
                                  {"\tx = \xC2\xA0y"s, "\tx = \xC2\xA0y"s}}) {
        edit.SetText(in);
        EXPECT_EQ(edit.Text(), out) << in;
    }
}

TEST(OptionsEdit, LimitHoldsBackTypingAndPastingOnly) {
    COptionsEdit edit;
    const std::string longText(40000, 'x');
    edit.SetText(longText);
    EXPECT_EQ(edit.Text(), longText) << "text set by the program is never cut";

    edit.SetText(std::string(kLimit - 2, 'x'));
    edit.moveCursor(QTextCursor::End);
    QTest::keyClicks(&edit, "abcdef");
    EXPECT_EQ(edit.Text(), std::string(kLimit - 2, 'x') + "ab");

    // A line break counts as CR LF, so the text always fits the files' reading limit.
    edit.SetLimit(7);
    edit.SetText("abc");
    edit.moveCursor(QTextCursor::End);
    edit.insertPlainText("1\n2\n3");
    EXPECT_EQ(edit.Text(), "abc1\r\n2");
    EXPECT_EQ(edit.Length(), 7);
    edit.undo();
    EXPECT_EQ(edit.Text(), "abc") << "the cut belongs to the paste's undo step";

    edit.SetText("abcdef");
    edit.moveCursor(QTextCursor::End);
    edit.insertPlainText("\xF0\x9F\x98\x80");  // one character, two UTF-16 units
    EXPECT_EQ(edit.Text(), "abcdef");
}

}  // namespace
}  // namespace velmora::config
