// The sample sound plugin, installed as sound.znc: SPUconfigure shows its own settings dialog
// and keeps the choice in the registry, below the plugin settings key in subkey "Sound":
//
//   Volume   DWORD   master volume, 0 to 100 (default 80)
//   Reverb   DWORD   0 or 1 (default 1)
//   Device   string  output device name (default "Default output")
//
// Test mode: when VELMORA_SAMPLE_PLUGIN_AUTO is set, SPUconfigure shows nothing and behaves as
// if the user pressed OK after entering the variable's assignments, e.g. "Volume=30;Reverb=0":
// it reads the current values, applies the assignments for the three names above (other
// names, such as the renderer's, and DWORD values that are not decimal numbers, are ignored)
// and writes all three values. Any value without assignments, such as "1", writes the current
// values back, or the defaults for missing ones.
//
// Every entry call appends its name and "\n" to the file named by VELMORA_SAMPLE_PLUGIN_LOG.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

#include "PluginQt.h"
#include "PluginRegistry.h"
#include "PluginSupport.h"

namespace {

using velmora::sample::PluginKey;
using velmora::sample::Text;

struct SoundSettings {
    std::uint32_t volume = 80;
    std::uint32_t reverb = 1;
    std::string device = "Default output";

    void Load(const PluginKey& key) {
        volume = key.Dword("Volume", volume);
        reverb = key.Dword("Reverb", reverb);
        device = key.String("Device", device);
    }

    void Store(PluginKey& key) const {
        key.SetDword("Volume", volume);
        key.SetDword("Reverb", reverb);
        key.SetString("Device", device);
    }

    void Apply(const std::string& assignments) {
        for (const auto& [name, value] : velmora::sample::ParseAssignments(assignments)) {
            auto number = velmora::sample::ParseDword(value);
            if (name == "Volume" && number) {
                volume = *number;
            } else if (name == "Reverb" && number) {
                reverb = *number;
            } else if (name == "Device") {
                device = value;
            }
        }
    }
};

// Widgets carry object names so that GUI tests can find them.
bool EditInDialog(SoundSettings& settings) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(Text("Sample sound settings"));

    auto* volume = new QSlider(Qt::Horizontal, &dialog);
    volume->setObjectName(Text("volume"));
    volume->setRange(0, 100);
    volume->setValue(static_cast<int>(std::min<std::uint32_t>(settings.volume, 100)));
    auto* volumeText = new QLabel(QString::number(volume->value()), &dialog);
    volumeText->setMinimumWidth(volumeText->fontMetrics().horizontalAdvance(Text("100")));
    QObject::connect(volume, &QSlider::valueChanged, volumeText,
                     [volumeText](int value) { volumeText->setNum(value); });
    auto* volumeRow = new QHBoxLayout;
    volumeRow->addWidget(volume);
    volumeRow->addWidget(volumeText);

    auto* reverb = new QCheckBox(Text("Reverb"), &dialog);
    reverb->setObjectName(Text("reverb"));
    reverb->setChecked(settings.reverb != 0);

    auto* device = new QComboBox(&dialog);
    device->setObjectName(Text("device"));
    device->addItems({Text("Default output"), Text("Speakers"), Text("Headphones")});
    const QString currentDevice = QString::fromLocal8Bit(settings.device.c_str());
    if (device->findText(currentDevice) < 0) {
        device->addItem(currentDevice);
    }
    device->setCurrentText(currentDevice);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(Text("Volume:"), volumeRow);
    form->addRow(QString(), reverb);
    form->addRow(Text("Output device:"), device);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    settings.volume = static_cast<std::uint32_t>(volume->value());
    settings.reverb = reverb->isChecked() ? 1 : 0;
    settings.device = device->currentText().toLocal8Bit().toStdString();
    return true;
}

}  // namespace

VELMORA_PLUGIN_ENTRY long SPUconfigure() {
    velmora::sample::LogEntryCall("SPUconfigure");
    PluginKey key("Sound");
    key.Load();
    SoundSettings settings;
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
