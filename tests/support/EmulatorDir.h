#pragma once
// A throw-away emulator directory: the stand-in ZINC.EXE, a cfg folder and, when asked, the
// sample plugins, under a folder name with a blank in it or one of the test's choosing.
// Velmora's own executable is taken to live there too. The plugins' settings start empty: on
// Linux in a store of the test's own; on Windows in the one real registry key, whose contents
// are put back afterwards.

#include <QByteArray>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "CRegSnapshot.h"
#include "Contract.h"
#include "Platform.h"
#include "SettingsSnapshot.h"
#include "TempDir.h"

namespace velmora::test {

class EmulatorDir {
public:
    explicit EmulatorDir(bool withEmulator = true, const std::string& parent = "My Games") {
        m_dir = m_root.Path() / parent / "zinc";
        std::filesystem::create_directories(m_dir / "cfg");
        std::filesystem::create_directories(m_root.Path() / "home");
        if (withEmulator) {
            Copy(VELMORA_STANDIN_PATH, "ZINC.EXE");
        }
        // The plugin settings store lives under the user's config folder: keep it private.
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((m_root.Path() / "home").string()));
#ifdef _WIN32
        if (auto store = reg::OpenUserRegistry()) {
            m_savedSettings = snapshot::ExportSnapshotText(*store);
            snapshot::RestoreSnapshotText(*store, "REGEDIT4\r\n\r\n");
        }
#endif
    }
    ~EmulatorDir() {
#ifdef _WIN32
        if (auto store = reg::OpenUserRegistry(); store && m_savedSettings) {
            snapshot::RestoreSnapshotText(*store, *m_savedSettings);
        }
#endif
    }
    EmulatorDir(const EmulatorDir&) = delete;
    EmulatorDir& operator=(const EmulatorDir&) = delete;

    void Copy(const std::string& from, const std::string& name) const {
        std::filesystem::copy_file(from, m_dir / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }

    std::string Str() const {
        return m_dir.string();
    }
    std::string File(const std::string& name) const {
        return (m_dir / name).string();
    }
    std::string Executable() const {
        return File("Velmora");
    }
    std::string Home() const {
        return (m_root.Path() / "home").string();
    }
    std::string ProfileFile() const {
        return (m_root.Path() / "profile.ini").string();
    }

    // The emulator directory as Velmora derives it from its executable (upper-cased on
    // Windows), and the paths it builds there, with the platform's separator.
    std::string FrameDir() const {
#ifdef _WIN32
        std::string dir = Str();
        for (char& c : dir) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        return dir;
#else
        return Str();
#endif
    }
    std::string FramePath(const std::string& relative) const {
        std::string native = relative;
        std::replace(native.begin(), native.end(), '/', platform::kPathSeparator);
        return emu::InDirectory(FrameDir(), native);
    }

private:
    TempDir m_root;
    std::filesystem::path m_dir;
    std::optional<std::string> m_savedSettings;
};

}  // namespace velmora::test
