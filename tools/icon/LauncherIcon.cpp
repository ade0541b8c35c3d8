#include "LauncherIcon.h"

#include <numeric>

namespace velmora::tools {

namespace {

constexpr QRgb kSeeThrough = qRgb(255, 0, 255);

// The source with its background made transparent, colours weighted by opacity.
QImage Cutout(const QImage& source) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000u) == kSeeThrough) {
                line[x] = 0;
            }
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

QImage LauncherIcon(const QImage& source, int size) {
    if (source.isNull() || size <= 0 || source.width() != source.height()) {
        return {};
    }
    const QImage cutout = Cutout(source);
    // Repeating each pixel `blow` times makes the side a multiple of `size`; each output pixel
    // then covers `cell` x `cell` repeated pixels.
    const int side = cutout.width();
    const int blow = std::lcm(side, size) / side;
    const int cell = side * blow / size;

    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size; ++y) {
        auto* out = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < size; ++x) {
            long sum[4] = {0, 0, 0, 0};
            for (int j = 0; j < cell; ++j) {
                const auto* in =
                    reinterpret_cast<const QRgb*>(cutout.constScanLine((y * cell + j) / blow));
                for (int i = 0; i < cell; ++i) {
                    const QRgb p = in[(x * cell + i) / blow];
                    sum[0] += qAlpha(p);
                    sum[1] += qRed(p);
                    sum[2] += qGreen(p);
                    sum[3] += qBlue(p);
                }
            }
            const long n = static_cast<long>(cell) * cell;
            const auto mean = [n](long total) { return static_cast<int>((total + n / 2) / n); };
            out[x] = qRgba(mean(sum[1]), mean(sum[2]), mean(sum[3]), mean(sum[0]));
        }
    }
    return icon.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace velmora::tools
