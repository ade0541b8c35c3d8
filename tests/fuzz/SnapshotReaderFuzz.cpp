// Feeds arbitrary bytes to the snapshot reader. Besides crashes and sanitizer reports it
// checks one property: whatever a file put into the key, saving it and restoring the saved
// text gives the same key again.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "CRegSnapshot.h"
#include "RegistryBackend.h"
#include "SettingsSnapshot.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    static const std::unique_ptr<reg::RegistryBackend> store = reg::OpenSqliteRegistry(":memory:");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!store || !snapshot::RestoreSnapshotText(*store, text)) {
        std::abort();
    }
    const std::optional<std::string> saved = snapshot::ExportSnapshotText(*store);
    if (!saved || !snapshot::RestoreSnapshotText(*store, *saved)) {
        std::abort();
    }
    const std::optional<std::string> again = snapshot::ExportSnapshotText(*store);
    if (again != saved) {
        std::fprintf(stderr, "saved:\n%s\nsaved again:\n%s\n", saved->c_str(),
                     again.value_or("<none>").c_str());
        std::abort();
    }
    if (store->OpenHandleCount() != 0) {
        std::abort();
    }
    return 0;
}
