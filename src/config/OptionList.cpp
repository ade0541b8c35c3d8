#include "OptionList.h"

#include "Contract.h"

namespace velmora::config {

namespace {

bool IsOfferedOption(std::string_view item) {
    if (item.find('=') == std::string_view::npos) {
        return false;
    }
    for (const std::string_view managed : emu::kManagedOptions) {
        if (item.find(managed) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string BuildOptionList(std::string_view helpText) {
    std::string list;
    size_t start = 0;  // where the remaining text begins
    // A "[" found beyond the next "]" is still the first "[" of the following steps; keeping it
    // saves searching the same stretch again, which a help text full of "]" would make slow.
    size_t open = helpText.find('[');
    while (start < helpText.size()) {
        if (open != std::string_view::npos && open < start) {
            open = helpText.find('[', start);
        }
        const size_t close = helpText.find(']', start);
        if (open == std::string_view::npos || close == std::string_view::npos) {
            break;
        }
        if (open < close) {
            const std::string_view item = helpText.substr(open + 1, close - open - 1);
            if (IsOfferedOption(item)) {
                list += item;
                list += "\r\n";
            }
        }
        start = close + 1;
    }
    return list;
}

}  // namespace velmora::config
