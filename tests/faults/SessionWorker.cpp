// A second Velmora for the two-process test: configures and starts the game over and over,
// as the Configure game dialog's OK and a captured start do, on the same emulator folder and
// plugin settings store as another such process.
//
//   session_worker <emulator dir> <store> <own round> <other round> <cycles>
//       Saves the files of <own round> each cycle and checks after each step that every file
//       and the plugin settings are whole files of its own round, the other's or round 0
//       (the files the test laid out first). Exits 0 when all was well.

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

int Fail(const std::string& what) {
    std::fprintf(stderr, "session_worker: %s\n", what.c_str());
    return 1;
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: see the top of SessionWorker.cpp\n");
        return 2;
    }
    Session session(argv[1], argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    return session.Run(std::atoi(argv[5]));
}
