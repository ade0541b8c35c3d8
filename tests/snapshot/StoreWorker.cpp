// Restores one snapshot file into a store over and over while another process does the same
// with another file, and checks after each round that the plugin settings key holds one of
// the two snapshots whole. Driven by ConcurrentRestoreTest.
//   snapshot_store_worker <store> <own snapshot> <other snapshot> <rounds>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "CRegSnapshot.h"
#include "FileIo.h"
#include "RegistryBackend.h"
#include "SettingsSnapshot.h"

int main(int argc, char** argv) {
    using namespace velmora;
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s store own other rounds\n", argv[0]);
        return 2;
    }
    const std::optional<std::string> own = files::ReadAll(argv[2]);
    const std::optional<std::string> other = files::ReadAll(argv[3]);
    std::unique_ptr<reg::RegistryBackend> store = reg::OpenSqliteRegistry(argv[1]);
    if (!own || !other || !store) {
        std::fprintf(stderr, "cannot open the store or the snapshots\n");
        return 2;
    }
    const int rounds = std::atoi(argv[4]);
    for (int round = 0; round < rounds; ++round) {
        if (!snapshot::RestoreSettingsSnapshot(*store, argv[2])) {
            std::fprintf(stderr, "round %d: restore failed\n", round);
            return 1;
        }
        if (!store->BeginTransaction()) {
            std::fprintf(stderr, "round %d: no read transaction\n", round);
            return 1;
        }
        const std::optional<std::string> seen = snapshot::ExportSnapshotText(*store);
        store->CommitTransaction();
        if (!seen || (*seen != *own && *seen != *other)) {
            std::fprintf(stderr, "round %d: the key holds neither snapshot:\n%s\n", round,
                         seen.value_or("<unreadable>").c_str());
            return 1;
        }
    }
    return 0;
}
