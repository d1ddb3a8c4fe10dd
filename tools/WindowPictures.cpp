#include "WindowPictures.h"

#include "ControllerDrawing.h"
#include "platform/Twips.h"

#include <array>

namespace drawing {

namespace {

struct TwipsRectangle {
    int left, top, width, height;
};

// Where the main window shows the pictures cut from the photograph, in twips.
constexpr TwipsRectangle Image1Rect{0, 120, 9000, 750};
constexpr TwipsRectangle LogoRect{3950, 2540, 1095, 840};
constexpr TwipsRectangle DigRect{1080, 2490, 1590, 1560};

// Img_Tasto(i), by button index.
constexpr std::array<TwipsRectangle, 14> TastoRects{{
    {6105, 2970, 675, 660},    // face button 1
    {6760, 3650, 720, 690},    // face button 2
    {7450, 2960, 720, 705},    // face button 3
    {6800, 2270, 690, 690},    // face button 4
    {3250, 2520, 630, 720},    // 9
    {5110, 2520, 645, 705},    // 10
    {3430, 3250, 645, 630},    // mode
    {4790, 3300, 1005, 600},   // vibration
    {1155, 1060, 1140, 285},   // L1
    {6690, 1060, 1185, 315},   // R1
    {1160, 180, 1140, 285},    // L2
    {6690, 180, 1185, 315},    // R2
    {2520, 4140, 1380, 1350},  // left stick
    {5130, 4150, 1335, 1320},  // right stick
}};
static_assert(TastoRects.size() == 14, "one highlight per on-screen button");

constexpr int DigPositions = 9;

QImage Cut(const QImage& from, const TwipsRectangle& r, int scale) {
    const QRect pixels = platform::TwipsRect(r.left, r.top, r.width, r.height);
    return from.copy(pixels.x() * scale, pixels.y() * scale, pixels.width() * scale, pixels.height() * scale);
}

}  // namespace

QList<NamedPicture> RenderPictures(int scale) {
    const QImage photograph = RenderController({}, scale);
    const QImage pressed = RenderController({Look::Pressed}, scale);

    QList<NamedPicture> pictures{
        {QStringLiteral("Img_Corvane"), photograph},
        {QStringLiteral("Image1"), Cut(photograph, Image1Rect, scale)},
        {QStringLiteral("Img_Logo"), Cut(photograph, LogoRect, scale)},
    };
    for (int i = 0; i < int(TastoRects.size()); ++i) {
        pictures.append({QStringLiteral("Img_Tasto_%1").arg(i), Cut(pressed, TastoRects[i], scale)});
    }
    for (int position = 0; position < DigPositions; ++position) {
        const QImage pad = RenderController({Look::Normal, position}, scale);
        pictures.append({QStringLiteral("Img_Dig_%1").arg(position), Cut(pad, DigRect, scale)});
    }
    pictures.append({QStringLiteral("Img_Splash"), RenderSplash(scale)});
    pictures.append({QStringLiteral("icon"), RenderIcon(32 * scale)});
    return pictures;
}

}  // namespace drawing
