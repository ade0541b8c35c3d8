#pragma once
// Earlier versions of a game's settings, in cfg/history/<game>/ (cfg/history/012/ for game 12),
// where the emulator never looks. Each version is one settings file (SettingsFile.h) named by
// its number, "7.velmora": written whole under a temporary name, then given its own, so a
// version is either whole or not there at all. Numbers grow with every version kept; the
// newest kMaxVersions versions of a game are kept, the oldest dropped.

#include <optional>
#include <string>
#include <vector>

#include "GameSettings.h"

namespace velmora::settings {

inline constexpr size_t kMaxVersions = 20;

struct StoredVersion {
    int id = 0;
    std::string saved;                     // when it was kept: "YYYY-MM-DD HH:MM:SS"
    std::optional<GameSettings> settings;  // nothing when the file is damaged...
    std::string problem;                   // ...and then why
};

class History {
public:
    explicit History(std::string emulatorDir);

    // cfg/history/<game> with at least three digits.
    std::string Folder(int game) const;
    std::string VersionPath(int game, int id) const;

    // Every version of the game, newest first, each read whole.
    std::vector<StoredVersion> Versions(int game) const;
    // One version; nothing, with the reason, when there is no such version or it is damaged.
    std::optional<GameSettings> Load(int game, int id, std::string* reason) const;

    // Keeps `settings` as the game's newest version and returns its number; nothing, with the
    // folder or file that could not be written and why, when it could not be kept. Makes the
    // cfg folder and the history folders as needed. Drops nothing: see Prune.
    std::optional<int> Keep(int game, const GameSettings& settings, FileProblem* problem = nullptr);
    // Drops the game's oldest versions beyond kMaxVersions.
    void Prune(int game);
    void Drop(int game, int id);

private:
    std::vector<int> Ids(int game) const;  // newest first

    std::string m_emulatorDir;
};

}  // namespace velmora::settings
