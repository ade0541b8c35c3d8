#include "CPluginLibrary.h"

#include <utility>

#include "LibraryFile.h"
#include "Platform.h"

namespace velmora::config {

// A plugin is a file of the emulator directory under exactly its own name, in whatever bytes
// that name is: the platform layer loads that very file, with no other name tried. A library
// cut short is passed over before the loader maps it, which it would not survive.
CPluginLibrary::CPluginLibrary(const std::string& path)
    : m_library(IsWholeLibraryFile(path) ? platform::LoadLibraryFile(path) : nullptr) {}

CPluginLibrary::~CPluginLibrary() {
    Unload();
}

CPluginLibrary::CPluginLibrary(CPluginLibrary&& other) noexcept
    : m_library(std::exchange(other.m_library, nullptr)) {}

CPluginLibrary& CPluginLibrary::operator=(CPluginLibrary&& other) noexcept {
    if (this != &other) {
        Unload();
        m_library = std::exchange(other.m_library, nullptr);
    }
    return *this;
}

CPluginLibrary::Entry CPluginLibrary::Lookup(const char* name) const {
    if (m_library == nullptr || name == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Entry>(platform::LibraryEntry(m_library, name));
}

bool CPluginLibrary::Call(const char* name) const {
    const Entry entry = Lookup(name);
    if (entry == nullptr) {
        return false;
    }
    entry();
    return true;
}

void CPluginLibrary::Unload() {
    platform::FreeLibraryFile(std::exchange(m_library, nullptr));
}

bool CPluginLibrary::ExportsEntry(const std::string& path, const char* entry) {
    return CPluginLibrary(path).HasEntry(entry);
}

}  // namespace velmora::config
