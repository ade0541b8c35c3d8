#pragma once
// What differs between two of a game's settings, as a user reads it: the option lines added
// and removed (the managed options left out, since the renderer is shown on its own), the
// renderer before and after, the renderer options' lines, and the plugin values added, removed
// or changed, by key and name. Lines are compared as a multiset: an option's place among the
// others does not count, and files of any length are compared in one pass each.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "GameSettings.h"
#include "PluginValues.h"

namespace velmora::settings {

struct LineChanges {
    std::vector<std::string> added;    // lines of `after` that `before` lacks, in `after`'s order
    std::vector<std::string> removed;  // lines of `before` that `after` lacks, in its order
    bool Empty() const { return added.empty() && removed.empty(); }
};

struct PluginValueChange {
    PluginValueKey key;
    std::optional<std::string> before;  // nothing: the value was added
    std::optional<std::string> after;   // nothing: the value was removed
};

struct SettingsDifference {
    LineChanges options;
    // The renderer before and after, when it changed; an empty name stands for none.
    std::optional<std::pair<std::string, std::string>> renderer;
    LineChanges rendererOptions;
    std::vector<PluginValueChange> pluginValues;
    bool Empty() const {
        return options.Empty() && !renderer && rendererOptions.Empty() && pluginValues.empty();
    }
};

SettingsDifference Difference(const GameSettings& before, const GameSettings& after);

// U+2192 in UTF-8, between a renderer's name before and after.
inline constexpr std::string_view kArrow = " \xE2\x86\x92 ";

// One line: "options: 2 lines changed; renderer: plain.so → gl.so; plugin settings: 3 values
// changed", or "no difference". Renderer names keep their own bytes, with `arrow` between.
std::string Summary(const SettingsDifference& difference, std::string_view arrow = kArrow);

// The whole difference, one change a line: "+ " before an added line or value, "- " before a
// removed one, "* " before a changed value, under a heading per part.
std::vector<std::string> DetailLines(const SettingsDifference& difference,
                                     std::string_view arrow = kArrow);

}  // namespace velmora::settings
