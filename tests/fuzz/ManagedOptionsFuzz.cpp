// Feeds arbitrary option text to the managed-option rules and compares the fast searches with
// plain std::string ones: the first occurrence of each managed option is cut, in order, with
// the rest of its line; "every occurrence" cuts each option in turn until it is found no more
// (a later cut may still join two lines into an earlier option's name); FindOption answers as
// std::string_view::find does.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "Contract.h"
#include "ManagedOptions.h"

namespace {

using velmora::emu::kManagedOptions;
using velmora::emu::kRendererOption;

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

std::string TrimRight(std::string text) {
    while (!text.empty() &&
           std::string_view(" \t\r\n\v\f").find(text.back()) != std::string_view::npos) {
        text.pop_back();
    }
    return text;
}

std::string CutLine(std::string& text, size_t at, size_t nameLength) {
    const size_t lineEnd = text.find('\n', at);
    std::string value;
    if (lineEnd == std::string::npos) {
        value = text.substr(at + nameLength);
        text.resize(at);
    } else {
        value = text.substr(at + nameLength, lineEnd - at - nameLength);
        text.erase(at, lineEnd + 1 - at);
    }
    return value;
}

bool PlainCutFirst(std::string& text, std::string& renderer) {
    renderer.clear();
    bool found = false;
    for (const std::string_view option : kManagedOptions) {
        const size_t at = text.find(option);
        if (at == std::string::npos) {
            continue;
        }
        std::string value = CutLine(text, at, option.size());
        if (option == kRendererOption) {
            renderer = TrimRight(value);
            found = true;
        }
    }
    return found;
}

std::optional<std::string> PlainCutEvery(std::string& text) {
    std::optional<std::string> renderer;
    for (const std::string_view option : kManagedOptions) {
        size_t at = 0;
        while ((at = text.find(option, at)) != std::string::npos) {
            std::string value = CutLine(text, at, option.size());
            if (option == kRendererOption && !renderer) {
                renderer = TrimRight(value);
            }
        }
    }
    return renderer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::config;
    const std::string input(reinterpret_cast<const char*>(data), size);

    std::string fast = input;
    std::string plain = input;
    std::string fastRenderer = "stale";
    std::string plainRenderer;
    const bool fastFound = CutManagedOptions(fast, fastRenderer);
    const bool plainFound = PlainCutFirst(plain, plainRenderer);
    Require(fast == plain && fastRenderer == plainRenderer && fastFound == plainFound,
            "CutManagedOptions differs from the plain rule");

    fast = input;
    plain = input;
    Require(CutEveryManagedOption(fast) == PlainCutEvery(plain) && fast == plain,
            "CutEveryManagedOption differs from the plain rule");

    // The text's own first bytes as a needle, from every start, and each managed option.
    if (size > 0) {
        const size_t length = 1 + data[0] % 24;
        const std::string_view text(input);
        const std::string_view needle = text.substr(size > length ? 1 : 0, length);
        for (size_t from = 0; from <= size + 1; from += 1 + size / 64) {
            Require(FindOption(text, needle, from) == text.find(needle, from),
                    "FindOption differs from find");
            for (const std::string_view option : kManagedOptions) {
                Require(FindOption(text, option, from) == text.find(option, from),
                        "FindOption differs from find for a managed option");
            }
        }
    }
    return 0;
}
