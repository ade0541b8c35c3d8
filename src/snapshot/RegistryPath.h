#pragma once
// Registry paths as the registry stand-in takes them apart.

#include <algorithm>
#include <string_view>
#include <vector>

namespace velmora::reg {

// "a\b\c" as its names; an empty path names the key itself. A name can be neither empty nor
// hold a backslash, or enumeration would hand out names that cannot be opened again; nor can
// it hold a zero byte, which no registry name can.
inline bool SplitPath(std::string_view path, std::vector<std::string_view>& names) {
    names.clear();
    if (path.empty()) {
        return true;
    }
    size_t begin = 0;
    for (;;) {
        const size_t end = std::min(path.find('\\', begin), path.size());
        if (end == begin || path.substr(begin, end - begin).find('\0') != std::string_view::npos) {
            return false;
        }
        names.push_back(path.substr(begin, end - begin));
        if (end == path.size()) {
            return true;
        }
        begin = end + 1;
    }
}

}  // namespace velmora::reg
