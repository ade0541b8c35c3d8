#include <gtest/gtest.h>

#include <string>

#include "Contract.h"
#include "Platform.h"

namespace velmora::platform {
namespace {

struct DirectoryCase {
    const char* executable;
    const char* directory;
    const char* emulator;  // the emulator path made from that directory
};

void ExpectDirectories(const std::initializer_list<DirectoryCase>& cases) {
    for (const DirectoryCase& c : cases) {
        const std::string directory = EmulatorDirectoryFor(c.executable);
        EXPECT_EQ(directory, c.directory) << c.executable;
        EXPECT_EQ(emu::EmulatorPath(directory), c.emulator) << c.executable;
    }
}

#ifdef _WIN32
// The whole path is upper-cased (the file system ignores case) and cut at its last backslash.
TEST(EmulatorDirectory, IsTheUpperCasedFolderBeforeTheLastBackslash) {
    ExpectDirectories({
        {"C:\\Emu\\Zinc\\Velmora.exe", "C:\\EMU\\ZINC", "C:\\EMU\\ZINC\\ZINC.EXE"},
        {"C:\\Velmora.exe", "C:", "C:\\ZINC.EXE"},
        {"d:\\Program Files\\zinc 1.1\\velmora.exe", "D:\\PROGRAM FILES\\ZINC 1.1",
         "D:\\PROGRAM FILES\\ZINC 1.1\\ZINC.EXE"},
        {"\\\\server\\Games\\Velmora.exe", "\\\\SERVER\\GAMES", "\\\\SERVER\\GAMES\\ZINC.EXE"},
        {"Velmora.exe", "", "ZINC.EXE"},
        {"C:/Emu/Velmora.exe", "", "ZINC.EXE"},  // only a backslash counts
        {"", "", "ZINC.EXE"},
    });
}
#else
// A case-sensitive file system keeps the folder exactly as it is spelt.
TEST(EmulatorDirectory, IsTheFolderBeforeTheLastSlashAsSpelt) {
    ExpectDirectories({
        {"/home/ann/Emu/Zinc/Velmora", "/home/ann/Emu/Zinc", "/home/ann/Emu/Zinc/ZINC.EXE"},
        {"/opt/My Games/zinc 1.1/Velmora", "/opt/My Games/zinc 1.1",
         "/opt/My Games/zinc 1.1/ZINC.EXE"},
        {"Velmora", "", "ZINC.EXE"},
        {"C:\\Emu\\Velmora.exe", "", "ZINC.EXE"},  // a backslash is part of a name here
        {"", "", "ZINC.EXE"},
    });
}
#endif

}  // namespace
}  // namespace velmora::platform
