#pragma once
// The loops a helper runs until it is killed: saving a game's files round after round, or
// restoring two snapshots in turn. Each finished step is reported as one line on `reportFd`,
// so the test knows how far the helper got when it struck, and where the next one begins. They
// return only on failure.

#include <unistd.h>

#include <cstdio>
#include <string>

#include "SaveRounds.h"
#include "SettingsRounds.h"

namespace velmora::faults {

inline bool Report(int fd, const std::string& line) {
    const std::string text = line + "\n";
    return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

inline int SaveForEver(const std::string& dir, const std::string& storePath, int first,
                       int reportFd) {
    const std::unique_ptr<reg::RegistryBackend> store = reg::OpenSqliteRegistry(storePath);
    if (!store) {
        std::fprintf(stderr, "cannot open the store\n");
        return 1;
    }
    // "+": the round's plugin settings and texts are ready; its files are written from here on.
    for (int round = first;; ++round) {
        if (!PutPluginSettings(*store, round) ||
            !SaveFiles(dir, *store, round, [&] { return Report(reportFd, "+"); }) ||
            !Report(reportFd, std::to_string(round))) {
            std::fprintf(stderr, "round %d was not saved\n", round);
            return 1;
        }
    }
}

// "+": the round's inputs are ready and the operation on game kGame begins.
inline int SettingsForEver(SettingsOp op, const std::string& dir, const std::string& storePath,
                           int first, int reportFd) {
    const std::unique_ptr<reg::RegistryBackend> store = reg::OpenSqliteRegistry(storePath);
    if (!store) {
        std::fprintf(stderr, "cannot open the store\n");
        return 1;
    }
    for (int round = first;; ++round) {
        if (!RunRound(op, dir, *store, round, [&] { return Report(reportFd, "+"); }) ||
            !Report(reportFd, std::to_string(round))) {
            std::fprintf(stderr, "round %d of %s failed\n", round, OpName(op));
            return 1;
        }
    }
}

inline int RestoreForEver(const std::string& storePath, const std::string& first,
                          const std::string& second, int reportFd) {
    const std::unique_ptr<reg::RegistryBackend> store = reg::OpenSqliteRegistry(storePath);
    if (!store) {
        std::fprintf(stderr, "cannot open the store\n");
        return 1;
    }
    for (unsigned i = 0;; ++i) {
        if (!snapshot::RestoreSettingsSnapshot(*store, i % 2 == 0 ? first : second) ||
            !Report(reportFd, std::to_string(i % 2))) {
            std::fprintf(stderr, "restore failed\n");
            return 1;
        }
    }
}

}  // namespace velmora::faults
