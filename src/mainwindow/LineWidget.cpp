#include "mainwindow/LineWidget.h"

#include "platform/Twips.h"

#include <QPainter>
#include <algorithm>

namespace {
QPoint ToPixels(QPoint twips) {
    return {platform::TwipsToPixels(twips.x()), platform::TwipsToPixels(twips.y())};
}
}  // namespace

LineWidget::LineWidget(QLine twips, QColor color, bool dotted, QWidget* parent)
    : QWidget(parent), twips_(twips), color_(color), dotted_(dotted) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Both end points are part of the line, so the box is one pixel larger than their distance,
    // whichever way the line runs.
    const QPoint p1 = ToPixels(twips.p1());
    const QPoint p2 = ToPixels(twips.p2());
    setGeometry(QRect(QPoint(std::min(p1.x(), p2.x()), std::min(p1.y(), p2.y())),
                      QPoint(std::max(p1.x(), p2.x()), std::max(p1.y(), p2.y()))));
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(color_, 0);
    if (dotted_) {
        pen.setDashPattern({1, 1});  // one pixel on, one off
    }
    painter.setPen(pen);
    const QPoint origin = geometry().topLeft();
    painter.drawLine(ToPixels(twips_.p1()) - origin, ToPixels(twips_.p2()) - origin);
}
