#pragma once
// A shape of the picture layer: a 1-pixel border, optionally filled, drawn inside its rectangle.
// It takes no mouse input, so what lies beneath it keeps receiving clicks.

#include <QColor>
#include <QWidget>
#include <optional>

class ShapeWidget final : public QWidget {
    Q_OBJECT
public:
    enum class Outline { Rectangle, Circle };

    ShapeWidget(Outline outline, QColor border, std::optional<QColor> fill, QWidget* parent);

    Outline outline() const { return outline_; }
    QColor borderColor() const { return border_; }
    std::optional<QColor> fillColor() const { return fill_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Outline outline_;
    QColor border_;
    std::optional<QColor> fill_;
};
