#pragma once
// What may be done around Configure game's OK, by whoever opens the dialog: before the game's
// files are written, keep them as they were (the game's history, one floor up); after, say
// whether that failed. The dialog knows nothing of how.

#include <optional>
#include <string>

#include "FileIo.h"

namespace velmora::config {

class SaveGuard {
public:
    virtual ~SaveGuard() = default;
    virtual void BeforeSave(const std::string& emulatorDir, int game) = 0;
    // Why the files as they were could not be kept, when they could not and the save changed
    // them; nothing otherwise.
    virtual std::optional<files::SaveFailure> AfterSave() = 0;
};

}  // namespace velmora::config
