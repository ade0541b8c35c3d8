// The Configure game dialog's OK when the game's files cannot all be saved: every file that
// can be written is, the others keep their old bytes, and one warning names exactly the files
// that were not saved, with the system's reason. Each failure is a real one: a write-protected
// file, a file-size limit, a cfg that is a plain file, also for the superuser; a folder
// without write permission, for an ordinary user only (the test command runs those cases as
// one: ctest -R unprivileged).

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "CConfigGameDlg.h"
#include "Contract.h"
#include "EmulatorDir.h"
#include "FileSizeLimit.h"
#include "QtTestSupport.h"
#include "WidgetText.h"
#include "WindowTest.h"

namespace velmora::app {
namespace {

namespace fs = std::filesystem;
using config::CConfigGameDlg;

constexpr int kGame = 7;

// Every message box that shows, answered with OK.
class MessageBoxes {
public:
    MessageBoxes() {
        m_poll.setInterval(1);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->isVisible()) {
                shown.push_back({box->windowTitle(), box->text(), box->icon()});
                box->button(QMessageBox::Ok)->click();
            }
        });
        m_poll.start();
    }

    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };
    std::vector<Box> shown;

private:
    QTimer m_poll;
};

enum File { kOptions, kRenderer, kSnapshot };
constexpr File kFiles[] = {kOptions, kRenderer, kSnapshot};

struct SaveCase;
struct CfgCase;

class SaveFailureTest : public WindowTest {
protected:
    SaveFailureTest() {
        m_emu.Copy(VELMORA_RENDERER_PLAIN, "libvelmora_renderer_plain.so");
        qputenv("ZINC_STANDIN_GAMES", "12");
    }
    ~SaveFailureTest() override { qunsetenv("ZINC_STANDIN_GAMES"); }

    // Where Velmora saves each file, spelt as it names them to the user.
    std::string Shown(File file) const {
        const std::string dir = m_emu.FrameDir();
        switch (file) {
            case kOptions:
                return emu::GameOptionsFile(dir, kGame);
            case kRenderer:
                return emu::RendererOptionsFile(dir, kGame);
            case kSnapshot:
                return emu::SnapshotFile(dir, kGame);
        }
        return {};
    }
    std::string Path(File file) const {
        const char* suffix[] = {".cfg", "_renderer.cfg", "_registry.cfg"};
        return m_emu.File("cfg/Velmora" + emu::GameNumberText(kGame) + suffix[file]);
    }
    static std::string OldBytes(File file) {
        const char* old[] = {"--old=1\r\n", "old=1  \r\n\r\n", "REGEDIT4\r\n\r\n; old\r\n"};
        return old[file];
    }
    static bool IsNew(File file, const std::string& bytes) {
        switch (file) {
            case kOptions:
                return bytes.starts_with("--new=1\r\n");
            case kRenderer:
                return bytes == "new=1\r\n";
            case kSnapshot:
                return bytes == "REGEDIT4\r\n\r\n";
        }
        return false;
    }

    // Opens the dialog on game 7, changes both texts, runs `beforeOk` and presses OK.
    void ConfigureAndAccept(const std::function<void()>& beforeOk) {
        Select(kGame);
        test::ModalWatch watch(
            [&](QWidget* modal) {
                auto* dialog = dynamic_cast<CConfigGameDlg*>(modal);
                dialog->m_strOptions = "--new=1";
                dialog->m_strRendererOptions = "new=1";
                beforeOk();
                QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
                EXPECT_FALSE(dialog->isVisible()) << "OK closes the dialog, saved or not";
            },
            test::IsA<CConfigGameDlg>);
        View().ConfigureSelectedGame();
    }

    void Check(const SaveCase& c);
    void Check(const CfgCase& c);
};

