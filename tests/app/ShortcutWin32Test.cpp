// "Velmora.exe --shortcut N" on Windows: a .lnk on the desktop that, read back through the
// shell's own link object, starts Velmora.exe with "--start N" in the emulator folder; named
// so that games of one name, and names Windows refuses for a file, still get one each; and
// never a file at that name that Velmora did not make for this folder and game.

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>
#include <utility>

#include "EmulatorDir.h"
#include "TempDir.h"
#include "VelmoraProgram.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

struct Link {
    bool loaded = false;
    QString target;
    QString arguments;
    QString folder;
    QString icon;
};

QString FromWide(const wchar_t* text) {
    return QString::fromWCharArray(text);
}

const wchar_t* Wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// The shell's link object for `path`, which loads or saves it.
class ShellLink {
public:
    ShellLink() {
        m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkW, reinterpret_cast<void**>(&m_link)))) {
            m_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&m_file));
        }
    }
    ~ShellLink() {
        if (m_file != nullptr) {
            m_file->Release();
        }
        if (m_link != nullptr) {
            m_link->Release();
        }
        if (m_com) {
            CoUninitialize();
        }
    }
    ShellLink(const ShellLink&) = delete;
    ShellLink& operator=(const ShellLink&) = delete;

    Link Read(const QString& path) {
        Link link;
        if (m_file == nullptr || FAILED(m_file->Load(Wide(path), STGM_READ))) {
            return link;
        }
        wchar_t text[MAX_PATH * 4] = {};
        int index = -1;
        link.loaded = true;
        if (SUCCEEDED(m_link->GetPath(text, MAX_PATH * 4, nullptr, SLGP_RAWPATH))) {
            link.target = FromWide(text);
        }
        if (SUCCEEDED(m_link->GetArguments(text, MAX_PATH * 4))) {
            link.arguments = FromWide(text);
        }
        if (SUCCEEDED(m_link->GetWorkingDirectory(text, MAX_PATH * 4))) {
            link.folder = FromWide(text);
        }
        if (SUCCEEDED(m_link->GetIconLocation(text, MAX_PATH * 4, &index))) {
            link.icon = FromWide(text);
        }
        return link;
    }
    bool Write(const QString& path, const Link& link) {
        return m_file != nullptr && SUCCEEDED(m_link->SetPath(Wide(link.target))) &&
               SUCCEEDED(m_link->SetArguments(Wide(link.arguments))) &&
               SUCCEEDED(m_link->SetWorkingDirectory(Wide(link.folder))) &&
               SUCCEEDED(m_file->Save(Wide(path), TRUE));
    }

private:
    bool m_com = false;
    IShellLinkW* m_link = nullptr;
    IPersistFile* m_file = nullptr;
};

Link ReadLink(const QString& path) {
    return ShellLink().Read(path);
}

QString Desktop() {
    wchar_t* folder = nullptr;
    QString path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &folder))) {
        path = FromWide(folder);
    }
    CoTaskMemFree(folder);
    return path;
}

