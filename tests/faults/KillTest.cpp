// A Velmora killed while it saves loses nothing that was saved before: a helper saves the
// per-game files, or restores snapshots into the store, in a loop, and is killed with SIGKILL
// at random moments. After
// every kill each file is the old whole file or the new whole file, the store holds one snapshot
// whole and is not left locked, and nothing a later start would read has appeared in cfg. The
// settings operations (OK with its history, copy, import, restore, removal) are killed the same
// way: once any of the game's files has changed, the files as they were are the game's newest
// version in its history.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Child.h"
#include "GameList.h"
#include "Sanitizers.h"
#include "SaveRounds.h"
#include "SettingsRounds.h"
#include "TempDir.h"

namespace velmora::faults {
namespace {

namespace fs = std::filesystem;

// Under the sanitizers a helper takes several times as long to start and to save; there a
// quarter of the kills checks the same code for memory faults, and the plain build makes the
// full count.
#ifdef VELMORA_ASAN
constexpr int kKills = 50;
constexpr int kKillsPerOperation = 15;
#else
constexpr int kKills = 200;
constexpr int kKillsPerOperation = 60;
#endif

// Names Velmora opens in cfg: the three per-game files of any game.
bool IsPerGameFileName(const std::string& name) {
    static const std::regex perGame("Velmora-?[0-9]+(\\.cfg|_renderer\\.cfg|_registry\\.cfg)",
                                    std::regex::icase);
    return std::regex_match(name, perGame);
}

// Waits for a step worth striking to begin, then strikes at a random moment within it: the
// delay picks where in the step the kill lands, it waits for nothing. A `marked` worker says
// "+" where its step begins (a save's writing, up to its report); otherwise every report
// begins one. Now and then it strikes while the worker is still starting. Returns the last
// round the worker reported, or -1.
class Striker {
public:
    explicit Striker(std::mt19937& random) : m_random(random) {}

    int KillSomewhere(Child& worker, bool marked) {
        using namespace std::chrono;
        std::string line;
        int last = -1;
        const auto read = [&] {
            const bool got = worker.ReadLine(line);
            if (got && line != "+") {
                last = std::stoi(line);
            }
            return got;
        };
        const auto stepBegins = [&] {
            while (read()) {
                if (!marked || line == "+") {
                    return true;
                }
            }
            return false;
        };
        if (m_random() % 8 != 0 && stepBegins()) {
            // Each worker's step is timed, then a later one is struck: its length follows the
            // load. The step struck is the second after the one timed, so in a worker whose
            // rounds alternate between two kinds it is of the kind timed.
            const auto begin = steady_clock::now();
            const bool ended = read();
            const auto step = duration_cast<microseconds>(steady_clock::now() - begin).count();
            if (ended && stepBegins() && (!marked || (read() && stepBegins()))) {
                // Late in the step more often than early: a step's files mostly change near its
                // end, and the kills there are the ones the checks need.
                const double u = std::uniform_real_distribution<double>(0.0, 1.0)(m_random);
                std::this_thread::sleep_for(
                    microseconds(static_cast<long long>(static_cast<double>(step) * (1 - u * u))));
            }
        }
        worker.Kill();
        EXPECT_EQ(worker.Wait(), 128 + SIGKILL) << "the worker ended before it was killed";
        while (read()) {
        }
        return last;
    }

private:
    std::mt19937& m_random;
};

class KillTest : public ::testing::Test {
protected:
    KillTest() {
        fs::create_directories(m_dir.Path() / "zinc" / "cfg");
        fs::create_directories(m_dir.Path() / "scratch" / "cfg");
        const unsigned seed = std::random_device()();
        m_random.seed(seed);
        RecordProperty("seed", std::to_string(seed));
        std::printf("random seed %u\n", seed);
    }

    std::string EmulatorDir() const { return m_dir.File("zinc"); }
    std::string StorePath() const { return m_dir.File("registry.sqlite"); }

