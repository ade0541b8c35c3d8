#include "History.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <random>

#include "Contract.h"
#include "FileSystem.h"
#include "Platform.h"
#include "SettingsFile.h"

namespace velmora::settings {

namespace {

constexpr std::string_view kHistoryDir = "history";
constexpr std::string_view kVersionExtension = ".velmora";

// A version's number from its file name; nothing for any other name (a temporary file).
std::optional<int> VersionId(const std::string& name) {
    if (!name.ends_with(kVersionExtension)) {
        return std::nullopt;
    }
    const std::string_view digits =
        std::string_view(name).substr(0, name.size() - kVersionExtension.size());
    if (digits.empty() || digits.size() > 9 || digits.front() == '0') {
        return std::nullopt;
    }
    int id = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        id = id * 10 + (c - '0');
    }
    return id;
}

// Unique across processes: two Velmoras may keep a version of the same game at once.
std::string TemporaryName() {
    static const unsigned long long processTag = [] {
        std::random_device random;
        return (static_cast<unsigned long long>(random()) << 32) ^ random();
    }();
    static std::atomic<unsigned> counter{0};
    return ".velmora-tmp-" + std::to_string(processTag) + "-" + std::to_string(counter++);
}

}  // namespace

History::History(std::string emulatorDir) : m_emulatorDir(std::move(emulatorDir)) {}

std::string History::Folder(int game) const {
    return emu::InDirectory(
        emu::InDirectory(emu::InDirectory(m_emulatorDir, emu::kCfgDir), kHistoryDir),
        emu::GameNumberText(game));
}

std::string History::VersionPath(int game, int id) const {
    return emu::InDirectory(Folder(game), std::to_string(id) + std::string(kVersionExtension));
}

std::vector<int> History::Ids(int game) const {
    std::vector<int> ids;
    for (const platform::DirectoryEntry& entry :
         platform::ListDirectory(Folder(game)).value_or(std::vector<platform::DirectoryEntry>{})) {
        if (const std::optional<int> id = VersionId(entry.name); id && entry.regularFile) {
            ids.push_back(*id);
        }
    }
    std::sort(ids.rbegin(), ids.rend());
    return ids;
}

std::vector<StoredVersion> History::Versions(int game) const {
    std::vector<StoredVersion> versions;
    for (const int id : Ids(game)) {
        StoredVersion version;
        version.id = id;
        if (std::optional<SettingsFileContents> contents =
                LoadSettingsFile(VersionPath(game, id), &version.problem)) {
            version.saved = std::move(contents->saved);
            version.settings = std::move(contents->settings);
        }
        versions.push_back(std::move(version));
    }
    return versions;
}

std::optional<GameSettings> History::Load(int game, int id, std::string* reason) const {
    const std::vector<int> ids = Ids(game);
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
        if (reason != nullptr) {
            *reason = "There is no such version.";
        }
        return std::nullopt;
    }
    std::optional<SettingsFileContents> contents = LoadSettingsFile(VersionPath(game, id), reason);
    if (!contents) {
        return std::nullopt;
    }
    return std::move(contents->settings);
}

std::optional<int> History::Keep(int game, const GameSettings& settings, FileProblem* problem) {
    const auto fail = [&](std::string path, std::string reason) -> std::optional<int> {
        if (problem != nullptr) {
            *problem = {std::move(path), std::move(reason)};
        }
        return std::nullopt;
    };
    // Only the folders below the emulator directory are made, never the directory itself.
    const std::string cfg = emu::InDirectory(m_emulatorDir, emu::kCfgDir);
    for (const std::string& folder : {cfg, emu::InDirectory(cfg, kHistoryDir), Folder(game)}) {
        if (platform::Failure failure = platform::MakeFolder(folder)) {
            return fail(folder, *failure);
        }
    }
    const std::string bytes =
        WriteSettingsFile(settings, game, {}, LocalTimeText(std::time(nullptr)));
    const std::string temp = emu::InDirectory(Folder(game), TemporaryName());
    bool created = false;
    if (platform::Failure failure = platform::WriteNewFile(temp, bytes, {}, created)) {
        return fail(temp, *failure);
    }
    // Another Velmora may take the same number at the same moment; the one that comes second
    // takes the next.
    const std::vector<int> ids = Ids(game);
    int id = ids.empty() ? 1 : ids.front() + 1;
    for (int attempt = 0; attempt < 100; ++attempt, ++id) {
        const std::string path = VersionPath(game, id);
        platform::Failure failure = platform::MoveToNewName(temp, path);
        if (!failure) {
            return id;
        }
        if (!ReadWholeFile(path).bytes) {
            platform::RemoveFile(temp);
            return fail(path, *failure);
        }
    }
    platform::RemoveFile(temp);
    return fail(Folder(game), "No free number for a new version.");
}

void History::Prune(int game) {
    const std::vector<int> ids = Ids(game);
    for (size_t i = kMaxVersions; i < ids.size(); ++i) {
        platform::RemoveFile(VersionPath(game, ids[i]));
    }
}

void History::Drop(int game, int id) {
    platform::RemoveFile(VersionPath(game, id));
}

}  // namespace velmora::settings
