// Saves and restores what a Velmora saves and restores, for tests that kill it or lock the
// store. Each mode reports on standard output, one line per finished step, so the test knows
// how far it got when it struck. No Qt here: it starts 200 times a test, and quickly.
//
//   fault_worker save <emulator dir> <store> <first round>
//       Saves the files of rounds first, first+1, ... for ever (each round puts its plugin
//       settings into the store first); prints the round after its three files are saved.
//   fault_worker restore <store> <snapshot file> <snapshot file>
//       Restores the two files in turn for ever; prints 0 or 1 after each restore.
//   fault_worker lock <store>
//       Takes the store's write lock, starts replacing the plugin settings, prints "locked"
//       and holds on until its standard input ends; then exits without committing.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "SaveRounds.h"

namespace {

using namespace velmora;
using namespace velmora::faults;

void Report(const std::string& line) {
    const std::string text = line + "\n";
    if (::write(STDOUT_FILENO, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        std::_Exit(3);
    }
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "fault_worker: %s\n", what.c_str());
    return 1;
}

int Save(const std::string& dir, const std::string& storePath, int first) {
    const std::unique_ptr<reg::RegistryBackend> store = reg::OpenSqliteRegistry(storePath);
    if (!store) {
        return Fail("cannot open the store");
    }
    for (int round = first;; ++round) {
        if (!PutPluginSettings(*store, round) || !SaveFiles(dir, *store, round)) {
            return Fail("round " + std::to_string(round) + " was not saved");
        }
        Report(std::to_string(round));
    }
}

int Restore(const std::string& storePath, const std::string& first, const std::string& second) {
    const std::unique_ptr<reg::RegistryBackend> store = reg::OpenSqliteRegistry(storePath);
    if (!store) {
        return Fail("cannot open the store");
    }
    for (unsigned i = 0;; ++i) {
        if (!snapshot::RestoreSettingsSnapshot(*store, i % 2 == 0 ? first : second)) {
            return Fail("restore failed");
        }
        Report(std::to_string(i % 2));
    }
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
        return Save(args[1], args[2], std::atoi(args[3].c_str()));
    }
    if (args.size() == 4 && args[0] == "restore") {
        return Restore(args[1], args[2], args[3]);
    }
    if (args.size() == 2 && args[0] == "lock") {
        return Lock(args[1]);
    }
    std::fprintf(stderr, "usage: see the top of FaultWorker.cpp\n");
    return 2;
}
