#pragma once
// What each of the settings operations does to game kGame, round by round, for the tests that
// kill them: Configure game's OK (with its version kept), a copy from game kSourceGame, an
// import of a settings file, a restore and a removal. The worker runs the rounds; the test
// knows from the same definitions what the game's files were before a round and after it.

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "GameSettings.h"
#include "History.h"
#include "SaveRounds.h"
#include "SettingsFile.h"
#include "SettingsOperations.h"
#include "SettingsWrite.h"

namespace velmora::faults {

inline constexpr int kSourceGame = 7;

enum class SettingsOp { kOk, kCopy, kImport, kRestore, kRemove };
inline constexpr SettingsOp kSettingsOps[] = {SettingsOp::kOk, SettingsOp::kCopy,
                                              SettingsOp::kImport, SettingsOp::kRestore,
                                              SettingsOp::kRemove};

inline const char* OpName(SettingsOp op) {
    const char* names[] = {"ok", "copy", "import", "restore", "remove"};
    return names[static_cast<int>(op)];
}

inline std::optional<SettingsOp> ParseOp(std::string_view name) {
    for (const SettingsOp op : kSettingsOps) {
        if (name == OpName(op)) {
            return op;
        }
    }
    return std::nullopt;
}

// No renderer library is there to ask, so every copy names the renderer options file.
inline bool NoneConfiguresItself(const std::string&) {
    return false;
}

// A game's settings that name the round, of sizes that vary from round to round.
inline settings::GameSettings RoundSettings(int round) {
    char value[16];
    std::snprintf(value, sizeof value, "%08x", static_cast<unsigned>(round));
    settings::GameSettings files;
    files[settings::GameFile::kOptions] =
        Lines(round, "option", 1) + "--renderer=" + RendererName(round) + "\r\n";
    if (round % 5 != 0) {
        files[settings::GameFile::kRendererOptions] = Lines(round, "renderer", 2);
    }
    files[settings::GameFile::kPluginSettings] =
        "REGEDIT4\r\n\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro]\r\n\"Round\"="
        "dword:" +
        std::string(value) + "\r\n";
    return files;
}

// Game kGame's files once round `round` of `op` is done. `okFiles` gives what OK saves.
inline settings::GameSettings RoundResult(
    SettingsOp op, const std::string& dir, int round,
    const std::function<std::array<std::string, kFileKinds>(int)>& okFiles) {
    switch (op) {
        case SettingsOp::kOk: {
            const auto files = okFiles(round);
            return {{files[kGameOptions], files[kRendererOptions], files[kSnapshot]}};
        }
        case SettingsOp::kCopy:
        case SettingsOp::kImport:
            return settings::CopyFor(RoundSettings(round), {}, dir, kGame, {},
                                     NoneConfiguresItself);
        case SettingsOp::kRestore:
            return RoundSettings(round);
        case SettingsOp::kRemove:
            break;
    }
    return round % 2 != 0 ? settings::GameSettings{} : RoundSettings(round);
}

// One round in the worker. What it needs is made first; `writing` is told when the operation
// itself begins, from which point game kGame's files may change.
inline bool RunRound(SettingsOp op, const std::string& dir, reg::RegistryBackend& store, int round,
                     const std::function<bool()>& writing) {
    switch (op) {
        case SettingsOp::kOk: {
            if (!PutPluginSettings(store, round) || !writing()) {
                return false;
            }
            settings::VersionBeforeSave version(dir, kGame);
            const bool saved = SaveFiles(dir, store, round);
            version.Settle();
            return saved && !version.Problem();
        }
        case SettingsOp::kCopy: {
            const settings::GameSettings source = RoundSettings(round);
            for (const settings::GameFile file : settings::kGameFiles) {
                const std::string path = settings::GameFilePath(dir, kSourceGame, file);
                if (!(source[file] ? files::WriteAtomically(path, *source[file])
                                   : (std::remove(path.c_str()), true))) {
                    return false;
                }
            }
            return writing() &&
                   settings::CopySettings(dir, kSourceGame, {kGame}, {}, NoneConfiguresItself).done;
        }
        case SettingsOp::kImport: {
            const std::string file = emu::InDirectory(dir, "import.velmora");
            return files::WriteAtomically(
                       file, settings::WriteSettingsFile(RoundSettings(round), kSourceGame, "Seven",
                                                         "2025-01-02 03:04:05")) &&
                   writing() &&
                   settings::ImportSettings(dir, kGame, file, NoneConfiguresItself).done;
        }
        case SettingsOp::kRestore: {
            const std::optional<int> id = settings::History(dir).Keep(kGame, RoundSettings(round));
            return id && writing() && settings::RestoreSettings(dir, kGame, *id).done;
        }
        case SettingsOp::kRemove:
            break;
    }
    if (!writing()) {
        return false;
    }
    return round % 2 != 0 ? settings::RemoveSettings(dir, kGame).done
                          : settings::WriteGameSettings(dir, kGame, RoundSettings(round)).written;
}

}  // namespace velmora::faults
