#pragma once
// A line of the picture layer between two points given in twips, one pixel wide, solid or dotted.
// It covers only the pixels of its own bounding box and takes no mouse input.

#include <QColor>
#include <QLine>
#include <QWidget>

class LineWidget final : public QWidget {
    Q_OBJECT
public:
    // `twips` is (X1, Y1) to (X2, Y2) in the parent's client area.
    LineWidget(QLine twips, QColor color, bool dotted, QWidget* parent);

    QLine twipsLine() const { return twips_; }
    QColor color() const { return color_; }
    bool dotted() const { return dotted_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLine twips_;
    QColor color_;
    bool dotted_;
};
