#pragma once
// The plain reading of the managed-option rules, with std::string searches, for the tests and
// the fuzzer to hold the fast ones against: the first occurrence of each option is cut, in
// order, with the rest of its line, each in the text the previous cut left; "every
// occurrence" cuts each option in turn until it is found no more (a later cut may still join
// two lines into an earlier option's name).

#include <optional>
#include <string>
#include <string_view>

namespace velmora::test {

// In the order they are cut.
inline constexpr std::string_view kManagedOptionNames[] = {
    "--use-config-file=", "--use-renderer-cfg-file=", "--renderer="};

// Cuts the option at `at` with the rest of its line and its LF; what followed the name.
inline std::string CutOptionLine(std::string& text, size_t at, size_t nameLength) {
    const size_t lineEnd = text.find('\n', at);
    const size_t valueEnd = lineEnd == std::string::npos ? text.size() : lineEnd;
    std::string value = text.substr(at + nameLength, valueEnd - at - nameLength);
    text.erase(at, lineEnd == std::string::npos ? std::string::npos : lineEnd + 1 - at);
    value.erase(value.find_last_not_of(" \t\r\n\v\f") + 1);
    return value;
}

inline bool PlainCutFirst(std::string& text, std::string& renderer) {
    renderer.clear();
    bool found = false;
    for (const std::string_view option : kManagedOptionNames) {
        const size_t at = text.find(option);
        if (at != std::string::npos) {
            std::string value = CutOptionLine(text, at, option.size());
            if (option == "--renderer=") {
                renderer = std::move(value);
                found = true;
            }
        }
    }
    return found;
}

inline std::optional<std::string> PlainCutEvery(std::string& text) {
    std::optional<std::string> renderer;
    for (const std::string_view option : kManagedOptionNames) {
        size_t at = 0;
        while ((at = text.find(option, at)) != std::string::npos) {
            std::string value = CutOptionLine(text, at, option.size());
            if (option == "--renderer=" && !renderer) {
                renderer = std::move(value);
            }
        }
    }
    return renderer;
}

}  // namespace velmora::test
