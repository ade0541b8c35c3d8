#include "LauncherIcon.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora::tools {
namespace {

const QImage& Source() {
    static const QImage image(QStringLiteral(VELMORA_APP_ICON));
    return image;
}

bool IsBackground(QRgb pixel) {
    return (pixel & 0xFFFFFFu) == 0xFF00FFu;
}

TEST(LauncherIcon, TheBackgroundIsSeeThroughAndNeverTintsTheEdges) {
    ASSERT_FALSE(Source().isNull());
    ASSERT_TRUE(IsBackground(Source().pixel(0, 0)));
    // No colour of the icon may hold more red or blue than the drawing itself has: magenta
    // mixed into an edge would.
    int red = 0;
    int blue = 0;
    for (int y = 0; y < Source().height(); ++y) {
        for (int x = 0; x < Source().width(); ++x) {
            const QRgb p = Source().pixel(x, y);
            if (!IsBackground(p)) {
                red = std::max(red, qRed(p));
                blue = std::max(blue, qBlue(p));
            }
        }
    }
    for (int size : {16, 32, 48, 256}) {
        const QImage icon = LauncherIcon(Source(), size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        int opaque = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb p = icon.pixel(x, y);
                if (qAlpha(p) == 0) {
                    continue;
                }
                opaque += qAlpha(p) == 255 ? 1 : 0;
                ASSERT_LE(qRed(p), red + 1) << size << " at " << x << "," << y;
                ASSERT_LE(qBlue(p), blue + 1) << size << " at " << x << "," << y;
            }
        }
        EXPECT_GT(opaque, size * size / 8) << size;
    }
}

TEST(LauncherIcon, WholeMultiplesRepeatPixelsWithoutBlur) {
    for (int size : {32, 256}) {
        const QImage icon = LauncherIcon(Source(), size);
        const int factor = size / Source().width();
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb source = Source().pixel(x / factor, y / factor);
                const QRgb expected = IsBackground(source) ? 0u : source | 0xFF000000u;
                const QRgb actual = icon.pixel(x, y);
                ASSERT_EQ(qAlpha(actual) == 0 ? 0u : actual, expected) << x << "," << y;
            }
        }
    }
}

TEST(LauncherIcon, RefusesWhatItCannotScale) {
    EXPECT_TRUE(LauncherIcon(QImage(), 16).isNull());
    EXPECT_TRUE(LauncherIcon(Source(), 0).isNull());
    EXPECT_TRUE(LauncherIcon(QImage(32, 16, QImage::Format_RGB32), 16).isNull());
}

}  // namespace
}  // namespace velmora::tools
