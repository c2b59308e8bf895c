// Writes the game's window icon as PNG files for the desktop's icon theme:
//   quorvin_icon_export <folder> <size>...  writes <folder>/<size>x<size>/apps/quorvin.png
// The icon is drawn by the game's own code (windowIcon()), so the desktop shows the same face as
// the window. Needs no display: it runs on Qt's offscreen platform.
#include "assets/pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    const QIcon icon = quorvin::windowIcon();
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(argv[1]).arg(size);
        const QPixmap pixmap = icon.pixmap(QSize(size, size), 1.0);
        if (size <= 0 || pixmap.size() != QSize(size, size) || !QDir().mkpath(folder) ||
            !pixmap.save(folder + QStringLiteral("/quorvin.png"), "PNG")) {
            std::fprintf(stderr, "%s: cannot write the %s px icon\n", argv[0], argv[i]);
            return 1;
        }
    }
    return 0;
}
