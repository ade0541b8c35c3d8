#pragma once
// Velmora as a user has it in an emulator directory: one program beside the emulator.

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
}

}  // namespace velmora::test
