// The pictures load from the corvane_resources library alone, at their sizes.
#include "PictureTable.h"
#include "resources/Pictures.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct NamedSize {
    QString name;
    QSize size;
};

std::vector<NamedSize> EveryPicture() {
    std::vector<NamedSize> pictures;
    for (const PictureSize& picture : {Photograph, Splash, Icon}) {
        pictures.push_back({QString::fromLatin1(picture.name), picture.size});
    }
    for (const PlacedPicture& placed : {Strip, Logo}) {
        pictures.push_back({QString::fromLatin1(placed.name), placed.size});
    }
    for (const PlacedPicture& highlight : Highlights) {
        pictures.push_back({QString::fromLatin1(highlight.name), highlight.size});
    }
    for (int position = 0; position < PadPositions; ++position) {
        pictures.push_back({QStringLiteral("%1_%2").arg(QLatin1String(Pad.name)).arg(position), Pad.size});
    }
    return pictures;
}

QImage Resource(const QString& name, const char* suffix) {
    return QImage(QStringLiteral(":/pictures/") + name + QLatin1String(suffix) + QStringLiteral(".png"));
}

TEST(Pictures, EveryPictureHasItsSizeAndTwiceItForHighDensity) {
    const std::vector<NamedSize> pictures = EveryPicture();
    ASSERT_EQ(pictures.size(), 28u);
    for (const auto& [name, size] : pictures) {
        EXPECT_EQ(Resource(name, "").size(), size) << qPrintable(name);
        EXPECT_EQ(Resource(name, "@2x").size(), size * 2) << qPrintable(name);
    }
}

TEST(Pictures, AllButTheIconAreOpaque) {
    for (const auto& [name, size] : EveryPicture()) {
        const QImage image = Resource(name, "");
        if (name == QLatin1String(Icon.name)) {
            EXPECT_TRUE(image.hasAlphaChannel());
            EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "the icon's corner shows what lies behind it";
        } else {
            EXPECT_FALSE(image.hasAlphaChannel()) << qPrintable(name);
        }
    }
}

TEST(Pictures, PictureLoadsTheSizeItselfOnAnOrdinaryScreen) {
    for (const PictureSize& picture : {Photograph, Splash, Icon}) {
        const QPixmap pixmap = resources::Picture(QString::fromLatin1(picture.name), 1.0);
        EXPECT_EQ(pixmap.size(), picture.size) << picture.name;
        EXPECT_EQ(pixmap.devicePixelRatio(), 1.0) << picture.name;
    }
    EXPECT_EQ(resources::Picture(QString::fromLatin1(Photograph.name)).size(), Photograph.size)
        << "the offscreen test screen has a ratio of 1";
}

TEST(Pictures, PictureLoadsTheDoubleSizeDrawingOnAHighDensityScreen) {
    for (const qreal ratio : {1.5, 2.0, 3.0}) {
        for (const PictureSize& picture : {Photograph, Splash, Icon}) {
            const QPixmap pixmap = resources::Picture(QString::fromLatin1(picture.name), ratio);
            EXPECT_EQ(pixmap.size(), picture.size * 2) << picture.name;
            EXPECT_EQ(pixmap.devicePixelRatio(), 2.0) << picture.name;
            EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(picture.size)) << picture.name;
        }
    }
}

TEST(Pictures, AnUnknownNameGivesANullPicture) {
    EXPECT_TRUE(resources::Picture(QStringLiteral("Img_Nessuna"), 1.0).isNull());
    EXPECT_TRUE(resources::Picture(QStringLiteral("Img_Nessuna"), 2.0).isNull());
}

} // namespace
