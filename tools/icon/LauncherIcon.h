#pragma once
// Velmora's icon for the desktop's menu, drawn from the application icon: the bitmap's
// magenta background becomes see-through, and the pixel art is scaled to the sizes desktops
// ask for without blurring it more than a size needs.

#include <QImage>

namespace velmora::tools {

// `source` scaled to `size` x `size` pixels, magenta (255, 0, 255) turned transparent. Each
// source pixel is first repeated into a square block whose side lets the blocks fall on whole
// output pixels, then every output pixel is the average of the block pixels it covers, with
// colours weighted by their opacity so the magenta never bleeds into the edges. A size that
// is a whole multiple of the source thus repeats pixels exactly, and a size that divides it
// averages whole pixels.
QImage LauncherIcon(const QImage& source, int size);

}  // namespace velmora::tools
