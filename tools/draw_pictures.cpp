// Draws the program's pictures into a directory, at their size and at twice it ("@2x", for
// high-density screens): draw_pictures <directory>. Run at build time on Qt's offscreen platform.
#include "WindowPictures.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_pictures <directory>\n");
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    if (!directory.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "draw_pictures: cannot create %s\n", argv[1]);
        return 1;
    }
    for (const auto& [scale, suffix] : {std::pair{1, ""}, std::pair{2, "@2x"}}) {
        for (const auto& [name, picture] : drawing::RenderPictures(scale)) {
            const QString path = directory.filePath(name + QLatin1String(suffix) + QStringLiteral(".png"));
            if (!picture.save(path)) {
                std::fprintf(stderr, "draw_pictures: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
