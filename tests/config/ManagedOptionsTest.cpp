#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ManagedOptions.h"
#include "ManagedOptionsReference.h"

namespace velmora::config {
namespace {

// Texts built from pieces of the managed options, so that options overlap, share lines and
// form anew across the place where a line was cut out.
std::string RandomText(std::mt19937& random, size_t pieces) {
    static const char* const kPieces[] = {"--use-config-file=",
                                          "--use-renderer-cfg-file=",
                                          "--renderer=",
                                          "--rend",
                                          "erer=",
                                          "--use-",
                                          "config-file=",
                                          "renderer-cfg-file=",
                                          "-",
                                          "--",
                                          "=",
                                          "x",
                                          "\r\n",
                                          "\n",
                                          " ",
                                          "a.dll",
                                          "--use-renderer",
                                          "-cfg-file="};
    std::uniform_int_distribution<size_t> pick(0, std::size(kPieces) - 1);
    std::string text;
    for (size_t i = 0; i < pieces; ++i) {
        text += kPieces[pick(random)];
    }
    return text;
}

TEST(ManagedOptions, CutAsPlainSearchesWould) {
    std::mt19937 random(20240);
    for (int round = 0; round < 20000; ++round) {
        const std::string original = RandomText(random, static_cast<size_t>(1 + round % 40));
        std::string expected = original;
        const std::optional<std::string> expectedRenderer = test::PlainCut(expected, false);
        std::string text = original;
        std::string renderer = "stale";
        ASSERT_EQ(CutManagedOptions(text, renderer), expectedRenderer.has_value()) << original;
        ASSERT_EQ(text, expected) << original;
        ASSERT_EQ(renderer, expectedRenderer.value_or("")) << original;

        text = expected = original;
        ASSERT_EQ(CutEveryManagedOption(text), test::PlainCut(expected, true)) << original;
        ASSERT_EQ(text, expected) << original;
    }
}

TEST(ManagedOptions, FindAgreesWithStringFind) {
    std::mt19937 random(7);
    for (int round = 0; round < 5000; ++round) {
        // Long enough for whole blocks, so the block filter is exercised too.
        const std::string text = RandomText(random, static_cast<size_t>(1 + round % 200));
        for (const std::string what :
             {"--renderer=", "--use-config-file=", "-=", "=", "", "--use-renderer-cfg-file="}) {
            for (const size_t from :
                 {size_t{0}, size_t{1}, text.size() / 2, text.size(), text.size() + 1}) {
                ASSERT_EQ(FindOption(text, what, from), text.find(what, from))
                    << what << " from " << from << " in " << text;
            }
        }
    }
}

}  // namespace
}  // namespace velmora::config
