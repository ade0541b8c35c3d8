#pragma once
// What the fault helpers save, round by round, and how the tests tell a whole file from a
// torn one. Round i (any int; the two-process test uses one number per process) gives one
// game options text, one renderer options text and one set of plugin settings, of sizes that
// vary from round to round (files of 1 to 33 KB) so that a kill or a rival process meets
// writes of every length.
// The files each round leaves are computed once in a scratch folder and compared byte for
// byte, so the tests hold no copy of the file formats.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "CGameOptionFiles.h"
#include "CRegKeyWalker.h"
#include "CRegSnapshot.h"
#include "Contract.h"
#include "FileIo.h"
#include "RegistryBackend.h"
#include "SettingsSnapshot.h"

namespace velmora::faults {

inline constexpr int kGame = 42;

enum FileKind { kGameOptions, kRendererOptions, kSnapshot, kFileKinds };

inline std::string PerGameFile(const std::string& emulatorDir, FileKind kind) {
    switch (kind) {
        case kGameOptions:
            return emu::GameOptionsFile(emulatorDir, kGame);
        case kRendererOptions:
            return emu::RendererOptionsFile(emulatorDir, kGame);
        default:
            return emu::SnapshotFile(emulatorDir, kGame);
    }
}

inline unsigned Mix(int round, unsigned salt) {
    unsigned x = static_cast<unsigned>(round) * 2654435761u + salt * 40503u;
    x ^= x >> 13;
    return x * 2246822519u;
}

// Lines that name the round, up to a size between about 1 KB and 33 KB.
inline std::string Lines(int round, const char* what, unsigned salt) {
    const size_t size = 1000 + Mix(round, salt) % 32000;
    std::string text;
    for (int line = 0; text.size() < size; ++line) {
        text += "--" + std::string(what) + "-" + std::to_string(line) + "=round " +
                std::to_string(round) + "\r\n";
    }
    return text;
}

inline std::string RendererName(int round) {
    return "librenderer_round" + std::to_string(round) + ".so";
}

// The plugin settings of a round, written straight into `store` (the key replaced whole).
inline bool PutPluginSettings(reg::RegistryBackend& store, int round) {
    if (!store.BeginTransaction()) {
        return false;
    }
    reg::CRegKeyWalker walker(store, reg::kHkeyCurrentUser);
    const std::string key(emu::kPluginSettingsKey);
    walker.DeleteTree(key);
    const unsigned values = 10 + Mix(round, 3) % 50;
    bool ok = true;
    for (unsigned v = 0; v < values; ++v) {
        const std::string sub = key + "\\Plugin" + std::to_string(v % 7);
        ok = ok && walker.WriteDword(sub, "Value" + std::to_string(v),
                                     static_cast<std::uint32_t>(round) * 1000u + v);
        ok = ok &&
             walker.WriteString(sub, "Text" + std::to_string(v), "round " + std::to_string(round));
    }
    return store.CommitTransaction() && ok;
}

// Saves the three files of a round as the Configure game dialog's OK does, given a store
// that already holds the round's plugin settings. The renderer counts as one with its own
// settings dialog, so no path of the folder ends up in the files. `writing` is told when the
// texts are ready and the files are about to be written.
inline bool SaveFiles(const std::string& emulatorDir, reg::RegistryBackend& store, int round,
                      const std::function<bool()>& writing = {}) {
    config::CGameOptionFiles files(emulatorDir);
    files.m_nGame = kGame;
    files.m_strOptions = Lines(round, "option", 1);
    files.m_strRendererOptions = Lines(round, "renderer", 2);
    if (writing && !writing()) {
        return false;
    }
    const bool game =
        files.SaveGameOptions(RendererName(round), [](const std::string&) { return true; });
    const bool renderer = files.SaveRendererOptions();
    return game && renderer &&
           snapshot::SaveSettingsSnapshot(store, PerGameFile(emulatorDir, kSnapshot));
}

// The exact files each round leaves, computed on first use in a private folder.
class ExpectedFiles {
public:
    explicit ExpectedFiles(std::string scratchDir)
        : m_dir(std::move(scratchDir)), m_store(reg::OpenSqliteRegistry(":memory:")) {}

    // Without them no comparison means anything (a vanished file would match an empty one),
    // so a scratch save that fails ends the program.
    const std::array<std::string, kFileKinds>& Of(int round) {
        auto it = m_rounds.find(round);
        if (it == m_rounds.end()) {
            bool saved =
                m_store && PutPluginSettings(*m_store, round) && SaveFiles(m_dir, *m_store, round);
            std::array<std::string, kFileKinds> files;
            for (size_t kind = 0; kind < kFileKinds; ++kind) {
                files[kind] = files::ReadAll(PerGameFile(m_dir, FileKind(kind))).value_or("");
                saved = saved && !files[kind].empty();
            }
            if (!saved) {
                std::fprintf(stderr, "the scratch save of round %d failed\n", round);
                std::abort();
            }
            it = m_rounds.emplace(round, std::move(files)).first;
        }
        return it->second;
    }

    // The plugin settings key of a round as a snapshot text.
    const std::string& Settings(int round) { return Of(round)[kSnapshot]; }

    // Which of `rounds` left exactly `bytes` as a file of this kind.
    template <typename Rounds>
    std::optional<int> Match(FileKind kind, const std::string& bytes, const Rounds& rounds) {
        for (const int round : rounds) {
            if (Of(round)[kind] == bytes) {
                return round;
            }
        }
        return std::nullopt;
    }

private:
    std::string m_dir;
    std::unique_ptr<reg::RegistryBackend> m_store;
    std::map<int, std::array<std::string, kFileKinds>> m_rounds;
};

}  // namespace velmora::faults
