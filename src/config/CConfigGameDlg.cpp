#include "CConfigGameDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "COptionsDlg.h"
#include "CPluginLibrary.h"
#include "Contract.h"
#include "DialogUnits.h"
#include "FileIo.h"
#include "FileSystem.h"
#include "GameSnapshots.h"
#include "Platform.h"
#include "SaveGuard.h"
#include "TextRules.h"
#include "WidgetText.h"

namespace velmora::config {

namespace {

// A renderer item shows its file name as text and keeps the name's own bytes as data, so
// the name goes back to the emulator exactly as the folder holds it.
std::string ItemName(const QComboBox& box, int index) {
    const QByteArray name = box.itemData(index).toByteArray();
    return {name.constData(), static_cast<size_t>(name.size())};
}

// Tells, once, which of the game's files were not saved and why, in the system's words.
void ShowUnsaved(QWidget* parent, const std::optional<files::SaveFailure>& folder,
                 const std::vector<files::SaveFailure>& unsaved) {
    QString text;
    if (folder) {
        text += QStringLiteral("The folder %1 could not be created: %2\n\n")
                    .arg(ui::ToWidget(folder->path), ui::ToWidget(folder->reason));
    }
    text += unsaved.size() == 1 ? QStringLiteral("This file was not saved:\n")
                                : QStringLiteral("These files were not saved:\n");
    for (const files::SaveFailure& file : unsaved) {
        text += QStringLiteral("\n%1\n    %2\n")
                    .arg(ui::ToWidget(file.path), ui::ToWidget(file.reason));
    }
    text += QStringLiteral("\nThe game's earlier files are unchanged.");
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// The game's new files were saved, but its earlier ones could not be kept in its history.
void ShowUnkept(QWidget* parent, const files::SaveFailure& problem) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                    QStringLiteral("The game's settings were saved, but its earlier settings "
                                   "could not be kept:\n\n%1\n    %2")
                        .arg(ui::ToWidget(problem.path), ui::ToWidget(problem.reason)),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

CConfigGameDlg::CConfigGameDlg(const std::string& emulatorDir, std::string helpText,
                               snapshot::GameSnapshots& snapshots, QWidget* parent)
    : QDialog(parent),
      CGameOptionFiles(emulatorDir),
      m_helpText(std::move(helpText)),
      m_snapshots(snapshots) {
    setWindowTitle(QStringLiteral("Configure game"));
    const ui::DialogUnits units(font());
    setFixedSize(units.X(234), units.Y(101));

    // Created in the dialog's tab order.
    m_mainEmu = new QPushButton(QStringLiteral("Configure ZiNc main emu..."), this);
    m_sound = new QPushButton(QStringLiteral("Configure sound plugin..."), this);
    m_renderer = new QComboBox(this);
    m_rendererConfigure = new QPushButton(QStringLiteral("Configure renderer plugin..."), this);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_mainEmu->setObjectName(QStringLiteral("button1000"));
    m_sound->setObjectName(QStringLiteral("button1001"));
    m_rendererConfigure->setObjectName(QStringLiteral("button1002"));
    m_renderer->setObjectName(QStringLiteral("combo1003"));
    m_ok->setObjectName(QStringLiteral("ok"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    // What a screen reader calls the list. UI Automation takes the accessible name; on Linux
    // Qt gives a combo box's selected item as its name and its label as what it is for, so a
    // label names it there: one never shown, as the dialog has no room for it.
    const QString rendererName = QStringLiteral("Renderer plugin");
    m_renderer->setAccessibleName(rendererName);
    auto* rendererLabel = new QLabel(rendererName, this);
    rendererLabel->setBuddy(m_renderer);
    rendererLabel->hide();
    // As on the dialog manager the emulator's users know: Return presses the focused button,
    // and OK when the focus is elsewhere.
    m_ok->setDefault(true);

    units.Place(m_mainEmu, 13, 7, 140, 14);
    units.Place(m_sound, 13, 36, 140, 14);
    units.Place(m_renderer, 13, 66, 141, 12);
    units.Place(m_rendererConfigure, 13, 80, 140, 14);
    units.Place(m_ok, 178, 7, 50, 14);
    units.Place(m_cancel, 178, 24, 50, 14);
    units.Place(ui::EtchedLine(this, QFrame::VLine), 170, 0, 1, 100);
    units.Place(ui::EtchedLine(this, QFrame::HLine), 0, 28, 171, 1);
    units.Place(ui::EtchedLine(this, QFrame::HLine), 0, 58, 171, 1);

    connect(m_mainEmu, &QPushButton::clicked, this, &CConfigGameDlg::OnMainEmuOptions);
    connect(m_sound, &QPushButton::clicked, this, &CConfigGameDlg::OnSoundConfigure);
    connect(m_rendererConfigure, &QPushButton::clicked, this, &CConfigGameDlg::OnRendererConfigure);
    connect(m_ok, &QPushButton::clicked, this, &CConfigGameDlg::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int CConfigGameDlg::DoModal() {
    OnInitDialog();
    return exec() == QDialog::Accepted ? kIdOk : kIdCancel;
}

std::string CConfigGameDlg::PluginPath(const std::string& name) const {
    return emu::InDirectory(EmulatorDirectory(), name);
}

void CConfigGameDlg::OnInitDialog() {
    setWindowTitle(QStringLiteral("Configure game - ") + ui::ToWidget(m_strItemText));
    // Before any plugin is asked anything, so their dialogs show this game's settings.
    m_snapshots.Restore(m_nGame);
    LoadGameOptions();

    const auto entries = platform::ListDirectory(EmulatorDirectory());
    for (const platform::DirectoryEntry& entry :
         entries.value_or(std::vector<platform::DirectoryEntry>{})) {
        if (entry.regularFile &&
            CPluginLibrary::ExportsEntry(PluginPath(entry.name), emu::kRendererInitEntry)) {
            m_renderer->addItem(
                ui::ToWidget(entry.name),
                QByteArray(entry.name.data(), static_cast<qsizetype>(entry.name.size())));
        }
    }
    LoadRendererOptions();

    int selection = m_renderer->count() > 0 ? 0 : -1;
    for (int i = 0; i < m_renderer->count(); ++i) {
        if (text::StartsWithIgnoringCase(ItemName(*m_renderer, i), m_strRenderer)) {
            selection = i;
            break;
        }
    }
    m_renderer->setCurrentIndex(selection);

    const std::string sound = PluginPath(std::string(emu::kSoundPlugin));
    m_sound->setEnabled(CPluginLibrary::ExportsEntry(sound, emu::kSoundConfigureEntry));
    // The first control in tab order starts with the focus; left alone, Qt would give it to
    // the default button and a stray Space would accept the dialog.
    m_mainEmu->setFocus();
}

std::optional<std::string> CConfigGameDlg::SelectedRenderer() const {
    if (m_renderer->currentIndex() < 0) {
        return std::nullopt;
    }
    return ItemName(*m_renderer, m_renderer->currentIndex());
}

void CConfigGameDlg::OnMainEmuOptions() {
    CMainEmuOptionsDlg editor(m_helpText, this);
    editor.m_strOptions = m_strOptions;
    if (editor.exec() == QDialog::Accepted) {
        m_strOptions = editor.m_strOptions;
    }
}

void CConfigGameDlg::OnSoundConfigure() {
    CPluginLibrary sound(PluginPath(std::string(emu::kSoundPlugin)));
    if (sound.IsLoaded()) {
        sound.Call(emu::kSoundConfigureEntry);
    }
}

void CConfigGameDlg::OnRendererConfigure() {
    const std::optional<std::string> selected = SelectedRenderer();
    if (!selected) {
        return;
    }
    // The library stays loaded until its dialog, or our editor, has closed.
    CPluginLibrary renderer(PluginPath(*selected));
    if (!renderer.IsLoaded()) {
        return;
    }
    if (renderer.HasEntry(emu::kRendererConfigureEntry)) {
        renderer.Call(emu::kRendererConfigureEntry);
        return;
    }
    CRendererOptionsDlg editor(EmulatorDirectory(), this);
    editor.m_strOptions = m_strRendererOptions;
    if (editor.exec() == QDialog::Accepted) {
        m_strRendererOptions = editor.m_strOptions;
    }
}

void CConfigGameDlg::OnOK() {
    // A missing cfg folder is made, the folder itself only: an emulator directory that has
    // gone is not made again, and none is made where the emulator directory is unknown.
    const std::string cfg = emu::InDirectory(EmulatorDirectory(), emu::kCfgDir);
    const platform::Failure folder =
        EmulatorDirectory().empty() ? platform::Failure() : platform::MakeFolder(cfg);

    // The files as they were become a version in the game's history first, kept only when
    // the save changes a byte.
    if (m_guard != nullptr) {
        m_guard->BeforeSave(EmulatorDirectory(), m_nGame);
    }
    std::vector<files::SaveFailure> unsaved;
    std::string reason;
    const std::optional<std::string> renderer = SelectedRenderer();
    const bool gameSaved = SaveGameOptions(
        renderer,
        [](const std::string& library) {
            return CPluginLibrary::ExportsEntry(library, emu::kRendererConfigureEntry);
        },
        &reason);
    if (!gameSaved && renderer) {  // with no renderer chosen there is nothing to save
        unsaved.push_back({emu::GameOptionsFile(EmulatorDirectory(), m_nGame), reason});
    }
    if (reason.clear(); !SaveRendererOptions(&reason)) {
        unsaved.push_back({emu::RendererOptionsFile(EmulatorDirectory(), m_nGame), reason});
    }
    if (reason.clear(); !m_snapshots.Save(m_nGame, &reason)) {
        unsaved.push_back({emu::SnapshotFile(EmulatorDirectory(), m_nGame), reason});
    }
    m_savedAll = unsaved.empty();
    const std::optional<files::SaveFailure> unkept =
        m_guard != nullptr ? m_guard->AfterSave() : std::nullopt;
    if (!unsaved.empty()) {
        ShowUnsaved(this, folder ? std::optional<files::SaveFailure>({cfg, *folder}) : std::nullopt,
                    unsaved);
    } else if (unkept) {
        ShowUnkept(this, *unkept);
    }
    accept();
}

ConfigureResult ConfigureGame(const std::string& emulatorDir, const std::string& helpText,
                              snapshot::GameSnapshots& snapshots, SaveGuard* guard,
                              std::string_view gameColumn, int game, QWidget* parent) {
    CConfigGameDlg dialog(emulatorDir, helpText, snapshots, parent);
    dialog.SetSaveGuard(guard);
    dialog.m_strItemText = std::string(text::TrimLeft(gameColumn));
    dialog.m_nGame = game;
    if (dialog.DoModal() != CConfigGameDlg::kIdOk) {
        return ConfigureResult::Cancelled;
    }
    return dialog.SavedAll() ? ConfigureResult::Saved : ConfigureResult::NotSaved;
}

bool AskToConfigure(QWidget* parent) {
    return QMessageBox::question(
               parent, QApplication::applicationName(),
               QStringLiteral("This game is not configured yet! Start the game configuration?"),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::No;
}

}  // namespace velmora::config
