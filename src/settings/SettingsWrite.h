#pragma once
// The one way Velmora's settings operations change a game's files (copy, import, restore,
// removal): today's files are first kept as a version in the history, whole; then each new
// file is written whole in one step (files::WriteAtomically) and each file the new settings
// lack is removed. A crash or a kill at any moment thus leaves every file either as it was or
// as it was meant to be, and once any of them has changed, the old ones are in the history.

#include <optional>
#include <string>

#include "GameSettings.h"
#include "History.h"
#include "SaveGuard.h"

namespace velmora::settings {

struct WriteOutcome {
    bool written = false;        // the files are the new settings now (also when they were already)
    bool changed = false;        // some file was changed
    std::optional<int> version;  // the version that keeps the old files
    std::optional<FileProblem> problem;  // why not
};

// Replaces game `game`'s files in `emulatorDir` by `next`. Nothing is written, and nothing
// kept, when the files already are `next`. When a file cannot be written, the files written
// before it are put back as they were.
WriteOutcome WriteGameSettings(const std::string& emulatorDir, int game, const GameSettings& next);

// For a save that writes the game's files itself (Configure game's OK): made before the save,
// it keeps today's files as a version; Settle, after the save, drops that version again when
// no byte has changed. Without an emulator directory it keeps nothing.
class VersionBeforeSave {
public:
    VersionBeforeSave(const std::string& emulatorDir, int game);
    VersionBeforeSave(const VersionBeforeSave&) = delete;
    VersionBeforeSave& operator=(const VersionBeforeSave&) = delete;
    ~VersionBeforeSave() = default;

    void Settle();
    // Why the files could not be kept (or read), when they could not and, once settled, the
    // save changed them.
    const std::optional<FileProblem>& Problem() const { return m_problem; }

private:
    std::string m_emulatorDir;
    int m_game;
    History m_history;
    std::optional<GameSettings> m_before;
    std::optional<int> m_version;
    std::optional<FileProblem> m_problem;
};

// Configure game's OK keeps the game's files as they were in its history, as every other
// change does.
class HistoryGuard : public config::SaveGuard {
public:
    void BeforeSave(const std::string& emulatorDir, int game) override;
    std::optional<files::SaveFailure> AfterSave() override;

private:
    std::optional<VersionBeforeSave> m_version;
};

}  // namespace velmora::settings
