#pragma once
// A plugin library held for one step: loaded by its full path, asked for an entry, perhaps
// called, and unloaded when the holder goes out of scope. A file that does not load as a
// library is simply absent; nothing is ever reported to the user.

#include <string>

namespace velmora::config {

class CPluginLibrary {
public:
    // Plugin entries take no arguments; what they return is never used.
    using Entry = long (*)();

    CPluginLibrary() = default;
    // Loads exactly the file at `path`, or nothing.
    explicit CPluginLibrary(const std::string& path);
    ~CPluginLibrary();

    CPluginLibrary(CPluginLibrary&& other) noexcept;
    CPluginLibrary& operator=(CPluginLibrary&& other) noexcept;
    CPluginLibrary(const CPluginLibrary&) = delete;
    CPluginLibrary& operator=(const CPluginLibrary&) = delete;

    bool IsLoaded() const { return m_library != nullptr; }
    explicit operator bool() const { return IsLoaded(); }

    // The entry, or nullptr when the library is not loaded or lacks it.
    Entry Lookup(const char* name) const;
    bool HasEntry(const char* name) const { return Lookup(name) != nullptr; }
    // Calls the entry when it exists; returns whether it was called.
    bool Call(const char* name) const;

    void Unload();

    // Loads `path`, looks `entry` up and unloads at once; nothing in the library is called.
    static bool ExportsEntry(const std::string& path, const char* entry);

private:
    void* m_library = nullptr;
};

}  // namespace velmora::config
