#include "WidgetModes.h"

#include <QApplication>
#include <QMessageBox>
#include <QSettings>

#include "CConfigGameDlg.h"
#include "Console.h"
#include "DesktopShortcut.h"
#include "EightBitText.h"
#include "FrameServices.h"
#include "GameList.h"
#include "Profile.h"
#include "TextRules.h"

namespace velmora::app {

namespace {

// The window the Configure game dialog expects around it, for a dialog that stands alone.
class StandaloneFrame : public ui::CFrameServices {
public:
    StandaloneFrame(const ModeContext& context, std::string helpText)
        : m_context(context),
          m_helpText(std::move(helpText)),
          m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                     QStringLiteral("Velmora")),
          m_profile(m_settings) {}

    const std::string& EmulatorDirectory() const override { return m_context.emulatorDir; }
    const std::string& EmulatorPath() const override { return m_context.emulatorPath; }
    const std::string& HelpText() const override { return m_helpText; }
    void SetHelpText(const std::string& text) override { m_helpText = text; }
    int ShowOutputFlag() const override { return 0; }
    void SetOutputText(const std::string& /*text*/) override {}
    ui::CProfile& Profile() override { return m_profile; }
    QWidget* FrameWindow() override { return nullptr; }

private:
    const ModeContext& m_context;
    std::string m_helpText;
    QSettings m_settings;
    ui::CProfile m_profile;
};

// A game's name for people, as the list shows it, with its country to tell regional
// versions apart. The one place where the shortcut's name leaves the emulator's bytes.
QString ShortcutName(const games::GameRow& row) {
    std::string name(GameName(row.game));
    if (name.empty()) {
        name = "Game " + std::to_string(row.number);
    }
    if (!row.country.empty()) {
        name += " (" + std::string(row.country) + ")";
    }
    return QString::fromStdString(text::EightBitToUtf8(name));
}

}  // namespace

int StartGame(ModeContext& context, int game) {
    if (!games::IsGameConfigured(context.emulatorDir, game)) {
        const auto answer = QMessageBox::question(
            nullptr, QApplication::applicationName(),
            QStringLiteral("This game is not configured yet! Start the game configuration?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::No) {
            ConfigureGame(context, game);
        }
        return kExitFailed;  // even a freshly configured game waits for the user to start it
    }
    return StartConfiguredGame(context, game);
}

int ConfigureGame(ModeContext& context, int game) {
    const std::optional<GameCatalog> catalog = LoadCatalog(context);
    const games::GameRow* row = catalog ? FindGame(*catalog, game) : nullptr;
    if (row == nullptr) {
        return kExitFailed;
    }
    StandaloneFrame frame(
        context, context.runner
                     .RunCaptured(emu::HelpTextCommand(context.emulatorPath, context.emulatorDir),
                                  games::WindowMode::Hidden)
                     .text);
    config::CConfigGameDlg dialog(frame, context.snapshots);
    dialog.m_strItemText = std::string(text::TrimLeft(row->game));
    dialog.m_nGame = game;
    return dialog.DoModal() == config::CConfigGameDlg::kIdOk ? 0 : kExitFailed;
}

int MakeShortcut(ModeContext& context, int game) {
    ShortcutRequest request{game, QString(), context.executable, context.emulatorDir};
    if (const std::string refusal = ShortcutRefusal(request); !refusal.empty()) {
        ReportError("Could not make the shortcut: " + refusal);
        return kExitFailed;
    }
    const std::optional<GameCatalog> catalog = LoadCatalog(context);
    const games::GameRow* row = catalog ? FindGame(*catalog, game) : nullptr;
    if (row == nullptr) {
        return kExitFailed;
    }
    request.name = ShortcutName(*row);
    const ShortcutOutcome outcome = WriteDesktopShortcut(request);
    if (!outcome.ok) {
        ReportError("Could not make the shortcut: " + outcome.error);
        return kExitFailed;
    }
    WriteOut("Wrote " + outcome.path + "\n");
    return 0;
}

int RemoveShortcut(ModeContext& context, int game) {
    // The name is needed only where the shortcut is named after the game; a game that has
    // left the emulator's list may still have one.
    ShortcutRequest request{game, QString(), context.executable, context.emulatorDir};
    if (std::optional<GameCatalog> catalog =
            GameCatalog::Load(context.runner, context.emulatorPath, context.emulatorDir)) {
        if (const games::GameRow* row = catalog->Find(game)) {
            request.name = ShortcutName(*row);
        }
    }
    const ShortcutOutcome outcome = RemoveDesktopShortcut(request);
    if (!outcome.ok) {
        ReportError("Could not remove the shortcut: " + outcome.error);
        return kExitFailed;
    }
    WriteOut("Removed " + outcome.path + "\n");
    return 0;
}

}  // namespace velmora::app
