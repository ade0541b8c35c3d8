#include "COptionsDlg.h"
#include "COptionsEdit.h"
#include "Contract.h"
#include "FileIo.h"

namespace velmora::config {

namespace {
// Renderer option files line their values up with tabs.
constexpr int kRendererTabStops = 14;
}  // namespace

CRendererOptionsDlg::CRendererOptionsDlg(const std::string& emulatorDirectory, QWidget* parent)
    : COptionsDlg(QStringLiteral("Configure ZiNc renderer"),
                  QStringLiteral("Example for the renderer options:"),
                  QStringLiteral("Renderer examples"), parent),
      m_emulatorDir(emulatorDirectory) {
    SetTabStops(kRendererTabStops);
}

void CRendererOptionsDlg::OnInitDialog() {
    COptionsDlg::OnInitDialog();
    // Read afresh at every opening and shown as it is, trailing blank lines and all; a missing
    // example shows nothing.
    const std::string example =
        files::ReadPrefix(emu::InDirectory(m_emulatorDir, emu::kRendererExample)).value_or("");
    UpperEdit()->SetText(example);
}

}  // namespace velmora::config
