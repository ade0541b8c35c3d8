#pragma once
// A throw-away emulator directory: the stand-in ZINC.EXE, a cfg folder and, when asked, the
// sample plugins, under a folder name with a blank in it. Velmora's own executable is taken
// to live there too.

#include <QByteArray>
#include <filesystem>
#include <string>

#include "TempDir.h"

namespace velmora::test {

class EmulatorDir {
public:
    explicit EmulatorDir(bool withEmulator = true) {
        m_dir = m_root.Path() / "My Games" / "zinc";
        std::filesystem::create_directories(m_dir / "cfg");
        std::filesystem::create_directories(m_root.Path() / "home");
        if (withEmulator) {
            Copy(VELMORA_STANDIN_PATH, "ZINC.EXE");
        }
        // The plugin settings store lives under the user's config folder: keep it private.
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((m_root.Path() / "home").string()));
    }

    void Copy(const std::string& from, const std::string& name) const {
        std::filesystem::copy_file(from, m_dir / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }

    std::string Str() const { return m_dir.string(); }
    std::string File(const std::string& name) const { return (m_dir / name).string(); }
    std::string Executable() const { return File("Velmora"); }
    std::string Home() const { return (m_root.Path() / "home").string(); }
    std::string ProfileFile() const { return (m_root.Path() / "profile.ini").string(); }

private:
    TempDir m_root;
    std::filesystem::path m_dir;
};

}  // namespace velmora::test