bool Exists(const QString& path) {
    return GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES;
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Velmora.exe beside the stand-in, whose list of games a test may give.
class ShortcutWin32 : public ::testing::Test {
protected:
    ShortcutWin32() { test::CopyVelmora(m_emu.Str()); }

    Outcome Velmora(const QStringList& arguments) const {
        QProcess process;
        process.setProcessEnvironment(m_env);
        process.setProgram(m_velmora);
        process.setArguments(arguments);
        process.start();
        EXPECT_TRUE(process.waitForFinished(120000));
        return {process.exitCode(), process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }
    // "--shortcut N": the path it wrote, empty when it failed.
    QString MakeShortcut(int game) const {
        const Outcome run = Velmora({QStringLiteral("--shortcut"), QString::number(game)});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        if (run.status != 0 || run.out.rfind("Wrote ", 0) != 0 || run.out.back() != '\n') {
            ADD_FAILURE() << run.out;
            return {};
        }
        return QString::fromLocal8Bit(run.out.substr(6, run.out.size() - 7));
    }
    void ListGames(const std::string& lines) {
        const std::string list = m_emu.File("list.txt");
        test::WriteBytes(list, lines);
        m_env.insert(QStringLiteral("ZINC_STANDIN_LIST_FILE"), QString::fromLocal8Bit(list));
    }

    test::EmulatorDir m_emu;
    QString m_velmora = QString::fromStdString(m_emu.File("Velmora.exe"));
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();
};

// Windows refuses device names and a path longer than MAX_PATH for a file, and drops trailing
// dots and blanks. The game's number keeps games of one name, however cut short, apart.
TEST_F(ShortcutWin32, EveryNameGetsAShortcutOfItsOwn) {
    const std::string longName(300, 'L');
    ListGames(
        "28 Same Name (Japan) [set 1]\r\n29 Same Name (Japan) [set 2]\r\n"
        "3 CON [x]\r\n4 nul.txt [x]\r\n5 Lpt1 . readme [x]\r\n6 COM\xb9.x [x]\r\n"
        "7 Ends in dots . . . [x]\r\n8 .. [x]\r\n9 A:B*C?D<E>F|G/H\\I\" [x]\r\n"
        "10 " +
        longName + " [x]\r\n11 " + longName + " [x]\r\n");
    const struct {
        int game;
        QString name;  // empty: cut short, checked below
    } cases[] = {
        {28, QStringLiteral("Same Name (Japan) (28).lnk")},
        {29, QStringLiteral("Same Name (Japan) (29).lnk")},
        {3, QStringLiteral("CON (3).lnk")},
        {4, QStringLiteral("_nul.txt (4).lnk")},
        {5, QStringLiteral("_Lpt1 . readme (5).lnk")},
        {6, QStringLiteral("_COM\u00b9.x (6).lnk")},
        {7, QStringLiteral("Ends in dots (7).lnk")},
        {8, QStringLiteral("Game (8).lnk")},
        {9, QStringLiteral("A_B_C_D_E_F_G_H_I_ (9).lnk")},
        {10, {}},
        {11, {}},
    };
    QStringList paths;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.game);
        const QString path = MakeShortcut(c.game);
        paths.append(path);
        const QString name = path.mid(path.lastIndexOf(u'\\') + 1);
        if (!c.name.isEmpty()) {
            EXPECT_EQ(name.toStdString(), c.name.toStdString());
        } else {
            EXPECT_LE(path.size(), MAX_PATH - 1) << path.toStdString();
            EXPECT_TRUE(name.endsWith(QStringLiteral(" (%1).lnk").arg(c.game)));
            EXPECT_TRUE(name.startsWith(QString::fromStdString(longName.substr(0, 100))));
        }
        const Link link = ReadLink(path);
        EXPECT_TRUE(link.loaded) << path.toStdString();
        EXPECT_EQ(link.arguments, QStringLiteral("--start %1").arg(c.game));
    }
    // Each shortcut is its game's own: removing one leaves the others.
    const Outcome removed = Velmora({"--remove-shortcut", "28"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_FALSE(Exists(paths.front()));
    for (const QString& path : paths.sliced(1)) {
        EXPECT_TRUE(Exists(path)) << path.toStdString();
        DeleteFileW(Wide(path));
    }
}

// The link starts the game in the emulator folder. A file at its name that Velmora did not
// make for this folder and game stays; its own is replaced, and removed.
TEST_F(ShortcutWin32, LinkStartsTheGameAndOnlyItsOwnIsReplacedOrRemoved) {
    const QString path = MakeShortcut(2);
    EXPECT_EQ(path, Desktop() + QStringLiteral("\\Starfield Courier (USA) (2).lnk"));
    const Link own = ReadLink(path);
    ASSERT_TRUE(own.loaded) << path.toStdString();
    EXPECT_EQ(own.target.compare(m_velmora, Qt::CaseInsensitive), 0) << own.target.toStdString();
    EXPECT_EQ(own.arguments, QStringLiteral("--start 2"));
    EXPECT_EQ(own.folder, QString::fromStdString(m_emu.FrameDir()));
    EXPECT_EQ(own.icon.compare(m_velmora, Qt::CaseInsensitive), 0) << own.icon.toStdString();

    Link otherProgram = own;
    otherProgram.target = QStringLiteral("C:\\windows\\notepad.exe");
    Link otherGame = own;
    otherGame.arguments = QStringLiteral("--start 3");
    Link otherFolder = own;
    otherFolder.folder += QStringLiteral("\\cfg");
    const std::string shown = path.toLocal8Bit().toStdString();
    for (const Link& foreign : {otherProgram, otherGame, otherFolder, Link()}) {
        SCOPED_TRACE(foreign.target.toStdString() + " " + foreign.arguments.toStdString() + " in " +
                     foreign.folder.toStdString());
        if (foreign.loaded) {
            ASSERT_TRUE(ShellLink().Write(path, foreign));
        } else {
            test::WriteBytes(fs::path(path.toStdWString()).string(), "no link at all");
        }
        const std::string before = test::ReadBytes(fs::path(path.toStdWString()).string());
        for (const auto& [mode, verb] :
             {std::pair{"--shortcut", "make"}, std::pair{"--remove-shortcut", "remove"}}) {
            const Outcome run = Velmora({mode, "2"});
            EXPECT_EQ(run.status, 1) << mode;
            const std::string start = std::string("Could not ") + verb + " the shortcut: " + shown;
            if (foreign.loaded) {
                EXPECT_EQ(run.err, start +
                                       " is not Velmora's shortcut for game 2 of this "
                                       "emulator folder (its target, arguments or working "
                                       "folder differ), so it was left as it is\r\n");
            } else {
                EXPECT_EQ(run.err.rfind(start + " cannot be read as a shortcut (", 0), 0u)
                    << run.err;
                EXPECT_TRUE(run.err.ends_with("), so it was left as it is\r\n")) << run.err;
            }
            EXPECT_EQ(test::ReadBytes(fs::path(path.toStdWString()).string()), before) << mode;
        }
    }
    ASSERT_TRUE(ShellLink().Write(path, own));
    EXPECT_EQ(MakeShortcut(2), path);
    const Outcome removed = Velmora({"--remove-shortcut", "2"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_FALSE(Exists(path));
}

}  // namespace
}  // namespace velmora
