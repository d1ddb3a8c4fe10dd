#include "mainwindow/ShapeWidget.h"

#include <QPainter>

ShapeWidget::ShapeWidget(Outline outline, QColor border, std::optional<QColor> fill, QWidget* parent)
    : QWidget(parent), outline_(outline), border_(border), fill_(fill) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(border_);
    painter.setBrush(fill_ ? QBrush(*fill_) : QBrush(Qt::NoBrush));
    const QRect inside = rect().adjusted(0, 0, -1, -1);
    if (outline_ == Outline::Circle) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawEllipse(inside);
    } else {
        painter.drawRect(inside);
    }
}
