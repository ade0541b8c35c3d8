// Files in the emulator folder that are no plugins: text, empty files, libraries cut short at
// every part of their ELF layout, Windows DLLs cut short. Listing the plugins loads every file
// of the folder to ask for the renderer entry; none of these may take Velmora down. Each file
// is asked in a child process of its own, so that a crash names its file instead of ending
// the test program.

#include <elf.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "CPluginLibrary.h"
#include "Contract.h"
#include "TempDir.h"

namespace velmora::faults {
namespace {

namespace fs = std::filesystem;

// Where an ELF library may be cut to hurt: inside and at the end of its header, through its
// program headers, at the start and middle of each loaded segment, and just short of its end.
// `wholeUpTo`: where its program headers' and segments' bytes end; cut before, it is no whole
// library.
std::set<size_t> CutPoints(const std::string& elf, size_t& wholeUpTo) {
    std::set<size_t> cuts = {0,
                             1,
                             4,
                             16,
                             52,
                             sizeof(Elf64_Ehdr) - 1,
                             sizeof(Elf64_Ehdr),
                             elf.size() / 2,
                             elf.size() - 1};
    Elf64_Ehdr header;
    if (elf.size() < sizeof header) {
        return cuts;
    }
    std::memcpy(&header, elf.data(), sizeof header);
    wholeUpTo = header.e_phoff + size_t{header.e_phnum} * sizeof(Elf64_Phdr);
    for (size_t i = 0; i <= header.e_phnum; ++i) {
        cuts.insert(header.e_phoff + i * header.e_phentsize);
        cuts.insert(header.e_phoff + i * header.e_phentsize + header.e_phentsize / 2);
        if (i == header.e_phnum || header.e_phoff + (i + 1) * sizeof(Elf64_Phdr) > elf.size()) {
            continue;
        }
        Elf64_Phdr segment;
        std::memcpy(&segment, elf.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        cuts.insert(segment.p_offset);
        cuts.insert(segment.p_offset + segment.p_filesz / 2);
        cuts.insert(segment.p_offset + segment.p_filesz - 1);
        wholeUpTo = std::max<size_t>(wholeUpTo, segment.p_offset + segment.p_filesz);
    }
    cuts.insert(header.e_shoff);
    std::erase_if(cuts, [&](size_t cut) { return cut >= elf.size(); });
    return cuts;
}

// A Windows DLL's start: the MZ header pointing at a PE header further on.
std::string PeStart() {
    std::string pe(0x200, '\0');
    pe[0] = 'M';
    pe[1] = 'Z';
    pe[0x3c] = static_cast<char>(0x80);  // e_lfanew
    std::memcpy(pe.data() + 0x80, "PE\0\0", 4);
    pe[0x84] = static_cast<char>(0x64);  // machine: x86-64
    pe[0x85] = static_cast<char>(0x86);
    return pe;
}

// Asks for the renderer entry, as listing the plugins does, in a child process: 0 when it
// does not count as a renderer, 1 when it does, 128 + signal when the child crashed.
int ListInChild(const std::string& path) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool renderer = config::CPluginLibrary::ExportsEntry(path, emu::kRendererInitEntry);
        const bool sound = config::CPluginLibrary::ExportsEntry(path, emu::kSoundConfigureEntry);
        ::_exit(renderer || sound ? 1 : 0);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(BadPluginTest, ListingNeverCrashesOnFilesThatAreNoWholeLibrary) {
    test::TempDir dir("velmora-plugins");
    const std::string plugin = test::ReadBytes(VELMORA_SAMPLE_RENDERER);
    ASSERT_GT(plugin.size(), sizeof(Elf64_Ehdr));
    ASSERT_EQ(plugin.compare(0, 4, ELFMAG), 0);

    struct File {
        std::string name;
        std::string bytes;
        bool cutShort = false;  // an ELF library without all its segments
    };
    std::vector<File> files = {
        {"librenderer_text.so", "This is not a library.\r\n"},
        {"empty.so", ""},
        {"nul.so", std::string(4096, '\0')},
        {"elf_magic_only.so", ELFMAG},
        {"pe_whole_header.dll", PeStart()},
    };
    for (const size_t cut : {size_t{2}, size_t{0x3c}, size_t{0x40}, size_t{0x82}, size_t{0x86}}) {
        files.push_back({"pe_cut_" + std::to_string(cut) + ".dll", PeStart().substr(0, cut)});
    }
    size_t wholeUpTo = plugin.size();
    for (const size_t cut : CutPoints(plugin, wholeUpTo)) {
        files.push_back(
            {"elf_cut_" + std::to_string(cut) + ".so", plugin.substr(0, cut), cut < wholeUpTo});
    }
    std::printf("%zu files, ELF library of %zu bytes\n", files.size(), plugin.size());

    test::WriteBytes(dir.File("whole.so"), plugin);
    EXPECT_EQ(ListInChild(dir.File("whole.so")), 1) << "the whole library must still list";
    for (const File& file : files) {
        test::WriteBytes(dir.File(file.name), file.bytes);
        const int outcome = ListInChild(dir.File(file.name));
        EXPECT_TRUE(outcome == 0 || outcome == 1) << file.name << ": " << outcome;
        if (file.cutShort) {
            EXPECT_EQ(outcome, 0) << file.name << " counts as a plugin without all its segments";
        }
    }
}

}  // namespace
}  // namespace velmora::faults
