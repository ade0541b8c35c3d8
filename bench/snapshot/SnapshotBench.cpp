// Saving and restoring a plugin settings tree of 100 keys with 100 values each (10,000 values:
// numbers, folder texts and 16-byte tables in turn), against the store's own bulk write of
// the same values in one transaction, measured in the same run. A save or a restore should
// cost at most three times that write; the ratios are printed at the end.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "CRegKeyWalker.h"
#include "RegistryBackend.h"
#include "SettingsSnapshot.h"

namespace {

using namespace velmora;
namespace fs = std::filesystem;

const std::string kPluginKey = "Software\\Vision Thing\\PSEmu Pro";
constexpr int kKeys = 100;
constexpr int kValuesPerKey = 100;

struct Value {
    std::string name;
    std::uint32_t type;
    std::string bytes;
};

struct Key {
    std::string path;
    std::vector<Value> values;
};

std::vector<Key> MakeTree() {
    std::vector<Key> tree;
    for (int k = 0; k < kKeys; ++k) {
        Key key{kPluginKey + "\\Plugin" + std::to_string(k), {}};
        for (int v = 0; v < kValuesPerKey; ++v) {
            Value value{"Setting" + std::to_string(v), reg::kRegDword, {}};
            if (v % 3 == 0) {
                const std::uint32_t number = static_cast<std::uint32_t>(k * 1000 + v);
                value.bytes.assign(reinterpret_cast<const char*>(&number), 4);
            } else if (v % 3 == 1) {
                value.type = reg::kRegSz;
                value.bytes = "C:\\Games\\ZiNc\\plugin" + std::to_string(k) + "\\file" +
                              std::to_string(v) + std::string(1, '\0');
            } else {
                value.type = reg::kRegBinary;
                for (int i = 0; i < 16; ++i) {
                    value.bytes += static_cast<char>(k + v + i);
                }
            }
            key.values.push_back(value);
        }
        tree.push_back(key);
    }
    return tree;
}

class Workspace {
public:
    Workspace() {
        std::random_device random;
        m_dir = fs::temp_directory_path() / ("velmora-bench-" + std::to_string(random()));
        fs::create_directories(m_dir);
        store = reg::OpenSqliteRegistry((m_dir / "registry.sqlite").string());
        snapshotFile = (m_dir / "Velmora001_registry.cfg").string();
    }
    ~Workspace() {
        store.reset();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    void Clear() {
        store->BeginTransaction();
        reg::CRegKeyWalker(*store, reg::kHkeyCurrentUser).DeleteTree(kPluginKey);
        store->CommitTransaction();
    }

    // The values written straight through the store: one transaction, one open key per key.
    bool BulkWrite(const std::vector<Key>& tree) {
        bool ok = store->BeginTransaction();
        for (const Key& key : tree) {
            reg::HKey handle = 0;
            ok = ok && store->CreateKey(reg::kHkeyCurrentUser, key.path, reg::kKeyWrite, &handle) ==
                           reg::kErrorSuccess;
            for (const Value& value : key.values) {
                ok =
                    ok && store->SetValue(handle, value.name, value.type,
                                          reinterpret_cast<const std::uint8_t*>(value.bytes.data()),
                                          static_cast<std::uint32_t>(value.bytes.size())) ==
                              reg::kErrorSuccess;
            }
            store->CloseKey(handle);
        }
        return store->CommitTransaction() && ok;
    }

    std::unique_ptr<reg::RegistryBackend> store;
    std::string snapshotFile;

private:
    fs::path m_dir;
};

const std::vector<Key>& Tree() {
    static const std::vector<Key> tree = MakeTree();
    return tree;
}

void StoreBulkWrite(benchmark::State& state) {
    Workspace space;
    for (auto _ : state) {
        state.PauseTiming();
        space.Clear();
        state.ResumeTiming();
        if (!space.BulkWrite(Tree())) {
            state.SkipWithError("bulk write failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kKeys * kValuesPerKey);
}

void SaveSnapshot(benchmark::State& state) {
    Workspace space;
    space.BulkWrite(Tree());
    for (auto _ : state) {
        if (!snapshot::SaveSettingsSnapshot(*space.store, space.snapshotFile)) {
            state.SkipWithError("save failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kKeys * kValuesPerKey);
    state.counters["file_bytes"] = static_cast<double>(fs::file_size(space.snapshotFile));
}

void RestoreSnapshot(benchmark::State& state) {
    Workspace space;
    space.BulkWrite(Tree());
    snapshot::SaveSettingsSnapshot(*space.store, space.snapshotFile);
    for (auto _ : state) {
        if (!snapshot::RestoreSettingsSnapshot(*space.store, space.snapshotFile)) {
            state.SkipWithError("restore failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kKeys * kValuesPerKey);
}

void SaveAndRestoreSnapshot(benchmark::State& state) {
    Workspace space;
    space.BulkWrite(Tree());
    for (auto _ : state) {
        if (!snapshot::SaveSettingsSnapshot(*space.store, space.snapshotFile) ||
            !snapshot::RestoreSettingsSnapshot(*space.store, space.snapshotFile)) {
            state.SkipWithError("save or restore failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kKeys * kValuesPerKey);
}

BENCHMARK(StoreBulkWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveSnapshot)->Unit(benchmark::kMillisecond);
BENCHMARK(RestoreSnapshot)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveAndRestoreSnapshot)->Unit(benchmark::kMillisecond);

// The console output plus each benchmark's time as a multiple of the bulk write's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions, the mean stands for the benchmark.
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration;
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if ((single || mean) && !run.error_occurred) {
                m_times[run.run_name.str()] = run.GetAdjustedRealTime();
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto base = m_times.find("StoreBulkWrite");
        if (base == m_times.end() || base->second <= 0) {
            return;
        }
        for (const auto& [name, time] : m_times) {
            std::printf("%-24s %6.2fx the store's bulk write (target: at most 3x)\n", name.c_str(),
                        time / base->second);
        }
    }

private:
    std::map<std::string, double> m_times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
