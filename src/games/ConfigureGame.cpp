// Opening the Configure game dialog for the selected row.

#include "CConfigGameDlg.h"
#include "CVelmoraView.h"
#include "FrameServices.h"

namespace velmora::games {

void CVelmoraView::ConfigureSelectedGame() {
    const int row = GetSelectedRow();
    if (row < 0) {
        return;
    }
    const std::string text = RowGameText(row);
    config::CConfigGameDlg dialog(m_frame, m_frame.FrameWindow());
    dialog.m_strItemText =
        text.substr(std::min(text.find_first_not_of(" \t\r\n\v\f"), text.size()));
    dialog.m_nGame = emu::LeadingNumber(text);
    dialog.DoModal();
    // OK or Cancel alike: the row shows what is on disk now.
    SetRowImage(row, IsGameConfigured(dialog.m_nGame));
}

}  // namespace velmora::games
