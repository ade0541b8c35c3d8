// Writes Velmora's menu icons as PNG files in the layout of an icon theme:
//
//   velmora_launcher_icons SOURCE.bmp THEME_DIR SIZE...
//
// gives THEME_DIR/<SIZE>x<SIZE>/apps/velmora.png for each size.

#include <QDir>
#include <QFile>
#include <QImage>
#include <cstdio>

#include "LauncherIcon.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s SOURCE.bmp THEME_DIR SIZE...\n", argv[0]);
        return 2;
    }
    const QImage source(QFile::decodeName(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "%s: cannot read the image %s\n", argv[0], argv[1]);
        return 1;
    }
    const QDir theme(QFile::decodeName(argv[2]));
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QImage icon = velmora::tools::LauncherIcon(source, size);
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        if (icon.isNull() || !theme.mkpath(dir) ||
            !icon.save(theme.filePath(dir + QStringLiteral("/velmora.png")), "PNG")) {
            std::fprintf(stderr, "%s: cannot write the %s pixel icon\n", argv[0], argv[i]);
            return 1;
        }
    }
    return 0;
}
