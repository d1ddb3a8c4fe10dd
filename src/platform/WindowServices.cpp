#include "platform/WindowServices.h"

#include "platform/Twips.h"

#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace platform {

namespace {
constexpr const char* TwipsProperty = "twipsGeometry";
constexpr const char* OuterWidthProperty = "outerWidthTwips";
}  // namespace

void SetTwipsGeometry(QWidget& control, const QRect& twips) {
    control.setProperty(TwipsProperty, twips);
    control.setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
}

QRect TwipsGeometry(const QWidget& control) {
    return control.property(TwipsProperty).toRect();
}

void SetTwipsTop(QWidget& control, int top) {
    QRect twips = TwipsGeometry(control);
    twips.moveTop(top);
    SetTwipsGeometry(control, twips);
}

void SetTwipsLeft(QWidget& control, int left) {
    QRect twips = TwipsGeometry(control);
    twips.moveLeft(left);
    SetTwipsGeometry(control, twips);
}

void SetOuterWidthTwips(QWidget& window, int twips) {
    window.setProperty(OuterWidthProperty, twips);
    window.setFixedWidth(TwipsToPixels(twips - OuterBorderTwips));
}

int OuterWidthTwips(const QWidget& window) {
    return window.property(OuterWidthProperty).toInt();
}

void RepaintNow(QWidget& control, const QRect& previousPixels) {
    QWidget* parent = control.parentWidget();
    if (parent == nullptr || control.isWindow()) {
        control.repaint();
        return;
    }
    // The parent repaints its children in the area too, in their stacking order.
    parent->repaint(control.geometry().united(previousPixels));
}

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void KeepOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    QRect frame = window.frameGeometry();
    frame.moveRight(std::min(frame.right(), available.right()));
    frame.moveBottom(std::min(frame.bottom(), available.bottom()));
    frame.moveLeft(std::max(frame.left(), available.left()));
    frame.moveTop(std::max(frame.top(), available.top()));
    if (frame.topLeft() != window.frameGeometry().topLeft()) {
        window.move(frame.topLeft());
    }
}

void ShowModeless(QWidget& window) {
    if (window.isVisible()) {
        return;
    }
    window.show();
    window.raise();
    window.activateWindow();  // the window manager may not focus a window that a program shows
}

}  // namespace platform
