// The configurable sample renderer: ZN_GPUinit marks it as a renderer, GPUconfigure shows
// its own settings dialog and keeps the choice in the registry, below the plugin settings key
// in subkey "Renderer":
//
//   Width          DWORD   horizontal resolution (default 800)
//   Height         DWORD   vertical resolution (default 600)
//   Fullscreen     DWORD   0 or 1 (default 0)
//   TextureFolder  string  folder for replacement textures (default empty)
//
// Test mode: when VELMORA_SAMPLE_PLUGIN_AUTO is set, GPUconfigure shows nothing and behaves as
// if the user pressed OK after entering the variable's assignments, e.g.
// "Width=1024;Height=768;Fullscreen=1;TextureFolder=C:\tex\": it reads the current values,
// applies the assignments for the four names above (names it does not know, and DWORD values
// that are not decimal numbers, are ignored) and writes all four values. Any value without
// assignments, such as "1", writes the current values back, or the defaults for missing ones.
//
// Every entry call appends its name and "\n" to the file named by VELMORA_SAMPLE_PLUGIN_LOG.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSize>
#include <QVBoxLayout>
#include <QVariant>

#include "PluginQt.h"
#include "PluginRegistry.h"
#include "PluginSupport.h"

namespace {

using velmora::sample::PluginKey;
using velmora::sample::Text;

struct RendererSettings {
    std::uint32_t width = 800;
    std::uint32_t height = 600;
    std::uint32_t fullscreen = 0;
    std::string textureFolder;

    void Load(const PluginKey& key) {
        width = key.Dword("Width", width);
        height = key.Dword("Height", height);
        fullscreen = key.Dword("Fullscreen", fullscreen);
        textureFolder = key.String("TextureFolder", textureFolder);
    }

    void Store(PluginKey& key) const {
        key.SetDword("Width", width);
        key.SetDword("Height", height);
        key.SetDword("Fullscreen", fullscreen);
        key.SetString("TextureFolder", textureFolder);
    }

    void Apply(const std::string& assignments) {
        for (const auto& [name, value] : velmora::sample::ParseAssignments(assignments)) {
            auto number = velmora::sample::ParseDword(value);
            if (name == "Width" && number) {
                width = *number;
            } else if (name == "Height" && number) {
                height = *number;
            } else if (name == "Fullscreen" && number) {
                fullscreen = *number;
            } else if (name == "TextureFolder") {
                textureFolder = value;
            }
        }
    }
};

// Widgets carry object names so that GUI tests can find them.
bool EditInDialog(RendererSettings& settings) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(Text("Sample renderer settings"));

    auto* resolution = new QComboBox(&dialog);
    resolution->setObjectName(Text("resolution"));
    const QSize sizes[] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 960}, {1600, 1200}};
    for (const QSize& size : sizes) {
        resolution->addItem(Text("%1 x %2").arg(size.width()).arg(size.height()), size);
    }
    // A size set elsewhere (another version, the test mode) is kept rather than lost on OK.
    const QSize current(static_cast<int>(settings.width), static_cast<int>(settings.height));
    int index = resolution->findData(current);
    if (index < 0) {
        resolution->addItem(Text("%1 x %2").arg(settings.width).arg(settings.height), current);
        index = resolution->count() - 1;
    }
    resolution->setCurrentIndex(index);

    auto* fullscreen = new QCheckBox(Text("Full screen"), &dialog);
    fullscreen->setObjectName(Text("fullscreen"));
    fullscreen->setChecked(settings.fullscreen != 0);

    auto* textureFolder =
        new QLineEdit(QString::fromLocal8Bit(settings.textureFolder.c_str()), &dialog);
    textureFolder->setObjectName(Text("textureFolder"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(Text("Resolution:"), resolution);
    form->addRow(QString(), fullscreen);
    form->addRow(Text("Texture folder:"), textureFolder);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    const QSize chosen = resolution->currentData().toSize();
    settings.width = static_cast<std::uint32_t>(chosen.width());
    settings.height = static_cast<std::uint32_t>(chosen.height());
    settings.fullscreen = fullscreen->isChecked() ? 1 : 0;
    settings.textureFolder = textureFolder->text().toLocal8Bit().toStdString();
    return true;
}

}  // namespace

VELMORA_PLUGIN_ENTRY long ZN_GPUinit() {
    velmora::sample::LogEntryCall("ZN_GPUinit");
    return 0;
}

VELMORA_PLUGIN_ENTRY long GPUconfigure() {
    velmora::sample::LogEntryCall("GPUconfigure");
    PluginKey key("Renderer");
    key.Load();
    RendererSettings settings;
    settings.Load(key);
    if (auto assignments = velmora::sample::AutoSettings()) {
        settings.Apply(*assignments);
    } else if (!velmora::sample::CanShowDialogs() || !EditInDialog(settings)) {
        return 0;
    }
    settings.Store(key);
    key.Save();
    return 0;
}
