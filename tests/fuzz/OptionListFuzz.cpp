// Feeds arbitrary help text to the option scan and compares it with the plain reading of the
// rule: take the first "[" and the first "]" of the rest, keep what lies between when it holds
// "=" and no option Velmora writes itself, go on after the "]".

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Contract.h"
#include "OptionList.h"

namespace {

std::string PlainOptionList(std::string_view help) {
    std::string list;
    for (;;) {
        const size_t open = help.find('[');
        const size_t close = help.find(']');
        if (open == std::string_view::npos || close == std::string_view::npos) {
            return list;
        }
        if (open < close) {
            const std::string_view item = help.substr(open + 1, close - open - 1);
            bool offered = item.find('=') != std::string_view::npos;
            for (const std::string_view managed : velmora::emu::kManagedOptions) {
                offered = offered && item.find(managed) == std::string_view::npos;
            }
            if (offered) {
                list += item;
                list += "\r\n";
            }
        }
        help.remove_prefix(close + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view help(reinterpret_cast<const char*>(data), size);
    const std::string list = velmora::config::BuildOptionList(help);
    if (list != PlainOptionList(help)) {
        std::fprintf(stderr, "option list differs from the plain reading of the rule\n");
        std::abort();
    }
    return 0;
}
