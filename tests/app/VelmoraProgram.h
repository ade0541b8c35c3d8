#pragma once
// Velmora as a user has it in an emulator directory: the program and, on Linux, the window
// module beside it (VELMORA_WINDOW_MODULE_PATH is empty where there is none).

#include <cstring>
#include <filesystem>

namespace velmora::test {

#ifdef _WIN32
inline constexpr const char* kVelmora = "Velmora.exe";
#else
inline constexpr const char* kVelmora = "Velmora";
#endif

inline void CopyVelmora(const std::filesystem::path& dir) {
    const auto overwrite = std::filesystem::copy_options::overwrite_existing;
    std::filesystem::copy_file(VELMORA_PATH, dir / kVelmora, overwrite);
    if (std::strlen(VELMORA_WINDOW_MODULE_PATH) != 0) {
        const std::filesystem::path module(VELMORA_WINDOW_MODULE_PATH);
        std::filesystem::copy_file(module, dir / module.filename(), overwrite);
    }
}

}  // namespace velmora::test
