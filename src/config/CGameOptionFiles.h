#pragma once
// The two per-game option files in <emulator dir>/cfg: the game options file the emulator
// reads at launch (Velmora%03d.cfg) and the renderer options file it names for renderers
// without a configuration entry of their own (Velmora%03d_renderer.cfg).
//
// The Configure-game dialog derives from this class and uses the operations as its own; tests
// use them without any window. The renderer combo box's selection and the plugin probe are
// handed in, so nothing here needs a widget or a loaded library.

#include <functional>
#include <optional>
#include <string>

namespace velmora::config {

class CGameOptionFiles {
public:
    // Answers whether the library at the given path loads and exports GPUconfigure.
    using ConfigureProbe = std::function<bool(const std::string& libraryPath)>;

    explicit CGameOptionFiles(std::string emulatorDirectory);
    virtual ~CGameOptionFiles() = default;

    CGameOptionFiles(const CGameOptionFiles&) = default;
    CGameOptionFiles& operator=(const CGameOptionFiles&) = default;

    // Sets m_strOptions and m_strRenderer from the game options file. Returns whether the file
    // could be read; a file that does not open reads as an empty text.
    bool LoadGameOptions();

    // Sets m_strRendererOptions from the renderer options file, as LoadGameOptions does.
    bool LoadRendererOptions();

    // Removes the first occurrence of each managed option, with the rest of its line, from
    // m_strOptions and sets m_strRenderer from the removed "--renderer=" (empty when absent).
    void StripManagedOptions();

    // Writes the game options file for the renderer selected in the dialog (nullopt: nothing
    // selected, and then no file is written). Sets m_strRenderer to the selection and leaves the
    // managed renderer block appended to m_strOptions. Returns whether the file was written;
    // when it could not be, `reason` receives the system's words for why.
    bool SaveGameOptions(const std::optional<std::string>& selectedRenderer,
                         const ConfigureProbe& exportsGpuConfigure, std::string* reason = nullptr);

    // Writes the renderer options file; leaves m_strRendererOptions trimmed and ending in CR LF.
    // Returns whether the file was written, as SaveGameOptions does.
    bool SaveRendererOptions(std::string* reason = nullptr);

    const std::string& EmulatorDirectory() const { return m_strEmulatorDir; }

    int m_nGame = 0;
    std::string m_strOptions;          // game options text, without the managed options
    std::string m_strRendererOptions;  // renderer options text
    std::string m_strRenderer;         // file name of the selected renderer plugin

private:
    // What lay beyond the reading limit of a file, held so that a save puts it back instead of
    // dropping it. It belongs to one path: a save to another file never receives it.
    struct UnreadRest {
        std::string path;
        std::string text;
        std::string gap;   // the white space between the text and the rest, as the file had it
        std::string head;  // the text as read, to tell whether the user changed it
    };

    // Trims `text` and holds `rest` for `path`.
    static UnreadRest HoldRest(const std::string& path, std::string& text, std::string rest);
    // `text` followed by the held rest, as it stood in the file where nothing was changed.
    static std::string JoinRest(const UnreadRest& rest, const std::string& path,
                                const std::string& text);

    std::string m_strEmulatorDir;
    UnreadRest m_gameRest;
    UnreadRest m_rendererRest;
};

}  // namespace velmora::config
