// Feeds arbitrary text to the reader of a taught stick's mapping, which lives in Velmora's
// profile where anyone may edit it: it is read whole or refused, never half, and what it reads
// is written back as a text that reads as the same mapping.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "PadMapping.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::pad;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<Mapping> mapping = ParseMappingText(text);
    if (!mapping) {
        return 0;
    }
    for (const Binding& binding : mapping->bindings) {
        if (!binding.input.IsRaw()) {
            std::fprintf(stderr, "a taught mapping holds a controller's input\n");
            std::abort();
        }
    }
    const std::string written = MappingText(*mapping);
    const std::optional<Mapping> again = ParseMappingText(written);
    if (!again || MappingText(*again) != written) {
        std::fprintf(stderr, "the mapping written back does not read the same: %s\n",
                     written.c_str());
        std::abort();
    }
    return 0;
}
