#include "CGameOptionFiles.h"

#include <optional>
#include <string_view>
#include <utility>

#include "Contract.h"
#include "FileIo.h"
#include "ManagedOptions.h"
#include "TextRules.h"

namespace velmora::config {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A file as loaded: the text the user gets to see and edit, and whatever lay beyond the
// reading limit.
struct LoadedFile {
    std::string text;
    std::string rest;
};

// Only the first 32767 bytes of an option file count, cut at the first NUL, as they always
// have. A longer file is not truncated by the next save, though: its text ends with the last
// complete line within the limit and everything from there on is held as the rest, to be
// written back unchanged after the user's text. Cutting at a line end keeps a half line out of
// the editor, where the user could neither see nor mend the other half; only when the limit
// holds no line end at all does the editor get the first 32767 bytes, the line's start.
LoadedFile SplitAtReadingLimit(std::string bytes) {
    // A NUL ends the text, as it always has; what follows it is not option text and is not
    // kept. That holds beyond the limit too: held in the rest, a NUL would come within the
    // limit once a save has put the rest back after a shorter text, and from then on cut off
    // every line after it, the renderer line Velmora writes last among them.
    if (const size_t nul = bytes.find('\0'); nul != std::string::npos) {
        bytes.resize(nul);
    }
    if (bytes.size() <= files::kOptionFileLimit) {
        return {std::move(bytes), {}};
    }
    const std::string_view readable = std::string_view(bytes).substr(0, files::kOptionFileLimit);
    const size_t lastLineEnd = readable.find_last_of("\r\n");
    const size_t keep = lastLineEnd == std::string_view::npos ? readable.size() : lastLineEnd + 1;
    LoadedFile loaded;
    loaded.rest = bytes.substr(keep);
    bytes.resize(keep);
    loaded.text = std::move(bytes);
    return loaded;
}

std::optional<LoadedFile> ReadOptionFile(const std::string& path) {
    std::optional<std::string> bytes = files::ReadAllOfRegularFile(path, files::kOptionFileLimit);
    if (!bytes) {
        return std::nullopt;
    }
    return SplitAtReadingLimit(std::move(*bytes));
}

// The white space at the end of `text`, which the editor does not keep.
std::string TakeTrailingWhite(std::string& text) {
    std::string white = text;
    text::TrimRight(text);
    return white.substr(text.size());
}

}  // namespace

CGameOptionFiles::CGameOptionFiles(std::string emulatorDirectory)
    : m_strEmulatorDir(std::move(emulatorDirectory)) {}

CGameOptionFiles::UnreadRest CGameOptionFiles::HoldRest(const std::string& path, std::string& text,
                                                        std::string rest) {
    UnreadRest held{path, {}, {}, {}};
    if (rest.empty()) {
        text::TrimRight(text);
        return held;
    }
    // The text's last line end, and any blanks around it, stay between text and rest.
    held.gap = TakeTrailingWhite(text);
    text::TrimRight(rest);
    held.text = std::move(rest);
    held.head = text;
    return held;
}

std::string CGameOptionFiles::JoinRest(const UnreadRest& rest, const std::string& path,
                                       const std::string& text) {
    if (rest.path != path || rest.text.empty()) {
        return text;
    }
    if (text.empty()) {
        return rest.text;
    }
    // A rest that goes on with the text's last line joins it only while that line is as it was.
    const bool gapEndsLine = rest.gap.find_first_of("\r\n") != std::string::npos;
    if (gapEndsLine || text == rest.head) {
        return text + rest.gap + rest.text;
    }
    return text + std::string(kLineEnd) + rest.text;
}

bool CGameOptionFiles::LoadGameOptions() {
    const std::string path = emu::GameOptionsFile(m_strEmulatorDir, m_nGame);
    std::optional<LoadedFile> loaded = ReadOptionFile(path);
    m_strOptions = loaded ? std::move(loaded->text) : std::string(kLineEnd);
    const bool textNamesRenderer = CutManagedOptions(m_strOptions, m_strRenderer);

    std::string rest = loaded ? std::move(loaded->rest) : std::string();
    if (!rest.empty()) {
        std::optional<std::string> renderer = CutEveryManagedOption(rest);
        if (renderer && !textNamesRenderer) {
            m_strRenderer = std::move(*renderer);
        }
    }
    m_gameRest = HoldRest(path, m_strOptions, std::move(rest));
    return loaded.has_value();
}

bool CGameOptionFiles::LoadRendererOptions() {
    const std::string path = emu::RendererOptionsFile(m_strEmulatorDir, m_nGame);
    std::optional<LoadedFile> loaded = ReadOptionFile(path);
    m_strRendererOptions = loaded ? std::move(loaded->text) : std::string(kLineEnd);
    m_rendererRest =
        HoldRest(path, m_strRendererOptions, loaded ? std::move(loaded->rest) : std::string());
    return loaded.has_value();
}

void CGameOptionFiles::StripManagedOptions() {
    CutManagedOptions(m_strOptions, m_strRenderer);
}

bool CGameOptionFiles::SaveGameOptions(const std::optional<std::string>& selectedRenderer,
                                       const ConfigureProbe& exportsGpuConfigure,
                                       std::string* reason) {
    StripManagedOptions();
    if (!selectedRenderer) {
        return false;  // the file keeps what it had, or stays absent
    }
    m_strRenderer = *selectedRenderer;
    text::TrimRight(m_strOptions);

    // A library that does not load counts as one without GPUconfigure.
    const std::string library = emu::InDirectory(m_strEmulatorDir, m_strRenderer);
    const bool configuresItself = exportsGpuConfigure && exportsGpuConfigure(library);
    const std::string block =
        ManagedRendererBlock(m_strEmulatorDir, m_nGame, m_strRenderer, configuresItself);

    const std::string path = emu::GameOptionsFile(m_strEmulatorDir, m_nGame);
    const std::string bytes = JoinRest(m_gameRest, path, m_strOptions) + block;
    m_strOptions += block;
    return files::WriteAtomically(path, bytes, reason);
}

bool CGameOptionFiles::SaveRendererOptions(std::string* reason) {
    text::TrimRight(m_strRendererOptions);
    const std::string path = emu::RendererOptionsFile(m_strEmulatorDir, m_nGame);
    std::string bytes = JoinRest(m_rendererRest, path, m_strRendererOptions);
    bytes += kLineEnd;
    m_strRendererOptions += kLineEnd;
    return files::WriteAtomically(path, bytes, reason);
}

}  // namespace velmora::config
