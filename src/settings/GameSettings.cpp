#include "GameSettings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Contract.h"

namespace velmora::settings {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::string GameFilePath(const std::string& emulatorDir, int game, GameFile file) {
    switch (file) {
        case GameFile::kOptions:
            return emu::GameOptionsFile(emulatorDir, game);
        case GameFile::kRendererOptions:
            return emu::RendererOptionsFile(emulatorDir, game);
        case GameFile::kPluginSettings:
            break;
    }
    return emu::SnapshotFile(emulatorDir, game);
}

std::string_view GameFileTitle(GameFile file) {
    switch (file) {
        case GameFile::kOptions:
            return "options";
        case GameFile::kRendererOptions:
            return "renderer options";
        case GameFile::kPluginSettings:
            break;
    }
    return "plugin settings";
}

WholeFile ReadWholeFile(const std::string& path) {
    // The path's own bytes go to the C library: on Windows that is the ANSI code page, in which
    // the emulator's folder is named.
    errno = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            return {};
        }
        return {std::nullopt, FileProblem{path, std::strerror(error != 0 ? error : EIO)}};
    }
    std::string bytes;
    char buffer[65536];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, read);
    }
    if (std::ferror(file.get()) != 0) {
        const int error = errno != 0 ? errno : EIO;  // a folder of that name: "Is a directory"
        return {std::nullopt, FileProblem{path, std::strerror(error)}};
    }
    return {std::move(bytes), std::nullopt};
}

std::optional<GameSettings> ReadGameSettings(const std::string& emulatorDir, int game,
                                             FileProblem* problem) {
    GameSettings settings;
    for (const GameFile file : kGameFiles) {
        WholeFile read = ReadWholeFile(GameFilePath(emulatorDir, game, file));
        if (read.problem) {
            if (problem != nullptr) {
                *problem = std::move(*read.problem);
            }
            return std::nullopt;
        }
        settings[file] = std::move(read.bytes);
    }
    return settings;
}

}  // namespace velmora::settings
