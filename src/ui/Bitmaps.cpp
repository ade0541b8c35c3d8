#include "Bitmaps.h"

#include <QBitmap>
#include <QColor>

// Resources of a static library must be registered by hand, and only once.
static void InitBitmapResources() {
    Q_INIT_RESOURCE(resources);
}

namespace velmora::ui {

namespace {

QPixmap LoadMasked(const QString& resource) {
    static const bool registered = (InitBitmapResources(), true);
    (void)registered;
    QPixmap pixmap(resource);
    pixmap.setMask(pixmap.createMaskFromColor(QColor(255, 0, 255)));
    return pixmap;
}

}  // namespace

QPixmap RowImageStrip() {
    return LoadMasked(QStringLiteral(":/velmora/rowimages.bmp"));
}

QPixmap AppIcon() {
    return LoadMasked(QStringLiteral(":/velmora/velmora.bmp"));
}

}  // namespace velmora::ui
