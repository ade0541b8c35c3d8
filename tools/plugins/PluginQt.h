#pragma once
// Helpers for the sample plugins that show Qt dialogs inside the front end's process.

#include <QApplication>
#include <QString>

namespace velmora::sample {

// The front end unloads a plugin right after calling it, while Qt lives on. QStringLiteral
// would hand Qt strings whose bytes lie in the plugin's image, and any copy Qt kept would
// dangle once the image is gone; these strings own their bytes on the heap instead.
inline QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Dialogs need a widget application; a bare QCoreApplication or none at all has no screen.
inline bool CanShowDialogs() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace velmora::sample
