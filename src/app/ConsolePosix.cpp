#include <cstdio>

#include "Console.h"

namespace velmora::app {

void PrepareConsole() {}

void WriteOut(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

void ReportError(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace velmora::app
