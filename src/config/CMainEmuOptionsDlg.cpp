#include <utility>

#include "COptionsDlg.h"
#include "COptionsEdit.h"
#include "OptionList.h"

namespace velmora::config {

CMainEmuOptionsDlg::CMainEmuOptionsDlg(const std::string& helpText, QWidget* parent)
    : COptionsDlg(QStringLiteral("Configure ZiNc main emu"),
                  QStringLiteral("You can use the following main emu options:"),
                  QStringLiteral("Known emulator options"), parent),
      m_helpText(helpText) {}

void CMainEmuOptionsDlg::OnInitDialog() {
    COptionsDlg::OnInitDialog();
    UpperEdit()->SetText(BuildOptionList(m_helpText));
}

}  // namespace velmora::config
