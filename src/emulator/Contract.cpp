#include "Contract.h"

#include <climits>
#include <cstdio>

#include "Platform.h"
#include "TextRules.h"

namespace velmora::emu {

namespace {

std::string PerGameFileName(int game, std::string_view suffix) {
    std::string name = "Velmora" + GameNumberText(game);
    name += suffix;
    return name;
}

std::string PerGameFile(const std::string& emulatorDir, int game, std::string_view suffix) {
    return InDirectory(InDirectory(emulatorDir, kCfgDir), PerGameFileName(game, suffix));
}

}  // namespace

int LeadingNumber(std::string_view text) {
    const text::NumberStart start = text::SkipToDigits(text);
    long long value = 0;
    for (size_t i = start.digits; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value <= INT_MAX) {
            value = value * 10 + (text[i] - '0');
        }
    }
    if (start.negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::string GameNumberText(int game) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%03d", game);
    return buffer;
}

std::string InDirectory(const std::string& dir, std::string_view name) {
    std::string path = dir;
    path += platform::kPathSeparator;
    path += name;
    return path;
}

std::string EmulatorPath(const std::string& emulatorDir) {
    return emulatorDir.empty() ? std::string(kEmulatorExe) : InDirectory(emulatorDir, kEmulatorExe);
}

std::string GameOptionsFile(const std::string& emulatorDir, int game) {
    return PerGameFile(emulatorDir, game, ".cfg");
}

std::string GameOptionsFileName(int game) {
    return PerGameFileName(game, ".cfg");
}

std::string RendererOptionsFile(const std::string& emulatorDir, int game) {
    return PerGameFile(emulatorDir, game, "_renderer.cfg");
}

std::string SnapshotFile(const std::string& emulatorDir, int game) {
    return PerGameFile(emulatorDir, game, "_registry.cfg");
}

Command ListGamesCommand(const std::string& emulatorPath, const std::string& emulatorDir) {
    return {emulatorPath, {std::string(kListGamesArg)}, emulatorDir};
}

Command HelpTextCommand(const std::string& emulatorPath, const std::string& emulatorDir) {
    return {emulatorPath, {}, emulatorDir};
}

Command LaunchCommand(const std::string& emulatorDir, int game) {
    // The launch always names <dir>/ZINC.EXE, even when the directory is unknown.
    return {InDirectory(emulatorDir, kEmulatorExe),
            {std::to_string(game),
             std::string(kUseConfigFileOption) + GameOptionsFile(emulatorDir, game)},
            emulatorDir};
}

}  // namespace velmora::emu
