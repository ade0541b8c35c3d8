#pragma once
// Games' settings for the tests: written as Configure game's OK writes them, or made of
// awkward bytes, in folders of their own.

#include <optional>
#include <string>

#include "CGameOptionFiles.h"
#include "FileIo.h"
#include "GameSettings.h"
#include "SettingsCopy.h"
#include "TempDir.h"

namespace velmora::test {

// Bytes no editor would keep: a NUL, a lone CR, 8-bit text, and more than the 32,767 bytes
// the option editors read.
inline std::string AwkwardBytes(char salt) {
    std::string bytes = std::string("--a=1\r\n--nul=") + '\0' + "x\r--lone-cr\r\n--caf\xE9\r\n";
    while (bytes.size() <= 40000) {
        bytes += "--long-" + std::to_string(bytes.size()) + "=" + salt + "\r\n";
    }
    return bytes;
}

// A renderer the tests treat as configuring itself (exporting GPUconfigure); others do not.
inline const std::string kSelfConfiguring = "gl.so";
inline bool TestProbe(const std::string& library) {
    return library.ends_with(kSelfConfiguring);
}

inline const std::string kSnapshotText =
    "REGEDIT4\r\n\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro\\Video]\r\n"
    "\"Width\"=dword:00000280\r\n\"Folder\"=\"C:\\\\Games\\\\\"\r\n";

// The files OK writes for `game` in `dir` with these texts.
inline settings::GameSettings SaveAsOk(const std::string& dir, int game, const std::string& text,
                                       const std::string& renderer, const std::string& rendererText,
                                       const std::string& snapshotText = kSnapshotText) {
    config::CGameOptionFiles files(dir);
    files.m_nGame = game;
    files.m_strOptions = text;
    files.m_strRendererOptions = rendererText;
    files.SaveGameOptions(renderer, TestProbe);
    files.SaveRendererOptions();
    files::WriteAtomically(settings::GameFilePath(dir, game, settings::GameFile::kPluginSettings),
                           snapshotText);
    return settings::ReadGameSettings(dir, game).value();
}

inline void Put(const std::string& dir, int game, const settings::GameSettings& value) {
    for (const settings::GameFile file : settings::kGameFiles) {
        const std::string path = settings::GameFilePath(dir, game, file);
        if (value[file]) {
            WriteBytes(path, *value[file]);
        } else {
            std::filesystem::remove(path);
        }
    }
}

// The game has no files at all.
inline void Clear(const std::string& dir, int game) {
    for (const settings::GameFile file : settings::kGameFiles) {
        std::filesystem::remove(settings::GameFilePath(dir, game, file));
    }
}

inline settings::GameSettings Files(const std::string& dir, int game) {
    return settings::ReadGameSettings(dir, game).value();
}

// An emulator directory with a cfg folder, its path without a trailing separator.
class Folder {
public:
    explicit Folder(const std::string& name = "zinc") {
        m_dir = m_root.Path() / name;
        std::filesystem::create_directories(m_dir / "cfg");
    }
    std::string Str() const { return m_dir.string(); }
    std::string File(const std::string& name) const { return (m_dir / name).string(); }

private:
    TempDir m_root{"velmora-settings", MemoryFolder()};
    std::filesystem::path m_dir;
};

}  // namespace velmora::test
