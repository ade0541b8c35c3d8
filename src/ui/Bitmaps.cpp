#include "Bitmaps.h"

#include <QBitmap>
#include <QColor>

// Resources of a static library must be registered by hand, and only once.
static void InitBitmapResources() {
    Q_INIT_RESOURCE(resources);
}

namespace velmora::ui {

namespace {

void RegisterResources() {
    static const bool registered = (InitBitmapResources(), true);
    (void)registered;
}

QPixmap LoadMasked(const QString& resource) {
    RegisterResources();
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

QImage AppIconImage() {
    RegisterResources();
    return QImage(QStringLiteral(":/velmora/velmora.bmp"));
}

}  // namespace velmora::ui
