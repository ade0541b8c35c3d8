#pragma once
// What every sample plugin shares: how an entry is exported, and the call log tests read to
// learn which entries the front end called. No Qt, so the plain plugins can use it too.

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#define VELMORA_PLUGIN_ENTRY extern "C" __declspec(dllexport)
#else
#define VELMORA_PLUGIN_ENTRY extern "C" __attribute__((visibility("default")))
#endif

namespace velmora::sample {

// Appends "<entry>\n" to the file named by VELMORA_SAMPLE_PLUGIN_LOG. The file is opened and
// closed for each call because the front end unloads a plugin right after using it.
inline void LogEntryCall(const char* entry) {
    const char* path = std::getenv("VELMORA_SAMPLE_PLUGIN_LOG");
    if (path == nullptr || *path == '\0') {
        return;
    }
    if (FILE* log = std::fopen(path, "ab")) {
        std::fprintf(log, "%s\n", entry);
        std::fclose(log);
    }
}

}  // namespace velmora::sample
