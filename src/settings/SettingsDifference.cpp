#include "SettingsDifference.h"

#include <algorithm>
#include <map>

#include "SettingsCopy.h"

namespace velmora::settings {

namespace {

// A text's lines without their line ends (CR LF, LF or a lone CR), empty lines left out.
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (end > begin) {
            lines.emplace_back(text.substr(begin, end - begin));
        }
        begin = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
    }
    return lines;
}

// Lines of `to` that `from` lacks, counting repeated lines one by one.
std::vector<std::string> Missing(const std::vector<std::string>& from,
                                 const std::vector<std::string>& to) {
    std::map<std::string_view, int> count;
    for (const std::string& line : from) {
        ++count[line];
    }
    std::vector<std::string> missing;
    for (const std::string& line : to) {
        if (int& left = count[line]; left > 0) {
            --left;
        } else {
            missing.push_back(line);
        }
    }
    return missing;
}

LineChanges CompareLines(std::string_view before, std::string_view after) {
    const std::vector<std::string> a = Lines(before);
    const std::vector<std::string> b = Lines(after);
    return {Missing(a, b), Missing(b, a)};
}

std::string Counted(size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// "2 lines changed", "1 line added", "1 line changed, 2 removed": a removed line and an added
// one make a changed line.
std::string LineSummary(const LineChanges& changes) {
    const size_t changed = std::min(changes.added.size(), changes.removed.size());
    const size_t added = changes.added.size() - changed;
    const size_t removed = changes.removed.size() - changed;
    std::vector<std::string> parts;
    if (changed > 0) {
        parts.push_back(Counted(changed, "line", "lines") + " changed");
    }
    if (added > 0) {
        parts.push_back((parts.empty() ? Counted(added, "line", "lines") : std::to_string(added)) +
                        " added");
    }
    if (removed > 0) {
        parts.push_back(
            (parts.empty() ? Counted(removed, "line", "lines") : std::to_string(removed)) +
            " removed");
    }
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

std::string RendererName(const std::string& name) {
    return name.empty() ? "none" : name;
}

}  // namespace

SettingsDifference Difference(const GameSettings& before, const GameSettings& after) {
    SettingsDifference difference;
    const OptionsText a = SplitOptions(before[GameFile::kOptions]);
    const OptionsText b = SplitOptions(after[GameFile::kOptions]);
    difference.options = CompareLines(a.text.value_or(""), b.text.value_or(""));
    if (a.renderer.value_or("") != b.renderer.value_or("")) {
        difference.renderer = {a.renderer.value_or(""), b.renderer.value_or("")};
    }
    difference.rendererOptions = CompareLines(before[GameFile::kRendererOptions].value_or(""),
                                              after[GameFile::kRendererOptions].value_or(""));

    const PluginValues from = ReadPluginValues(before[GameFile::kPluginSettings].value_or(""));
    const PluginValues to = ReadPluginValues(after[GameFile::kPluginSettings].value_or(""));
    // Both maps are sorted by key and name: one walk through the two finds every change.
    auto i = from.begin();
    auto j = to.begin();
    while (i != from.end() || j != to.end()) {
        if (j == to.end() || (i != from.end() && i->first < j->first)) {
            difference.pluginValues.push_back({i->first, i->second, std::nullopt});
            ++i;
        } else if (i == from.end() || j->first < i->first) {
            difference.pluginValues.push_back({j->first, std::nullopt, j->second});
            ++j;
        } else {
            if (i->second != j->second) {
                difference.pluginValues.push_back({i->first, i->second, j->second});
            }
            ++i;
            ++j;
        }
    }
    return difference;
}

std::string Summary(const SettingsDifference& difference, std::string_view arrow) {
    std::vector<std::string> parts;
    if (!difference.options.Empty()) {
        parts.push_back("options: " + LineSummary(difference.options));
    }
    if (difference.renderer) {
        parts.push_back("renderer: " + RendererName(difference.renderer->first) +
                        std::string(arrow) + RendererName(difference.renderer->second));
    }
    if (!difference.rendererOptions.Empty()) {
        parts.push_back("renderer options: " + LineSummary(difference.rendererOptions));
    }
    if (!difference.pluginValues.empty()) {
        size_t added = 0;
        size_t removed = 0;
        for (const PluginValueChange& change : difference.pluginValues) {
            added += change.before ? 0 : 1;
            removed += change.after ? 0 : 1;
        }
        const size_t changed = difference.pluginValues.size() - added - removed;
        std::string text;
        for (const auto& [count, what] : {std::pair{changed, "changed"}, std::pair{added, "added"},
                                          std::pair{removed, "removed"}}) {
            if (count > 0) {
                text += (text.empty() ? Counted(count, "value", "values")
                                      : ", " + std::to_string(count)) +
                        " " + what;
            }
        }
        parts.push_back("plugin settings: " + text);
    }
    if (parts.empty()) {
        return "no difference";
    }
    std::string summary;
    for (const std::string& part : parts) {
        summary += (summary.empty() ? "" : "; ") + part;
    }
    return summary;
}

std::vector<std::string> DetailLines(const SettingsDifference& difference, std::string_view arrow) {
    std::vector<std::string> lines;
    const auto addLines = [&](std::string_view heading, const LineChanges& changes) {
        if (changes.Empty()) {
            return;
        }
        lines.emplace_back(heading);
        for (const std::string& line : changes.added) {
            lines.push_back("+ " + line);
        }
        for (const std::string& line : changes.removed) {
            lines.push_back("- " + line);
        }
    };
    addLines("Options:", difference.options);
    if (difference.renderer) {
        lines.push_back("Renderer: " + RendererName(difference.renderer->first) +
                        std::string(arrow) + RendererName(difference.renderer->second));
    }
    addLines("Renderer options:", difference.rendererOptions);
    if (!difference.pluginValues.empty()) {
        lines.emplace_back("Plugin settings:");
        for (const PluginValueChange& change : difference.pluginValues) {
            if (!change.before) {
                lines.push_back("+ " + PluginValueLine(change.key, *change.after));
            } else if (!change.after) {
                lines.push_back("- " + PluginValueLine(change.key, *change.before));
            } else {
                lines.push_back("* " + PluginValueLine(change.key, *change.before) +
                                std::string(arrow) + OnOneLine(*change.after));
            }
        }
    }
    return lines;
}

}  // namespace velmora::settings
