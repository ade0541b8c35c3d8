// Feeds arbitrary bytes to the settings file reader. Besides crashes and sanitizer reports it
// checks that whatever a file holds, written again it reads back the same, and that the
// difference and the copy for another game take any bytes the file's parts may hold.

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "SettingsCopy.h"
#include "SettingsDifference.h"
#include "SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::settings;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string reason;
    const std::optional<SettingsFileContents> read = ReadSettingsFile(bytes, &reason);
    if (!read) {
        if (reason.empty()) {
            std::abort();  // a refusal always says why
        }
        return 0;
    }
    const std::string again = WriteSettingsFile(read->settings, read->game, "", read->saved);
    const std::optional<SettingsFileContents> reread = ReadSettingsFile(again, &reason);
    if (!reread || reread->settings != read->settings || reread->game != read->game) {
        std::abort();
    }
    if (!Difference(read->settings, read->settings).Empty()) {
        std::abort();
    }
    const GameSettings copy =
        CopyFor(read->settings, {}, "/zinc", 12, {}, [](const std::string&) { return false; });
    Summary(Difference(read->settings, copy));
    DetailLines(Difference(copy, GameSettings{}));
    return 0;
}
