// The pictures in the resources are the drawing's renderings cut at the main window's rectangles, so
// every highlight lies exactly over its element of the photograph.
#include "ControllerDrawing.h"
#include "PictureTable.h"
#include "platform/Twips.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace {

using drawing::Look;
using drawing::RenderController;

QImage Resource(const QString& name, int scale) {
    const QString suffix = scale == 2 ? QStringLiteral("@2x") : QString();
    return QImage(QStringLiteral(":/pictures/") + name + suffix + QStringLiteral(".png"))
        .convertToFormat(QImage::Format_RGB32);
}

QImage Resource(const char* name, int scale) { return Resource(QString::fromLatin1(name), scale); }

QString PadName(int position) { return QStringLiteral("%1_%2").arg(QLatin1String(Pad.name)).arg(position); }

// Left and top rounded from twips, the size as the layout gives it in pixels; times scale.
QRect PixelRect(const PlacedPicture& placed, int scale) {
    return {platform::TwipsToPixels(placed.left) * scale, platform::TwipsToPixels(placed.top) * scale,
            placed.size.width() * scale, placed.size.height() * scale};
}

bool Differs(QRgb a, QRgb b) {
    constexpr int Tolerance = 24;
    return std::abs(qRed(a) - qRed(b)) > Tolerance || std::abs(qGreen(a) - qGreen(b)) > Tolerance ||
           std::abs(qBlue(a) - qBlue(b)) > Tolerance;
}

bool IsGreen(QRgb pixel) {
    return qGreen(pixel) - std::max(qRed(pixel), qBlue(pixel)) > 60;
}

int CountPixels(const QImage& image, auto&& predicate) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += predicate(x, y) ? 1 : 0;
        }
    }
    return count;
}

// Pixels of `a` and `b` (same size) that are not equal and lie in none of `rects`.
int DifferencesOutside(const QImage& a, const QImage& b, const std::vector<QRect>& rects) {
    return CountPixels(a, [&](int x, int y) {
        const bool inside = std::any_of(rects.begin(), rects.end(), [&](const QRect& r) { return r.contains(x, y); });
        return !inside && a.pixel(x, y) != b.pixel(x, y);
    });
}

class DrawingAtScale : public testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(OwnAndDoubleSize, DrawingAtScale, testing::Values(1, 2));

TEST_P(DrawingAtScale, ThePhotographSplashAndIconAreTheirDrawings) {
    const int scale = GetParam();
    EXPECT_EQ(Resource(Photograph.name, scale), RenderController({}, scale));
    EXPECT_EQ(Resource(Splash.name, scale), drawing::RenderSplash(scale));
    EXPECT_EQ(QImage(QStringLiteral(":/pictures/icon%1.png").arg(scale == 2 ? "@2x" : "")),
              drawing::RenderIcon(Icon.size.width() * scale).convertToFormat(QImage::Format_ARGB32));
}

TEST_P(DrawingAtScale, EachHighlightIsThePressedLookAtItsRectangle) {
    const int scale = GetParam();
    const QImage pressed = RenderController({Look::Pressed}, scale);
    for (const PlacedPicture& highlight : Highlights) {
        EXPECT_EQ(Resource(highlight.name, scale), pressed.copy(PixelRect(highlight, scale))) << highlight.name;
    }
}

TEST_P(DrawingAtScale, TheStripAndTheLogoAreThePhotographAtTheirRectangles) {
    const int scale = GetParam();
    const QImage photograph = RenderController({}, scale);
    for (const PlacedPicture& placed : {Strip, Logo}) {
        EXPECT_EQ(Resource(placed.name, scale), photograph.copy(PixelRect(placed, scale))) << placed.name;
    }
}

TEST_P(DrawingAtScale, EachPadPictureIsTheDrawingWithItsDotAtThePadRectangle) {
    const int scale = GetParam();
    for (int position = 0; position < PadPositions; ++position) {
        const QImage withDot = RenderController({Look::Normal, position}, scale);
        EXPECT_EQ(Resource(PadName(position), scale), withDot.copy(PixelRect(Pad, scale))) << position;
    }
}

TEST(Drawing, EveryHighlightShowsItsElementInGreenOverThePhotograph) {
    const QImage photograph = RenderController({});
    for (const PlacedPicture& highlight : Highlights) {
        const QImage pressed = Resource(highlight.name, 1);
        const QImage normal = photograph.copy(PixelRect(highlight, 1));
        const int turnedGreen = CountPixels(pressed, [&](int x, int y) {
            return IsGreen(pressed.pixel(x, y)) && !IsGreen(normal.pixel(x, y));
        });
        EXPECT_GE(turnedGreen, pressed.width() * pressed.height() / 20) << highlight.name;
    }
}

// So no pressed element reaches beyond its highlight, where the window would show it unpressed.
TEST(Drawing, ThePressedLookChangesNothingOutsideTheHighlights) {
    std::vector<QRect> rects;
    for (const PlacedPicture& highlight : Highlights) {
        rects.push_back(PixelRect(highlight, 1));
    }
    EXPECT_EQ(DifferencesOutside(RenderController({Look::Pressed}), RenderController({}), rects), 0);
}

TEST(Drawing, ThePadDotsStayInsideThePadRectangle) {
    const QImage photograph = RenderController({});
    for (int position = 0; position < PadPositions; ++position) {
        EXPECT_EQ(DifferencesOutside(RenderController({Look::Normal, position}), photograph, {PixelRect(Pad, 1)}), 0)
            << position;
    }
}

// Position 0 is the centre, 1 up, then clockwise by 45 degrees to 8 up-left.
TEST(Drawing, EachPadPictureShowsItsDotInItsDirection) {
    const QImage bare = RenderController({}).copy(PixelRect(Pad, 1));
    const QPointF centre(bare.width() / 2.0, bare.height() / 2.0);
    for (int position = 0; position < PadPositions; ++position) {
        const QImage pad = Resource(PadName(position), 1);
        QPointF sum;
        const int count = CountPixels(pad, [&](int x, int y) {
            const bool dot = Differs(pad.pixel(x, y), bare.pixel(x, y));
            sum += dot ? QPointF(x + 0.5, y + 0.5) : QPointF();
            return dot;
        });
        ASSERT_GT(count, 50) << position;
        const QPointF offset = sum / count - centre;
        const double distance = std::hypot(offset.x(), offset.y());
        if (position == 0) {
            EXPECT_LT(distance, 3.0);
            continue;
        }
        EXPECT_GT(distance, 15.0) << position;
        const double clockwiseFromUp = std::atan2(offset.x(), -offset.y()) * 180.0 / std::numbers::pi;
        const double expected = (position - 1) * 45.0;
        EXPECT_LT(std::abs(std::remainder(clockwiseFromUp - expected, 360.0)), 10.0) << position;
    }
}

} // namespace
