#include "SettingsPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "Contract.h"
#include "WidgetText.h"

namespace velmora::settings {

namespace {

const QString kFilter = QStringLiteral("Velmora settings (*.velmora);;All files (*)");

// A path from the file dialog as the system names the file: the ANSI code page on Windows,
// UTF-8 elsewhere, where Qt's file dialog reads names as UTF-8.
std::string PathBytes(const QString& path) {
#ifdef _WIN32
    return ui::Encode(QDir::toNativeSeparators(path), ui::Codec::kAnsiCodePage);
#else
    return ui::Encode(path, ui::Codec::kUtf8);
#endif
}

std::optional<std::string> Ask(QFileDialog& dialog) {
    dialog.setNameFilter(kFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return PathBytes(dialog.selectedFiles().front());
}

}  // namespace

std::string DefaultSettingsFileName(int game, std::string_view gameName) {
    std::string name = emu::GameNumberText(game);
    if (!gameName.empty()) {
        name += ' ';
        for (const char c : gameName) {
            const bool refused = static_cast<unsigned char>(c) < 0x20 ||
                                 std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
            name += refused ? ' ' : c;
        }
    }
    return name + ".velmora";
}

std::optional<std::string> AskExportFile(QWidget* parent, int game, std::string_view gameName) {
    QFileDialog dialog(parent, QStringLiteral("Export settings"), QDir::homePath());
    dialog.setObjectName(QStringLiteral("exportFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("velmora"));
    dialog.selectFile(ui::ToWidget(DefaultSettingsFileName(game, gameName)));
    return Ask(dialog);
}

std::optional<std::string> AskImportFile(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Import settings"), QDir::homePath());
    dialog.setObjectName(QStringLiteral("importFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Ask(dialog);
}

bool ConfirmRemove(QWidget* parent, std::string_view gameText) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Remove settings"),
                    QStringLiteral("Remove the settings of %1?\n\nThe game's files are kept as "
                                   "a version in its history, from where they can be restored.")
                        .arg(ui::ToWidget(gameText)),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("confirmRemove"));
    box.setDefaultButton(QMessageBox::No);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

void TellFailure(QWidget* parent, const std::string& line) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), ui::ToWidget(line),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("settingsFailure"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace velmora::settings
