#include "platform/WindowServices.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(ShowModeless, ShowsAndActivatesAHiddenWindowOnly) {
    QWidget first;
    QWidget second;
    platform::ShowModeless(first);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
    EXPECT_TRUE(first.isVisible());

    platform::ShowModeless(second);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second));

    // Showing a window already on screen again does not take the focus from the active one.
    platform::ShowModeless(first);
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeWindow(), &second);
}

} // namespace
