// Saves and restores what a Velmora saves and restores, for tests that kill it or lock the
// store. Each mode reports on standard output, one line per finished step, so the test knows
// how far it got when it struck. No Qt here: it starts hundreds of times a test.
//
//   fault_worker save <emulator dir> <store> <first round>
//       Saves the files of rounds first, first+1, ... for ever (each round puts its plugin
//       settings into the store first); prints "+" as it starts on a round's files, and the
//       round once its three files are saved.
//   fault_worker restore <store> <snapshot file> <snapshot file>
//       Restores the two files in turn for ever; prints 0 or 1 after each restore.
//   fault_worker settings <ok|copy|import|restore|remove> <emulator dir> <store> <first round>
//       Runs the settings operation on game 42, round after round, for ever; prints "+" as
//       the operation itself begins, and the round once it is done.
//   fault_worker lock <store>
//       Takes the store's write lock, starts replacing the plugin settings, prints "locked"
//       and holds on until its standard input ends; then exits without committing.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FaultLoops.h"

namespace {

using namespace velmora;
using namespace velmora::faults;

void Report(const std::string& line) {
    if (!faults::Report(STDOUT_FILENO, line)) {
        std::_Exit(3);
    }
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "fault_worker: %s\n", what.c_str());
    return 1;
}

int Lock(const std::string& storePath) {
    const std::unique_ptr<reg::RegistryBackend> store = reg::OpenSqliteRegistry(storePath);
    if (!store || !store->BeginTransaction()) {
        return Fail("cannot lock the store");
    }
    reg::CRegKeyWalker(*store, reg::kHkeyCurrentUser)
        .WriteDword(std::string(emu::kPluginSettingsKey) + "\\Locker", "Half", 1);
    Report("locked");
    char byte;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    store->RollbackTransaction();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 4 && args[0] == "save") {
        return SaveForEver(args[1], args[2], std::atoi(args[3].c_str()), STDOUT_FILENO);
    }
    if (args.size() == 4 && args[0] == "restore") {
        return RestoreForEver(args[1], args[2], args[3], STDOUT_FILENO);
    }
    if (args.size() == 5 && args[0] == "settings" && ParseOp(args[1])) {
        return SettingsForEver(*ParseOp(args[1]), args[2], args[3], std::atoi(args[4].c_str()),
                               STDOUT_FILENO);
    }
    if (args.size() == 2 && args[0] == "lock") {
        return Lock(args[1]);
    }
    std::fprintf(stderr, "usage: see the top of FaultWorker.cpp\n");
    return 2;
}
