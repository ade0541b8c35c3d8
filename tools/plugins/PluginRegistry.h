#pragma once
// The sample plugins' way to their settings: one subkey below the plugin settings key, read
// whole and written whole, as a real plugin does through the registry. No Qt.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::sample {

class PluginKey {
public:
    // `subkey` is the plugin's own key, e.g. "Renderer", below the plugin settings key.
    explicit PluginKey(std::string_view subkey);

    // Reads every value of the key. A missing key reads as no values.
    void Load();
    // Creates the key when needed and writes every value set since Load, all in one go.
    // Registry failures are passed over, as plugins do.
    void Save() const;

    std::uint32_t Dword(const std::string& name, std::uint32_t fallback) const;
    std::string String(const std::string& name, const std::string& fallback) const;
    void SetDword(const std::string& name, std::uint32_t value);
    void SetString(const std::string& name, const std::string& text);

    const std::string& Path() const { return m_path; }

private:
    // Only the two types the sample plugins store; values of other types read as missing.
    struct Value {
        bool isDword = false;
        std::uint32_t number = 0;
        std::string text;
    };
    void Set(const std::string& name, Value value);

    std::string m_path;
    std::map<std::string, Value> m_values;
    std::vector<std::string> m_changed;
};

// The test mode: the value of VELMORA_SAMPLE_PLUGIN_AUTO when set (possibly empty).
std::optional<std::string> AutoSettings();

// "Width=800;Fullscreen=1;TextureFolder=C:\tex\" as name and value pairs, in order. Pieces
// without "=" are dropped; nothing is trimmed or unescaped.
std::vector<std::pair<std::string, std::string>> ParseAssignments(std::string_view text);

// A decimal number that fits 32 bits, or nothing.
std::optional<std::uint32_t> ParseDword(const std::string& text);

}  // namespace velmora::sample
