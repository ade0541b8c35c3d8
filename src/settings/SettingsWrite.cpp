#include "SettingsWrite.h"

#include "Contract.h"
#include "FileIo.h"
#include "FileSystem.h"

namespace velmora::settings {

namespace {

// Writes or removes one file, as `bytes` has it.
std::optional<FileProblem> Put(const std::string& path, const std::optional<std::string>& bytes) {
    std::string reason;
    if (bytes) {
        if (!files::WriteAtomically(path, *bytes, &reason)) {
            return FileProblem{path, reason};
        }
    } else if (platform::Failure failure = platform::RemoveIfThere(path)) {
        return FileProblem{path, *failure};
    }
    return std::nullopt;
}

}  // namespace

WriteOutcome WriteGameSettings(const std::string& emulatorDir, int game, const GameSettings& next) {
    WriteOutcome outcome;
    FileProblem problem;
    const std::optional<GameSettings> current = ReadGameSettings(emulatorDir, game, &problem);
    if (!current) {
        outcome.problem = problem;  // what cannot be read cannot be kept
        return outcome;
    }
    if (*current == next) {
        outcome.written = true;
        return outcome;
    }
    History history(emulatorDir);
    outcome.version = history.Keep(game, *current, &problem);
    if (!outcome.version) {
        outcome.problem = problem;
        return outcome;
    }
    for (size_t i = 0; i < kGameFiles.size(); ++i) {
        const GameFile file = kGameFiles[i];
        if ((*current)[file] == next[file]) {
            continue;
        }
        outcome.problem = Put(GameFilePath(emulatorDir, game, file), next[file]);
        if (outcome.problem) {
            // The game goes back to its old files, rather than keep some of each; the version
            // then holds nothing the files do not.
            bool back = true;
            for (size_t j = 0; j < i; ++j) {
                const GameFile earlier = kGameFiles[j];
                back = !Put(GameFilePath(emulatorDir, game, earlier), (*current)[earlier]) && back;
            }
            outcome.changed = !back;
            if (back) {
                history.Drop(game, *outcome.version);
                outcome.version.reset();
            }
            return outcome;
        }
        outcome.changed = true;
    }
    outcome.written = true;
    history.Prune(game);
    return outcome;
}

VersionBeforeSave::VersionBeforeSave(const std::string& emulatorDir, int game)
    : m_emulatorDir(emulatorDir), m_game(game), m_history(emulatorDir) {
    if (emulatorDir.empty()) {
        return;  // no folder to keep anything in, and none is made
    }
    FileProblem problem;
    m_before = ReadGameSettings(emulatorDir, game, &problem);
    if (m_before) {
        m_version = m_history.Keep(game, *m_before, &problem);
    }
    if (!m_version) {
        m_problem = problem;
    }
}

void VersionBeforeSave::Settle() {
    if (!m_before) {
        return;
    }
    const bool unchanged = ReadGameSettings(m_emulatorDir, m_game) == m_before;
    if (m_version && unchanged) {
        m_history.Drop(m_game, *m_version);
    } else if (m_version) {
        m_history.Prune(m_game);
    } else if (unchanged) {
        m_problem.reset();  // nothing was lost: there was nothing to keep
    }
    m_before.reset();
    m_version.reset();
}

void HistoryGuard::BeforeSave(const std::string& emulatorDir, int game) {
    m_version.emplace(emulatorDir, game);
}

std::optional<files::SaveFailure> HistoryGuard::AfterSave() {
    if (!m_version) {
        return std::nullopt;
    }
    m_version->Settle();
    std::optional<files::SaveFailure> unkept;
    if (const std::optional<FileProblem>& problem = m_version->Problem()) {
        unkept = files::SaveFailure{problem->path, problem->reason};
    }
    m_version.reset();
    return unkept;
}

}  // namespace velmora::settings
