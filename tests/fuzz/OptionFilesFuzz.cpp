// Feeds arbitrary bytes to the option-file load and save as both per-game option files. The
// first byte chooses whether a block of ordinary option lines comes first, so that the rest
// lands around the 32 KiB reading limit. Checked:
//  - a game options file whose loaded text holds no managed option loads back, after a save,
//    as the same text with the renderer that was saved (files without NUL that stay within
//    the limit before and after);
//  - a renderer options file loads back, after a save, as the same text (the same files);
//  - whatever the size, a save of the renderer options file keeps every byte that is not
//    white space (the limit only moves text into the held rest, never drops it), unless a NUL
//    ended the text.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CGameOptionFiles.h"
#include "Contract.h"
#include "FileIo.h"
#include "FuzzDir.h"

namespace {

using velmora::config::CGameOptionFiles;
namespace files = velmora::files;

constexpr int kGame = 7;
constexpr size_t kLimit = 32767;  // the emulator reads no more of an option file
constexpr const char* kRenderer = "librenderer_fuzz.so";

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

bool HasManagedOption(std::string_view text) {
    for (const std::string_view option : velmora::emu::kManagedOptions) {
        if (text.find(option) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

std::string NonWhite(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (std::string_view(" \t\r\n\v\f").find(c) == std::string_view::npos) {
            kept += c;
        }
    }
    return kept;
}

// A file read whole into the text, with nothing held back as the rest. (A file that was
// longer can shrink below the limit with a save, and then the rest is part of the text.)
bool WithinLimit(const std::string& bytes) {
    return bytes.size() <= kLimit && bytes.find('\0') == std::string::npos;
}

std::string FileBytes(const std::string& path) {
    return files::ReadAll(path).value_or("<unreadable>");
}

void CheckGameOptions(const velmora::fuzz::FuzzDir& dir, const std::string& bytes) {
    const std::string path = velmora::emu::GameOptionsFile(dir.Str(), kGame);
    Require(files::WriteAtomically(path, bytes), "cannot write the game options file");
    CGameOptionFiles first(dir.Str());
    first.m_nGame = kGame;
    Require(first.LoadGameOptions(), "the game options file does not load");
    Require(first.m_strOptions.find('\0') == std::string::npos, "a NUL reached the text");
    const std::string loaded = first.m_strOptions;
    Require(first.SaveGameOptions(std::string(kRenderer), nullptr), "the save failed");

    CGameOptionFiles second(dir.Str());
    second.m_nGame = kGame;
    Require(second.LoadGameOptions(), "the saved file does not load");
    Require(second.m_strRenderer == kRenderer || HasManagedOption(loaded),
            "the saved renderer did not come back");
    if (WithinLimit(bytes) && WithinLimit(FileBytes(path)) && !HasManagedOption(loaded)) {
        Require(second.m_strOptions == loaded, "the option text changed in a round trip");
    }
}

void CheckRendererOptions(const velmora::fuzz::FuzzDir& dir, const std::string& bytes) {
    const std::string path = velmora::emu::RendererOptionsFile(dir.Str(), kGame);
    Require(files::WriteAtomically(path, bytes), "cannot write the renderer options file");
    CGameOptionFiles first(dir.Str());
    first.m_nGame = kGame;
    Require(first.LoadRendererOptions(), "the renderer options file does not load");
    const std::string loaded = first.m_strRendererOptions;
    Require(first.SaveRendererOptions(), "the save failed");
    const std::string saved = FileBytes(path);

    if (bytes.find('\0') == std::string::npos) {
        Require(NonWhite(saved) == NonWhite(bytes), "a save lost or changed option bytes");
    }
    CGameOptionFiles second(dir.Str());
    second.m_nGame = kGame;
    Require(second.LoadRendererOptions(), "the saved file does not load");
    if (WithinLimit(bytes) && WithinLimit(saved)) {
        Require(second.m_strRendererOptions == loaded, "the renderer text changed in a round trip");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const velmora::fuzz::FuzzDir dir;
    if (size == 0) {
        return 0;
    }
    std::string bytes;
    if (data[0] & 1) {
        // Ordinary lines up to just short of, or just past, the reading limit.
        const size_t fill = kLimit - 128 + (data[0] >> 1);
        while (bytes.size() < fill) {
            bytes += "--sound-volume=50\r\n";
        }
        bytes.resize(fill);
    }
    bytes.append(reinterpret_cast<const char*>(data + 1), size - 1);
    CheckGameOptions(dir, bytes);
    CheckRendererOptions(dir, bytes);
    return 0;
}
