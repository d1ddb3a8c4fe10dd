#pragma once
// Window operations the windows need beyond plain QWidget calls. Loading a window hidden is
// constructing it (its load step runs in the constructor); hiding, enabling, repainting and reading
// the caption are QWidget's own hide(), setEnabled(), repaint() and windowTitle().

class QWidget;

namespace platform {

// The frame of a fixed single border, both sides together, in twips. The windows are laid out for
// it; the window manager draws its own frame around the client area.
inline constexpr int FixedBorderTwips = 90;

// Shows a hidden window modeless, raised and active. A window already shown is left as it is.
void ShowModeless(QWidget* window);

// Sets the outer width of a fixed-border window in twips: the client area becomes the outer width
// less FixedBorderTwips, and the user cannot change it.
void SetOuterWidth(QWidget* window, int twips);

} // namespace platform
