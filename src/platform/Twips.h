#pragma once
// The windows are laid out in twips, as their tables give them; this is the one place where a
// twip becomes a device-independent pixel (15 twips per pixel at 96 dpi).

#include <QRect>
#include <cmath>

namespace platform {

inline constexpr int TwipsPerPixel = 15;

inline int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

inline int PixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel;
}

// (Left, Top, Width, Height) in twips to a pixel rectangle.
inline QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

}  // namespace platform
