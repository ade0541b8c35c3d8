// Opening the Configure game dialog for the selected row.

#include "CConfigGameDlg.h"
#include "CVelmoraView.h"
#include "FrameServices.h"
#include "TextRules.h"

namespace velmora::games {

void CVelmoraView::ConfigureSelectedGame() {
    CollectHelpText();  // the dialog lists the help text's options; the emulator runs alone
    const int row = GetSelectedRow();
    if (row < 0) {
        return;
    }
    config::CConfigGameDlg dialog(m_frame, m_snapshots, m_frame.FrameWindow());
    dialog.m_strItemText = std::string(text::TrimLeft(RowGameText(row)));
    dialog.m_nGame = RowGameNumber(row);
    dialog.DoModal();
    // OK or Cancel alike: the row shows what is on disk now.
    SetRowImage(row, IsGameConfigured(dialog.m_nGame) != 0 ? kConfigured : kNotConfigured);
}

}  // namespace velmora::games
