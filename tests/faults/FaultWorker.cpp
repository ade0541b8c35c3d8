// Saves and restores what a Velmora saves and restores, for tests that kill it or run two at
// once. Each mode reports on standard output, one line per finished step, so the test knows
// how far it got when it struck.
//
//   fault_worker save <emulator dir> <store> <first round>
//       Saves the files of rounds first, first+1, ... for ever (each round puts its plugin
//       settings into the store first); prints the round after its three files are saved.
//   fault_worker restore <store> <snapshot file> <snapshot file>
//       Restores the two files in turn for ever; prints 0 or 1 after each restore.
//   fault_worker session <emulator dir> <store> <own round> <other round> <rounds>
//       Configures and starts the game <rounds> times, as the Configure game dialog's OK and
//       a captured start do, saving the files of <own round>. Checks after each step that
//       every file and the plugin settings are whole files of its own round, the other's
//       or round 0 (the files the test laid out first). Exits 0 when all was well.
//   fault_worker lock <store>
//       Takes the store's write lock, starts replacing the plugin settings, prints "locked"
//       and holds on until its standard input ends; then exits without committing.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ProcessRunner.h"
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

// A configure-and-start cycle, checked at every step. Another process does the same on the
// same folder and store at the same time.
class Session {
public:
    Session(std::string dir, const std::string& storePath, int own, int other)
        : m_dir(std::move(dir)),
          m_store(reg::OpenSqliteRegistry(storePath)),
          m_scratch(std::filesystem::temp_directory_path() /
                    ("velmora-session-" + std::to_string(::getpid()))),
          m_expected((std::filesystem::create_directories(m_scratch / "cfg"), m_scratch.string())),
          m_rounds{0, own, other},
          m_own(own) {}
    ~Session() {
        std::error_code ec;
        std::filesystem::remove_all(m_scratch, ec);
    }

    int Run(int rounds) {
        if (!m_store) {
            return Fail("cannot open the store");
        }
        for (int i = 0; i < rounds; ++i) {
            if (const std::string fault = Cycle(); !fault.empty()) {
                return Fail("cycle " + std::to_string(i) + ": " + fault);
            }
        }
        return 0;
    }

private:
    std::string Cycle() {
        // The dialog opens: this game's plugin settings go back into the store, its files load.
        if (!snapshot::RestoreSettingsSnapshot(*m_store, PerGameFile(m_dir, kSnapshot))) {
            return "restoring the snapshot failed";
        }
        if (std::string fault = CheckStore(); !fault.empty()) {
            return fault;
        }
        config::CGameOptionFiles files(m_dir);
        files.m_nGame = kGame;
        files.LoadGameOptions();
        files.LoadRendererOptions();
        if (std::string fault = CheckFiles(); !fault.empty()) {
            return fault;
        }
        // The user edits, the plugin dialogs change their settings, OK saves it all.
        if (!PutPluginSettings(*m_store, m_own) || !SaveFiles(m_dir, *m_store, m_own)) {
            return "saving failed";
        }
        // Starting the game: the snapshot goes back again, the emulator reads its options.
        if (!snapshot::RestoreSettingsSnapshot(*m_store, PerGameFile(m_dir, kSnapshot))) {
            return "restoring the snapshot for the start failed";
        }
        const games::CaptureResult run =
            games::ProcessRunner(std::chrono::milliseconds(0))
                .RunCaptured(emu::LaunchCommand(m_dir, kGame), games::WindowMode::Shown);
        const std::string marker = "options from " + PerGameFile(m_dir, kGameOptions) + ":\r\n";
        const size_t at = run.text.find(marker);
        if (!run.started || at == std::string::npos) {
            return "the emulator did not read its options file:\n" + run.text;
        }
        if (!m_expected.Match(kGameOptions, run.text.substr(at + marker.size()), m_rounds)) {
            return "the emulator read a torn options file";
        }
        return CheckStore();
    }

    std::string CheckFiles() {
        for (const FileKind kind : {kGameOptions, kRendererOptions, kSnapshot}) {
            const std::string bytes = files::ReadAll(PerGameFile(m_dir, kind)).value_or("<none>");
            if (!m_expected.Match(kind, bytes, m_rounds)) {
                return PerGameFile(m_dir, kind) + " is torn or mixed";
            }
        }
        return {};
    }

    std::string CheckStore() {
        if (!m_store->BeginTransaction()) {
            return "the store stays locked";
        }
        const std::string settings = snapshot::ExportSnapshotText(*m_store).value_or("<none>");
        m_store->CommitTransaction();
        if (!m_expected.Match(kSnapshot, settings, m_rounds)) {
            return "the plugin settings are mixed:\n" + settings;
        }
        return {};
    }

    std::string m_dir;
    std::unique_ptr<reg::RegistryBackend> m_store;
    std::filesystem::path m_scratch;
    ExpectedFiles m_expected;
    std::vector<int> m_rounds;
    int m_own;
};

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
    if (args.size() == 6 && args[0] == "session") {
        Session session(args[1], args[2], std::atoi(args[3].c_str()), std::atoi(args[4].c_str()));
        return session.Run(std::atoi(args[5].c_str()));
    }
    if (args.size() == 2 && args[0] == "lock") {
        return Lock(args[1]);
    }
    std::fprintf(stderr, "usage: see the top of FaultWorker.cpp\n");
    return 2;
}
