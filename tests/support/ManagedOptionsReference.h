#pragma once
// The plain reading of the managed-option rules, with std::string searches, for the tests and
// the fuzzer to hold the fast ones against. Each option, in order, is cut with the rest of its
// line and its LF: only its first occurrence, or every one until it is found no more (a later
// cut may still join two lines into an earlier option's name).

#include <optional>
#include <string>
#include <string_view>

namespace velmora::test {

inline constexpr std::string_view kManagedOptionNames[] = {
    "--use-config-file=", "--use-renderer-cfg-file=", "--renderer="};

// What followed the first "--renderer=" cut on its line, trailing white space removed.
inline std::optional<std::string> PlainCut(std::string& text, bool every) {
    std::optional<std::string> renderer;
    for (const std::string_view option : kManagedOptionNames) {
        for (size_t at = 0; (at = text.find(option, at)) != std::string::npos;) {
            const size_t end = text.find('\n', at);
            std::string value = text.substr(at + option.size(), end - at - option.size());
            text.erase(at, end == std::string::npos ? end : end + 1 - at);
            value.erase(value.find_last_not_of(" \t\r\n\v\f") + 1);
            if (option == "--renderer=" && !renderer) {
                renderer = value;
            }
            if (!every) {
                break;
            }
        }
    }
    return renderer;
}

}  // namespace velmora::test
