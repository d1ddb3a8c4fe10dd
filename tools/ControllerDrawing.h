#pragma once
// Renders the vector drawings of src/resources/svg: the controller's top view in its looks, the
// splash's three-quarter view and the window icon. Sizes are in pixels at scale 1; `scale` multiplies
// them (2 draws the double-size set for high-density screens).

#include <QImage>
#include <QSize>

namespace drawing {

enum class Look { Normal, Pressed };

struct View {
    Look look = Look::Normal;
    int padDot = -1;    // 0..8 draws the direction pad's yellow dot at that position; -1 draws none
    bool bare = false;  // the controller alone on a transparent ground: no backdrop, shadow or rear view
};

inline constexpr QSize ControllerSize{600, 532};
inline constexpr QSize SplashSize{154, 128};

// The top view, ControllerSize times scale; opaque unless bare.
QImage RenderController(const View& view, int scale = 1);

// A three-quarter view of the controller on the backdrop, SplashSize times scale, opaque.
QImage RenderSplash(int scale = 1);

// The window icon, `size` x `size`, transparent around the controller.
QImage RenderIcon(int size);

}  // namespace drawing
