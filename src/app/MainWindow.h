#pragma once

#include <memory>
#include <string>

#include "CMainFrame.h"

namespace velmora::games {
class ProcessRunner;
}
namespace velmora::snapshot {
class GameSnapshots;
}

namespace velmora::app {

class CVelmoraDoc;

// Creates the main window for an executable at `executablePath`, fills the game list and shows
// the window, maximised when the profile says so.
std::unique_ptr<CMainFrame> OpenMainWindow(const std::string& executablePath, ui::CProfile& profile,
                                           snapshot::GameSnapshots& snapshots,
                                           games::ProcessRunner& runner, const CVelmoraDoc& doc);

}  // namespace velmora::app
