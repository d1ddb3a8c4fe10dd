#pragma once
// Window services the windows rely on beyond the shell: geometry in twips and repainting at once.
// Each control keeps the twips it was given (so positions that are not whole pixels, such as 66-twip
// marker steps, read back exactly) and is placed at the pixels Twips.h rounds them to.

#include <QRect>

class QWidget;

namespace platform {

// The fixed single border of the original platform: outer width = client width + 90 twips.
inline constexpr int OuterBorderTwips = 90;

// Places `control` at (Left, Top, Width, Height) twips, relative to its parent.
void SetTwipsGeometry(QWidget& control, const QRect& twips);
// The control's last twips rectangle as (Left, Top, Width, Height); invalid for a control never placed.
QRect TwipsGeometry(const QWidget& control);
// Moves the control; its size is kept.
void SetTwipsTop(QWidget& control, int top);
void SetTwipsLeft(QWidget& control, int left);

// Fixes the window's width so that its outer width, borders included, is `twips`.
void SetOuterWidthTwips(QWidget& window, int twips);
// The outer width last set, in twips, or 0.
int OuterWidthTwips(const QWidget& window);

// Paints the control's area now (not at the next event-loop turn), together with `previousPixels`,
// the area it covered before a move, so that hiding and moving are on screen at once too.
void RepaintNow(QWidget& control, const QRect& previousPixels = {});

// Moves the top-level window to the centre of its screen's available area.
void CentreOnScreen(QWidget& window);
// Moves the window back left or up as far as its frame passes the screen's right or bottom edge, never
// past the left or top one.
void KeepOnScreen(QWidget& window);

// Shows a hidden window modeless, raised and active (loading a window hidden is constructing it).
// A window already shown is left as it is.
void ShowModeless(QWidget& window);

}  // namespace platform
