// Writes the program's icon into a hicolor theme tree: <dir>/<N>x<N>/apps/talvor.png for every
// size, for the package to install.
#include <QDir>
#include <QImage>
#include <cstdio>

#include "app/Artwork.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: talvor_icons <hicolor directory>\n", stderr);
        return 2;
    }
    const QDir hicolor(QString::fromLocal8Bit(argv[1]));
    for (const int size : talvor::iconSizes) {
        const QString apps = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = hicolor.filePath(apps + QStringLiteral("/talvor.png"));
        if (!hicolor.mkpath(apps) || !talvor::iconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "talvor_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
