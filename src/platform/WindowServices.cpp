#include "platform/WindowServices.h"

#include "platform/Twips.h"

#include <QWidget>

namespace platform {

void ShowModeless(QWidget* window) {
    if (window->isVisible()) {
        return;
    }
    window->show();
    window->raise();
    window->activateWindow(); // the window manager may not focus a window shown by a program
}

void SetOuterWidth(QWidget* window, int twips) {
    window->setFixedWidth(TwipsToPixels(twips - FixedBorderTwips));
}

} // namespace platform
