#pragma once
// Readable GoogleTest output for the Qt values tests compare (found by argument-dependent lookup).

#include <QPoint>
#include <QRect>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QPoint& point, std::ostream* os) {
    *os << '(' << point.x() << ", " << point.y() << ')';
}

inline void PrintTo(const QRect& rect, std::ostream* os) {
    *os << '(' << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height() << ')';
}
