#include "RunLog.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora::standin {

namespace {

std::string CommandLine(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    return GetCommandLineA();
#else
    std::string line;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) {
            line += ' ';
        }
        line += argv[i];
    }
    return line;
#endif
}

// The working directory in the same bytes as the command line: on Windows the ANSI code page,
// which std::filesystem would hand back as UTF-8.
std::string WorkingDirectory() {
#ifdef _WIN32
    char dir[MAX_PATH * 2];
    const DWORD length = GetCurrentDirectoryA(sizeof dir, dir);
    return length == 0 || length >= sizeof dir ? std::string() : std::string(dir, length);
#else
    std::error_code error;
    const std::filesystem::path cwd = std::filesystem::current_path(error);
    return error ? std::string() : cwd.string();
#endif
}

}  // namespace

void AppendRunLog(int argc, char** argv) {
    const char* path = std::getenv("ZINC_STANDIN_CMDLINE_LOG");
    if (path == nullptr || *path == '\0') {
        return;
    }
    const std::string record =
        "cmdline=<" + CommandLine(argc, argv) + ">\r\ncwd=<" + WorkingDirectory() + ">\r\n";
    // One write of the whole record, so runs that overlap never interleave within a record.
    if (FILE* log = std::fopen(path, "ab")) {
        std::fwrite(record.data(), 1, record.size(), log);
        std::fclose(log);
    }
}

}  // namespace velmora::standin
