#include "ControllerDrawing.h"

#include <QFile>
#include <QPainter>
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

// The controller drawing in the given look: the drawing chooses its look by the classes of its svg
// element, written there as class="normal".
QByteArray ControllerSvg(const View& view) {
    static const QByteArray drawing = ReadDrawing(QStringLiteral("controller.svg"));
    QByteArray classes = view.look == Look::Pressed ? "pressed" : "normal";
    if (view.padDot >= 0) {
        classes += " dot-" + QByteArray::number(view.padDot);
    }
    if (view.bare) {
        classes += " bare";
    }
    QByteArray svg = drawing;
    return svg.replace(QByteArrayLiteral("class=\"normal\""), "class=\"" + classes + "\"");
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

}  // namespace

QImage RenderController(const View& view, int scale) {
    const QImage image = Render(ControllerSvg(view), ControllerSize * scale);
    return view.bare ? image : image.convertToFormat(QImage::Format_RGB32);
}

QImage RenderSplash(int scale) {
    const QSize size = SplashSize * scale;
    QImage splash(size, QImage::Format_RGB32);
    QPainter painter(&splash);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QSvgRenderer(ControllerSvg({})).render(&painter, QStringLiteral("backdrop"), QRectF(splash.rect()));

    // The bare top view, first brought near the size it will have, so that the projection hardly
    // resamples it. Its body (the grips reach the drawing's bottom edge) is then tilted away from the
    // viewer and turned a little: the grips come forward, the shoulders recede.
    const qreal shrink = 0.3 * scale;
    const QImage top = RenderController({Look::Normal, -1, true})
                           .scaled(ControllerSize * shrink, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QRectF body(QPointF(12, 80) * shrink, QPointF(588, 532) * shrink);
    const auto at = [&size](qreal x, qreal y) { return QPointF(x * size.width(), y * size.height()); };
    QTransform projection;
    QTransform::quadToQuad(QPolygonF{body.topLeft(), body.topRight(), body.bottomRight(), body.bottomLeft()},
                           QPolygonF{at(0.22, 0.17), at(0.87, 0.09), at(0.94, 0.73), at(0.05, 0.85)},
                           projection);

    // A soft shadow on the ground (blurred by shrinking and growing it back), the body's thickness as
    // its silhouette stacked downwards, then the top.
    const qreal thickness = 6.0 * scale;
    const QImage shadow = Silhouette(top, QColor(0, 0, 0, 110))
                              .scaled(top.size() / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .scaled(top.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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

}  // namespace drawing
