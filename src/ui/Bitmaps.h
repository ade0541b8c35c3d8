#pragma once
// Velmora's bitmaps: the row images and the application icon. They are drawn on magenta,
// which stands for "see-through" and never shows.

#include <QImage>
#include <QPixmap>

namespace velmora::ui {

// The bitmap strip of the two row images, red and green Z, 16 x 16 each.
QPixmap RowImageStrip();
// Icon 128: the window icon and the picture in the About box.
QPixmap AppIcon();
// The same icon as an image, magenta still in place; needs no display.
QImage AppIconImage();

}  // namespace velmora::ui