void WriteProtect(const std::string& path) {
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

// Whether a folder without write permission stops this process: not for the superuser, and
// not on Windows, where folders carry no such bit.
bool FolderPermissionsHold() {
#ifdef _WIN32
    return false;
#else
    return geteuid() != 0;
#endif
}

#ifdef _WIN32
constexpr const char* kNoFolderPermissions =
    "a folder here has no permission that keeps new files out of it";
#else
constexpr const char* kNoFolderPermissions =
    "the superuser writes to any folder; the test command runs this as an ordinary user too "
    "(ctest -R unprivileged)";
#endif

// The system's words for a write-protected file.
std::string ProtectedReason() {
#ifdef _WIN32
    return {};  // in the user's language: only checked to be there
#else
    return std::strerror(EACCES);
#endif
}

struct SaveCase {
    const char* name;
    std::set<File> failing;
    bool sizeLimit = false;       // the options file fails on a full disk instead
    bool readOnlyFolder = false;  // cfg may be read but not written, by an ordinary user
    bool noFiles = false;         // the game has no files yet
};

// Writes the game's old files (write-protecting the failing ones), presses OK and checks what
// was saved and what the one warning says.
void SaveFailureTest::Check(const SaveCase& c) {
    SCOPED_TRACE(c.name);
    for (const File file : kFiles) {
        std::error_code ec;
        fs::permissions(Path(file), fs::perms::owner_all, ec);
        fs::remove(Path(file), ec);
        if (c.noFiles) {
            continue;
        }
        test::WriteBytes(Path(file), OldBytes(file));
        if (c.failing.count(file) != 0 && !c.sizeLimit) {
            WriteProtect(Path(file));
        }
    }
    if (c.readOnlyFolder) {
        // Nor can the game's history be started there.
        fs::remove_all(m_emu.File("cfg/history"));
        fs::permissions(m_emu.File("cfg"), fs::perms::owner_read | fs::perms::owner_exec);
    }
    MessageBoxes boxes;
#ifndef _WIN32
    std::optional<test::FileSizeLimit> fullDisk;
#endif
    ConfigureAndAccept([&] {
#ifndef _WIN32
        // Room for the renderer file and the snapshot, not for the options file.
        if (c.sizeLimit) {
            fullDisk.emplace(20);
        }
#endif
    });
#ifndef _WIN32
    fullDisk.reset();
#endif
    fs::permissions(m_emu.File("cfg"), fs::perms::owner_all);

    for (const File file : kFiles) {
        if (c.failing.count(file) == 0) {
            const std::string bytes = test::ReadBytes(Path(file));
            EXPECT_TRUE(IsNew(file, bytes)) << Shown(file) << " was saved: " << bytes;
        } else if (c.noFiles) {
            EXPECT_FALSE(fs::exists(Path(file))) << Shown(file);
        } else {
            EXPECT_EQ(test::ReadBytes(Path(file)), OldBytes(file))
                << Shown(file) << " kept its old bytes";
        }
    }
    size_t left = 0;
    for (const auto& entry : fs::directory_iterator(m_emu.File("cfg"))) {
        left += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(left, c.noFiles ? 3 - c.failing.size() : 3) << "no temporary file is left behind";

    if (c.failing.empty()) {
        // Saved; what could not be done is keeping the files as they were in the history.
        EXPECT_EQ(boxes.shown.size(), c.readOnlyFolder ? 1u : 0u);
        for (const auto& box : boxes.shown) {
            EXPECT_TRUE(box.text.startsWith(QStringLiteral(
                "The game's settings were saved, but its earlier settings could not be kept")))
                << box.text.toStdString();
        }
        EXPECT_EQ(View().RowImage(View().GetSelectedRow()), 1);
        return;
    }
    ASSERT_EQ(boxes.shown.size(), 1u) << "exactly one message";
    const auto& box = boxes.shown.front();
    EXPECT_EQ(box.title, QApplication::applicationName());
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_TRUE(box.text.contains(QStringLiteral("earlier files are unchanged")))
        << box.text.toStdString();
    const QStringList lines = box.text.split(QLatin1Char('\n'));
    for (const File file : kFiles) {
        const qsizetype at = lines.indexOf(ui::ToWidget(Shown(file)));
        if (c.failing.count(file) == 0) {
            EXPECT_EQ(at, -1) << Shown(file) << " was saved, yet named:\n"
                              << box.text.toStdString();
            continue;
        }
        ASSERT_GE(at, 0) << Shown(file) << " not named:\n" << box.text.toStdString();
        ASSERT_LT(at + 1, lines.size());
        const QString reason = lines[at + 1].trimmed();
        EXPECT_FALSE(reason.isEmpty()) << "no reason for " << Shown(file);
        if (!c.sizeLimit && !ProtectedReason().empty()) {
            EXPECT_EQ(reason.toStdString(), ProtectedReason());
        }
    }
    EXPECT_EQ(View().RowImage(View().GetSelectedRow()), c.noFiles ? 0 : 1)
        << "the old options file is there";
}

TEST_F(SaveFailureTest, NamesExactlyTheFilesThatWereNotSaved) {
    const SaveCase cases[] = {
        {"options file protected", {kOptions}},
        {"renderer file protected", {kRenderer}},
        {"snapshot file protected", {kSnapshot}},
        {"all three protected", {kOptions, kRenderer, kSnapshot}},
        {"options file on a full disk", {kOptions}, true},
        {"nothing fails", {}},
    };
    for (const SaveCase& c : cases) {
#ifdef _WIN32
        if (c.sizeLimit) {
            continue;  // Windows cannot limit a file's size
        }
#endif
        Check(c);
    }
}

// A cfg folder the user may read but not write to (0555): the game's files that are there and
// writable are written in place; those that are not there, or are protected, are named.
TEST_F(SaveFailureTest, CfgNotWritable) {
    if (!FolderPermissionsHold()) {
        GTEST_SKIP() << kNoFolderPermissions;
    }
    const SaveCase cases[] = {
        {"its files writable", {}, false, true},
        {"the renderer file protected", {kRenderer}, false, true},
        {"no files yet", {kOptions, kRenderer, kSnapshot}, false, true, true},
    };
    for (const SaveCase& c : cases) {
        Check(c);
    }
}

struct CfgCase {
    const char* name;
    std::function<void()> setUp;
    bool made;
};

// A missing cfg folder is made on OK, that folder only. Where it cannot be made, the one
// message says so once, with the reason, and names the three files.
void SaveFailureTest::Check(const CfgCase& c) {
    SCOPED_TRACE(c.name);
    const std::string cfg = m_emu.File("cfg");
    std::error_code ec;
    fs::remove_all(cfg, ec);
    c.setUp();
    MessageBoxes boxes;
    ConfigureAndAccept([] {});
    fs::permissions(m_emu.Str(), fs::perms::owner_all, ec);

    if (c.made) {
        EXPECT_TRUE(fs::is_directory(cfg));
        for (const File file : kFiles) {
            EXPECT_TRUE(IsNew(file, test::ReadBytes(Path(file)))) << Shown(file);
        }
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(View().RowImage(View().GetSelectedRow()), 1);
        return;
    }
    if (fs::is_regular_file(cfg)) {
        EXPECT_EQ(test::ReadBytes(cfg), "not a folder");
    }
    ASSERT_EQ(boxes.shown.size(), 1u) << "exactly one message";
    const QString text = boxes.shown.front().text;
    const QString folderLine = QStringLiteral("The folder %1 could not be created: ")
                                   .arg(ui::ToWidget(m_emu.FramePath("cfg")));
    EXPECT_EQ(text.count(folderLine), 1) << text.toStdString();
    for (const File file : kFiles) {
        EXPECT_TRUE(text.split(QLatin1Char('\n')).contains(ui::ToWidget(Shown(file))))
            << Shown(file) << " not named:\n"
            << text.toStdString();
    }
    EXPECT_EQ(View().RowImage(View().GetSelectedRow()), 0) << "nothing is on disk";
}

TEST_F(SaveFailureTest, MakesAMissingCfgFolderOrSaysWhyNot) {
    const std::string cfg = m_emu.File("cfg");
    Check(CfgCase{"missing cfg", [&] { fs::remove_all(cfg); }, true});
    Check(CfgCase{"cfg is a plain file", [&] { test::WriteBytes(cfg, "not a folder"); }, false});
}

TEST_F(SaveFailureTest, EmulatorFolderNotWritable) {
    if (!FolderPermissionsHold()) {
        GTEST_SKIP() << kNoFolderPermissions;
    }
    Check(CfgCase{
        "no cfg, emulator folder not writable",
        [&] { fs::permissions(m_emu.Str(), fs::perms::owner_read | fs::perms::owner_exec); },
        false});
}

}  // namespace
}  // namespace velmora::app
