// Feeds arbitrary option text to the managed-option rules and compares the fast searches with
// the plain std::string reading (ManagedOptionsReference.h); FindOption answers as
// std::string_view::find does.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "ManagedOptions.h"
#include "ManagedOptionsReference.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::config;
    const std::string input(reinterpret_cast<const char*>(data), size);

    std::string fast = input;
    std::string plain = input;
    std::string renderer = "stale";
    const std::optional<std::string> plainRenderer = velmora::test::PlainCut(plain, false);
    Require(CutManagedOptions(fast, renderer) == plainRenderer.has_value() && fast == plain &&
                renderer == plainRenderer.value_or(""),
            "CutManagedOptions differs from the plain rule");

    fast = plain = input;
    Require(CutEveryManagedOption(fast) == velmora::test::PlainCut(plain, true) && fast == plain,
            "CutEveryManagedOption differs from the plain rule");

    // The text's own first bytes as a needle, from every start, and each managed option.
    if (size > 0) {
        const size_t length = 1 + data[0] % 24;
        const std::string_view text(input);
        const std::string_view needle = text.substr(size > length ? 1 : 0, length);
        for (size_t from = 0; from <= size + 1; from += 1 + size / 64) {
            Require(FindOption(text, needle, from) == text.find(needle, from),
                    "FindOption differs from find");
            for (const std::string_view option : velmora::test::kManagedOptionNames) {
                Require(FindOption(text, option, from) == text.find(option, from),
                        "FindOption differs from find for a managed option");
            }
        }
    }
    return 0;
}
