#include "SettingsCopy.h"

#include "CPluginLibrary.h"
#include "Contract.h"
#include "ManagedOptions.h"

namespace velmora::settings {

bool RendererConfiguresItself(const std::string& libraryPath) {
    return config::CPluginLibrary::ExportsEntry(libraryPath, emu::kRendererConfigureEntry);
}

OptionsText SplitOptions(const std::optional<std::string>& optionsFile) {
    if (!optionsFile) {
        return {};
    }
    // Every managed option goes, not only the first of each: no copy may keep a path that
    // belongs to the source's folder or game.
    OptionsText split{*optionsFile, std::nullopt};
    split.renderer = config::CutEveryManagedOption(*split.text);
    return split;
}

std::optional<std::string> ComposeOptions(const OptionsText& options,
                                          const std::string& emulatorDir, int game,
                                          const ConfigureProbe& probe) {
    if (!options.text && !options.renderer) {
        return std::nullopt;
    }
    std::string bytes = options.text.value_or(std::string());
    if (!options.renderer) {
        return bytes;
    }
    // OK puts the block after the text with its trailing white space trimmed. Here the text
    // keeps every byte, so the block's own leading line end is left out where the text ends
    // a line already: a file OK wrote comes out exactly as OK would write it for this game.
    const bool configuresItself = probe && probe(emu::InDirectory(emulatorDir, *options.renderer));
    std::string block =
        config::ManagedRendererBlock(emulatorDir, game, *options.renderer, configuresItself);
    if (!bytes.empty() && bytes.back() == '\n') {
        block.erase(0, 2);
    }
    return bytes + block;
}

GameSettings CopyFor(const GameSettings& source, const GameSettings& current,
                     const std::string& emulatorDir, int game, SettingsParts parts,
                     const ConfigureProbe& probe) {
    GameSettings copy = current;
    if (parts.emulatorOptions || parts.renderer) {
        const OptionsText from = SplitOptions(source[GameFile::kOptions]);
        OptionsText options = SplitOptions(current[GameFile::kOptions]);
        if (parts.emulatorOptions) {
            options.text = from.text;
        }
        if (parts.renderer) {
            options.renderer = from.renderer;
        }
        copy[GameFile::kOptions] = ComposeOptions(options, emulatorDir, game, probe);
    }
    if (parts.renderer) {
        copy[GameFile::kRendererOptions] = source[GameFile::kRendererOptions];
    }
    if (parts.pluginSettings) {
        copy[GameFile::kPluginSettings] = source[GameFile::kPluginSettings];
    }
    return copy;
}

}  // namespace velmora::settings
