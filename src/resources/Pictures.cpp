#include "resources/Pictures.h"

#include <QGuiApplication>

namespace resources {

QPixmap Picture(const QString& name, qreal devicePixelRatio) {
    const QString path = QStringLiteral(":/pictures/") + name;
    if (devicePixelRatio > 1.0) {
        // QImageReader gives a file named "@2x" a device pixel ratio of 2.
        QPixmap doubleSize(path + QStringLiteral("@2x.png"));
        if (!doubleSize.isNull()) {
            return doubleSize;
        }
    }
    return QPixmap(path + QStringLiteral(".png"));
}

QPixmap Picture(const QString& name) {
    return Picture(name, qApp->devicePixelRatio());
}

}  // namespace resources
