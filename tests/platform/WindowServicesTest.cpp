#include "platform/WindowServices.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(SetOuterWidth, GivesTheClientAreaTheOuterWidthLessTheFixedBorder) {
    QWidget window;
    window.resize(100, 200);
    const struct {
        int twips;
        int pixels;
    } cases[] = {{9090, 600}, {13710, 908}, {5820, 382}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.twips);
        platform::SetOuterWidth(&window, c.twips);
        EXPECT_EQ(window.width(), c.pixels);
        EXPECT_EQ(window.minimumWidth(), c.pixels);
        EXPECT_EQ(window.maximumWidth(), c.pixels);
        EXPECT_EQ(window.height(), 200);
    }
}

TEST(ShowModeless, ShowsAndActivatesAHiddenWindowOnly) {
    QWidget first;
    QWidget second;
    platform::ShowModeless(&first);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
    EXPECT_TRUE(first.isVisible());

    platform::ShowModeless(&second);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second));

    // Showing a window already on screen again does not take the focus from the active one.
    platform::ShowModeless(&first);
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeWindow(), &second);
}

} // namespace
