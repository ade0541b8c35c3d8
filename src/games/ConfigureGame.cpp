// Opening the Configure game dialog for the selected row.

#include "CConfigGameDlg.h"
#include "CVelmoraView.h"
#include "FrameServices.h"

namespace velmora::games {

void CVelmoraView::ConfigureSelectedGame() {
    CollectHelpText();  // the dialog lists the help text's options; the emulator runs alone
    const int row = GetSelectedRow();
    if (row < 0) {
        return;
    }
    const int game = RowGameNumber(row);
    config::ConfigureGame(m_frame.EmulatorDirectory(), m_frame.HelpText(), m_snapshots, m_saveGuard,
                          RowGameText(row), game, m_frame.FrameWindow());
    // OK or Cancel alike: the row shows what is on disk now.
    SetRowImage(row, IsGameConfigured(game) != 0 ? kConfigured : kNotConfigured);
}

}  // namespace velmora::games
