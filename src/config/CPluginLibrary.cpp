#include "CPluginLibrary.h"

#include <QFileInfo>
#include <QLibrary>
#include <filesystem>
#include <system_error>
#include <utility>

#include "LibraryFile.h"

namespace velmora::config {

namespace {

// QLibrary tries other names when the one given does not load: "lib" in front, ".so" or
// ".dll" behind, and on Windows LoadLibrary itself appends ".dll" to a name without one. A
// plugin is a file of the emulator directory under exactly its own name, so the file must
// exist as named, and the library that loaded must be that very file.
std::unique_ptr<QLibrary> LoadExactly(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path absolute = fs::absolute(fs::path(path), ec);
    if (ec || !fs::is_regular_file(absolute, ec) || !IsWholeLibraryFile(absolute.string())) {
        return nullptr;
    }
    const QString wanted = QString::fromStdU16String(absolute.u16string());
    auto library = std::make_unique<QLibrary>(wanted);
    if (!library->load()) {
        return nullptr;
    }
    const QString expected = QFileInfo(wanted).canonicalFilePath();
    const QString loaded = QFileInfo(library->fileName()).canonicalFilePath();
    if (expected.isEmpty() || loaded != expected) {
        library->unload();
        return nullptr;
    }
    return library;
}

}  // namespace

CPluginLibrary::CPluginLibrary(const std::string& path) : m_library(LoadExactly(path)) {}

CPluginLibrary::~CPluginLibrary() {
    Unload();
}

CPluginLibrary::CPluginLibrary(CPluginLibrary&& other) noexcept
    : m_library(std::move(other.m_library)) {}

CPluginLibrary& CPluginLibrary::operator=(CPluginLibrary&& other) noexcept {
    if (this != &other) {
        Unload();
        m_library = std::move(other.m_library);
    }
    return *this;
}

CPluginLibrary::Entry CPluginLibrary::Lookup(const char* name) const {
    if (!m_library || name == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Entry>(m_library->resolve(name));
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
    if (m_library) {
        m_library->unload();
        m_library.reset();
    }
}

bool CPluginLibrary::ExportsEntry(const std::string& path, const char* entry) {
    return CPluginLibrary(path).HasEntry(entry);
}

}  // namespace velmora::config
