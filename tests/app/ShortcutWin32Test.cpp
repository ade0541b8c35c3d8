// "Velmora.exe --shortcut N" on Windows: a .lnk on the desktop that, read back through the
// shell's own link object, starts Velmora.exe with "--start N" in the emulator folder.

#include <objbase.h>
#include <shobjidl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QString>
#include <filesystem>
#include <string>

#include "EmulatorDir.h"
#include "VelmoraProgram.h"

namespace velmora {
namespace {

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

Link ReadLink(const QString& path) {
    Link link;
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(reinterpret_cast<const wchar_t*>(path.utf16()), STGM_READ))) {
        wchar_t text[MAX_PATH * 4] = {};
        int index = -1;
        link.loaded = true;
        if (SUCCEEDED(shellLink->GetPath(text, MAX_PATH * 4, nullptr, SLGP_RAWPATH))) {
            link.target = FromWide(text);
        }
        if (SUCCEEDED(shellLink->GetArguments(text, MAX_PATH * 4))) {
            link.arguments = FromWide(text);
        }
        if (SUCCEEDED(shellLink->GetWorkingDirectory(text, MAX_PATH * 4))) {
            link.folder = FromWide(text);
        }
        if (SUCCEEDED(shellLink->GetIconLocation(text, MAX_PATH * 4, &index))) {
            link.icon = FromWide(text);
        }
    }
    if (file != nullptr) {
        file->Release();
    }
    if (shellLink != nullptr) {
        shellLink->Release();
    }
    if (com) {
        CoUninitialize();
    }
    return link;
}

std::string RunVelmora(const QString& program, const QStringList& arguments, int& status) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.start();
    EXPECT_TRUE(process.waitForFinished(120000));
    status = process.exitCode();
    EXPECT_EQ(process.readAllStandardError().toStdString(), "");
    return process.readAllStandardOutput().toStdString();
}

TEST(ShortcutWin32, LinkStartsTheGameInTheEmulatorFolder) {
    test::EmulatorDir emu;
    test::CopyVelmora(emu.Str());
    const QString velmora = QString::fromStdString(emu.File("Velmora.exe"));

    int status = -1;
    const std::string out = RunVelmora(velmora, {"--shortcut", "2"}, status);
    ASSERT_EQ(status, 0) << out;
    ASSERT_EQ(out.rfind("Wrote ", 0), 0u) << out;
    ASSERT_EQ(out.back(), '\n');
    const QString path = QString::fromLocal8Bit(out.substr(6, out.size() - 7));
    EXPECT_TRUE(path.endsWith(QStringLiteral("\\Starfield Courier (USA).lnk"))) << out;

    const Link link = ReadLink(path);
    ASSERT_TRUE(link.loaded) << out;
    EXPECT_EQ(link.target.compare(velmora, Qt::CaseInsensitive), 0) << link.target.toStdString();
    EXPECT_EQ(link.arguments, QStringLiteral("--start 2"));
    EXPECT_EQ(link.folder, QString::fromStdString(emu.FrameDir()));
    EXPECT_EQ(link.icon.compare(velmora, Qt::CaseInsensitive), 0) << link.icon.toStdString();

    // A second one replaces it; removing it leaves nothing.
    EXPECT_EQ(RunVelmora(velmora, {"--shortcut", "2"}, status), out);
    EXPECT_EQ(status, 0);
    RunVelmora(velmora, {"--remove-shortcut", "2"}, status);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path.toStdWString())));
}

}  // namespace
}  // namespace velmora
