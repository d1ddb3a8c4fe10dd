#include "ControllerDrawing.h"

#include <QFile>
#include <QPainter>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <QTransform>

namespace drawing {

namespace {

QByteArray ReadDrawing(const QString& name) {
    QFile file(QStringLiteral(":/drawing/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("drawing %s is missing", qPrintable(name));
    }
    return file.readAll();
}

// The drawing chooses its look by the classes of its svg element, written there as class="normal".
QByteArray LookClasses(const View& view) {
    QByteArray classes = view.look == Look::Pressed ? "pressed" : "normal";
    if (view.padDot >= 0) {
        classes += " dot-" + QByteArray::number(view.padDot);
    }
    if (view.bare) {
        classes += " bare";
    }
    return "class=\"" + classes + "\"";
}

QImage Render(const QByteArray& svg, QSize size) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        qFatal("a drawing does not parse");
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// The same picture in one flat colour, keeping its coverage.
QImage Silhouette(const QImage& picture, const QColor& colour) {
    QImage silhouette = picture;
    QPainter painter(&silhouette);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(silhouette.rect(), colour);
    return silhouette;
}

} // namespace

QImage RenderController(const View& view, int scale) {
    static const QByteArray drawing = ReadDrawing(QStringLiteral("controller.svg"));
    QByteArray svg = drawing;
    svg.replace(QByteArrayLiteral("class=\"normal\""), LookClasses(view));
    const QImage image = Render(svg, ControllerSize * scale);
    return view.bare ? image : image.convertToFormat(QImage::Format_RGB32);
}

QImage RenderSplash(int scale) {
    const QSize size = SplashSize * scale;
    QImage splash(size, QImage::Format_RGB32);
    QPainter painter(&splash);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);

    QRadialGradient backdrop(QPointF(size.width() * 0.5, size.height() * 0.45), size.width() * 0.75);
    backdrop.setColorAt(0.0, QColor(0x5b, 0x66, 0x78));
    backdrop.setColorAt(0.55, QColor(0x2f, 0x36, 0x41));
    backdrop.setColorAt(1.0, QColor(0x16, 0x1a, 0x20));
    painter.fillRect(splash.rect(), backdrop);

    // The top view drawn small (so that the projection below hardly resamples it), then tilted away
    // from the viewer and turned a little: the near grips come forward, the shoulders recede.
    const qreal drawScale = 0.3 * scale;
    const QImage top = RenderController({Look::Normal, -1, true}, 1)
                           .scaled(ControllerSize * drawScale, Qt::IgnoreAspectRatio,
                                   Qt::SmoothTransformation);
    const QRectF body(QPointF(12, 80) * drawScale, QPointF(588, 534) * drawScale);
    const QPolygonF tilted{QPointF(0.22, 0.17), QPointF(0.87, 0.09), QPointF(0.94, 0.73), QPointF(0.05, 0.85)};
    QPolygonF target;
    for (const QPointF& corner : tilted) {
        target << QPointF(corner.x() * size.width(), corner.y() * size.height());
    }
    QTransform projection;
    QTransform::quadToQuad(QPolygonF(body).mid(0, 4), target, projection);

    // Soft shadow on the ground, then the body's thickness as its silhouette stacked downwards.
    const qreal thickness = 6.0 * scale;
    QImage shadow = Silhouette(top, QColor(0, 0, 0, 110));
    shadow = shadow.scaled(shadow.size() / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .scaled(shadow.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.setTransform(projection * QTransform::fromTranslate(2.0 * scale, thickness + 4.0 * scale));
    painter.drawImage(0, 0, shadow);
    const QImage side = Silhouette(top, QColor(0x6e, 0x75, 0x80));
    for (qreal dy = thickness; dy > 0.0; dy -= 0.5) {
        painter.setTransform(projection * QTransform::fromTranslate(0.0, dy));
        painter.drawImage(0, 0, side);
    }
    painter.setTransform(projection);
    painter.drawImage(0, 0, top);
    return splash;
}

QImage RenderIcon(int size) {
    static const QByteArray drawing = ReadDrawing(QStringLiteral("icon.svg"));
    return Render(drawing, QSize(size, size));
}

} // namespace drawing
