#include "background/TrayPicture.h"

#include "resources/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int Side = 64;  // the tray scales it to its own size, 16 to 48 pixels
// The badge is large, for a 16-pixel tray still to show its shape.
constexpr QRectF Badge(Side * 0.42, Side * 0.42, Side * 0.58, Side * 0.58);

void DrawMark(QPainter& painter, BackgroundMode::State state) {
    const QPointF c = Badge.center();
    const qreal r = Badge.width() / 4;
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    switch (state) {
    case BackgroundMode::State::Reading: {
        QPainterPath play;
        play.moveTo(c.x() - r * 0.7, c.y() - r);
        play.lineTo(c.x() + r, c.y());
        play.lineTo(c.x() - r * 0.7, c.y() + r);
        play.closeSubpath();
        painter.drawPath(play);
        break;
    }
    case BackgroundMode::State::Waiting:
        for (const qreal dx : {-r, 0.0, r}) {
            painter.drawEllipse(QPointF(c.x() + dx, c.y()), r / 3, r / 3);
        }
        break;
    case BackgroundMode::State::Stopped:
        painter.drawRect(QRectF(c.x() - r * 0.75, c.y() - r * 0.75, r * 1.5, r * 1.5));
        break;
    }
}

QColor BadgeColour(BackgroundMode::State state) {
    switch (state) {
    case BackgroundMode::State::Reading:
        return {0x2e, 0x9e, 0x44};
    case BackgroundMode::State::Waiting:
        return {0xe0, 0x9a, 0x00};
    case BackgroundMode::State::Stopped:
        break;
    }
    return {0x70, 0x70, 0x70};
}

}  // namespace

QIcon TrayPicture(BackgroundMode::State state) {
    const QIcon own(resources::Picture(QStringLiteral("icon")));
    QPixmap picture(Side, Side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    own.paint(&painter, picture.rect(), Qt::AlignCenter,
              state == BackgroundMode::State::Stopped ? QIcon::Disabled : QIcon::Normal);
    painter.setPen(QPen(Qt::white, Side / 32.0));
    painter.setBrush(BadgeColour(state));
    painter.drawEllipse(Badge.adjusted(1, 1, -1, -1));
    DrawMark(painter, state);
    painter.end();
    return QIcon(picture);
}