    // In memory where there is such a folder: a kill is not a power cut, so the flushes to
    // the disk add nothing but time here.
    test::TempDir m_dir{"velmora-kill", test::MemoryFolder()};
    ExpectedFiles m_expected{m_dir.File("scratch")};
    std::mt19937 m_random;
    Striker m_striker{m_random};
};

TEST_F(KillTest, AKilledSaveLeavesEachFileOldOrNewAndWhole) {
    {
        const auto store = reg::OpenSqliteRegistry(StorePath());
        ASSERT_TRUE(store && PutPluginSettings(*store, 0) && SaveFiles(EmulatorDir(), *store, 0));
    }
    std::array<int, kFileKinds> known = {0, 0, 0};
    std::set<std::string> leftovers;
    int inside = 0;  // kills that struck part-way through a save
    int next = 1;
    for (int kill = 0; kill < kKills; ++kill) {
        Child worker(
            {VELMORA_FAULT_WORKER, "save", EmulatorDir(), StorePath(), std::to_string(next)});
        ASSERT_TRUE(worker.Started());
        const int last = m_striker.KillSomewhere(worker, true);
        const int cut = last >= 0 ? last + 1 : next;  // the round the kill interrupted
        for (int kind = 0; kind < kFileKinds; ++kind) {
            const std::string path = PerGameFile(EmulatorDir(), FileKind(kind));
            const std::vector<int> rounds = {last >= 0 ? last : known[static_cast<size_t>(kind)],
                                             cut};
            const auto round = m_expected.Match(FileKind(kind), test::ReadBytes(path), rounds);
            ASSERT_TRUE(round) << "kill " << kill << ": " << path << " is torn; rounds "
                               << rounds[0] << " and " << rounds[1];
            known[static_cast<size_t>(kind)] = *round;
        }
        // A save struck part-way leaves a temporary file, or some files of the round it cut.
        const auto ofCut = std::count(known.begin(), known.end(), cut);
        bool struck = ofCut > 0 && ofCut < kFileKinds;
        for (const auto& entry : fs::directory_iterator(fs::path(EmulatorDir()) / "cfg")) {
            const std::string name = entry.path().filename().string();
            if (name != fs::path(PerGameFile(EmulatorDir(), FileKind(0))).filename() &&
                name != fs::path(PerGameFile(EmulatorDir(), FileKind(1))).filename() &&
                name != fs::path(PerGameFile(EmulatorDir(), FileKind(2))).filename()) {
                ASSERT_FALSE(IsPerGameFileName(name)) << "a kill left " << name;
                struck = leftovers.insert(name).second || struck;
            }
        }
        inside += struck ? 1 : 0;
        next = cut + 1;
    }
    std::printf("%d kills, %d inside a save; %zu temporary files left behind in cfg\n", kKills,
                inside, leftovers.size());
    // Without a kill inside a save, the checks above saw nothing worth seeing.
    EXPECT_GT(inside, 0) << "no kill landed inside a save";

    // The next start reads the saved files and passes over whatever the kills left.
    EXPECT_TRUE(games::ConfiguredGames(EmulatorDir()).IsConfigured(kGame));
    EXPECT_FALSE(games::ConfiguredGames(EmulatorDir()).IsConfigured(kGame + 1));
    config::CGameOptionFiles files(EmulatorDir());
    files.m_nGame = kGame;
    ASSERT_TRUE(files.LoadGameOptions());
    EXPECT_EQ(files.m_strRenderer, RendererName(known[kGameOptions]));
    const auto store = reg::OpenSqliteRegistry(m_dir.File("fresh.sqlite"));
    ASSERT_TRUE(snapshot::RestoreSettingsSnapshot(*store, PerGameFile(EmulatorDir(), kSnapshot)));
    EXPECT_EQ(snapshot::ExportSnapshotText(*store), m_expected.Settings(known[kSnapshot]));
    // And saves again over the leftovers.
    ASSERT_TRUE(PutPluginSettings(*store, next) && SaveFiles(EmulatorDir(), *store, next));
    for (int kind = 0; kind < kFileKinds; ++kind) {
        EXPECT_EQ(test::ReadBytes(PerGameFile(EmulatorDir(), FileKind(kind))),
                  m_expected.Of(next)[static_cast<size_t>(kind)]);
    }
}

TEST_F(KillTest, AKilledRestoreLeavesTheStoreWithOneSnapshotWhole) {
    const std::string first = m_dir.File("first.cfg");
    const std::string second = m_dir.File("second.cfg");
    test::WriteBytes(first, m_expected.Settings(1));
    test::WriteBytes(second, m_expected.Settings(2));
    {
        const auto store = reg::OpenSqliteRegistry(StorePath());
        ASSERT_TRUE(store && snapshot::RestoreSettingsSnapshot(*store, first));
    }
    for (int kill = 0; kill < kKills; ++kill) {
        Child worker({VELMORA_FAULT_WORKER, "restore", StorePath(), first, second});
        ASSERT_TRUE(worker.Started());
        m_striker.KillSomewhere(worker, false);

        const auto store = reg::OpenSqliteRegistry(StorePath());
        ASSERT_NE(store, nullptr) << "kill " << kill;
        ASSERT_TRUE(store->BeginTransaction()) << "kill " << kill << ": the store stays locked";
        const std::string settings = snapshot::ExportSnapshotText(*store).value_or("<none>");
        store->CommitTransaction();
        ASSERT_TRUE(m_expected.Match(kSnapshot, settings, std::vector<int>{1, 2}))
            << "kill " << kill << ": the plugin settings are mixed:\n"
            << settings;
    }
}

TEST_F(KillTest, AKilledSettingsOperationLeavesTheOldFilesInTheHistoryOnceAnyHasChanged) {
    const std::string dir = EmulatorDir();
    const auto okFiles = [this](int round) { return m_expected.Of(round); };
    const auto files = [&] { return settings::ReadGameSettings(dir, kGame).value(); };
    int next = 1;
    for (const SettingsOp op : kSettingsOps) {
        SCOPED_TRACE(OpName(op));
        int changed = 0;  // kills after which the game's files were no longer the old ones
        int mixed = 0;    // ... and not all new ones either
        int kill = 0;
        // Most kills land before the files begin to change; those after are what count, so
        // the kills go on until a few of them have (within a bound, so a fault cannot hang it).
        for (; kill < kKillsPerOperation || (changed < 3 && kill < 20 * kKillsPerOperation);
             ++kill) {
            const settings::GameSettings start = files();
            const int first = next;
            Child worker({VELMORA_FAULT_WORKER, "settings", OpName(op), dir, StorePath(),
                          std::to_string(first)});
            ASSERT_TRUE(worker.Started());
            const int last = m_striker.KillSomewhere(worker, true);
            const int cut = last >= first ? last + 1 : first;
            const settings::GameSettings old =
                last >= first ? RoundResult(op, dir, last, okFiles) : start;
            const settings::GameSettings whole = RoundResult(op, dir, cut, okFiles);
            const settings::GameSettings now = files();
            for (const settings::GameFile file : settings::kGameFiles) {
                ASSERT_TRUE(now[file] == old[file] || now[file] == whole[file])
                    << "kill " << kill << ": the " << settings::GameFileTitle(file)
                    << " file is torn; rounds " << last << " and " << cut;
            }
            const std::vector<settings::StoredVersion> versions =
                settings::History(dir).Versions(kGame);
            for (const settings::StoredVersion& version : versions) {
                ASSERT_TRUE(version.settings) << "kill " << kill << ": version " << version.id
                                              << " is damaged: " << version.problem;
            }
            // A kill before the oldest are dropped leaves the one or two kept in that round.
            ASSERT_LE(versions.size(), settings::kMaxVersions + 2);
            if (now != old) {
                ++changed;
                mixed += now != whole ? 1 : 0;
                ASSERT_FALSE(versions.empty());
                ASSERT_EQ(versions.front().settings, old)
                    << "kill " << kill << ": the files changed before the old ones were kept";
            }
            next = cut + 1;
        }
        std::printf("%s: %d kills, %d after a change, %d of them part-way\n", OpName(op), kill,
                    changed, mixed);
        EXPECT_GE(changed, 3) << "too few kills landed after the files began to change";
    }
}

}  // namespace
}  // namespace velmora::faults
