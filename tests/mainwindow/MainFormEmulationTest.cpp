// The on-screen emulation panel: mouse presses on the buttons and the cross, slider moves by the user
// and by code, and the centring buttons.

#include "MainFormFixture.h"

#include <QTest>
#include <QWindow>

using Generale::ComandoTasto;
using Generale::NumPosizioni;
using Generale::NumTasti;

TEST_F(MainFormTest, AnyMouseButtonPressesAndReleasesAnOnScreenButton) {
    ComandoTasto[5] = QStringLiteral("dieci");
    QWidget* button = Control(QStringLiteral("Cmd_tasto(5)"));
    for (const Qt::MouseButton mouse : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        SCOPED_TRACE(mouse);
        QTest::mousePress(button, mouse);
        EXPECT_EQ(Highlights(), Only({5}, NumTasti));
        EXPECT_EQ(KeyCode(), QStringLiteral(" Codice tasto: 32")); // the code the map expects
        QTest::mouseRelease(button, mouse);
        EXPECT_EQ(Highlights(), Only({}, NumTasti));
        EXPECT_EQ(KeyCode(), QStringLiteral(" Codice tasto: 0"));
    }
    EXPECT_EQ(Commands(), (std::vector<QString>{"dieci", "dieci", "dieci"})); // on press only
    EXPECT_FALSE(Generale::EventoDaJoy);
}

TEST_F(MainFormTest, ReleaseShowsTheMaskOfTheLastLiveEvent) {
    form->cJoy_JoyButton(6);
    QTest::mousePress(Control(QStringLiteral("Cmd_tasto(5)")), Qt::LeftButton);
    EXPECT_EQ(Highlights(), Only({1, 2, 5}, NumTasti));
    QTest::mouseRelease(Control(QStringLiteral("Cmd_tasto(5)")), Qt::LeftButton);
    EXPECT_EQ(KeyCode(), QStringLiteral(" Codice tasto: 6"));
    EXPECT_EQ(Highlights(), Only({1, 2}, NumTasti));
}

TEST_F(MainFormTest, AMousePressLastsOnlyUntilTheNextLiveButtonEventWithoutItsCode) {
    QWidget* button = Control(QStringLiteral("Cmd_tasto(5)"));
    QTest::mousePress(button, Qt::LeftButton);
    form->cJoy_JoyButton(32 | 2);
    EXPECT_EQ(Highlights(), Only({1, 5}, NumTasti));

    form->cJoy_JoyButton(2);  // the mouse still holds the button
    EXPECT_EQ(Highlights(), Only({1}, NumTasti));
    EXPECT_EQ(KeyCode(), QStringLiteral(" Codice tasto: 2"));

    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_EQ(Highlights(), Only({1}, NumTasti));
}

TEST_F(MainFormTest, OnScreenWindowRoutesPressReleaseAndDoubleClick) {
    ComandoTasto[12] = QStringLiteral("XY");
    platform::SetOuterWidthTwips(*form, 13710);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QWidget* button = Control(QStringLiteral("Cmd_tasto(12)"));
    const QPoint on = button->mapTo(form.get(), button->rect().center());
    const QPoint elsewhere = Control(QStringLiteral("Cmd_tasto(13)"))->mapTo(form.get(), QPoint(5, 5));
    QWindow* window = form->windowHandle();

    QTest::mousePress(window, Qt::RightButton, {}, on);
    EXPECT_EQ(Highlights(), Only({12}, NumTasti));
    QTest::mouseRelease(window, Qt::RightButton, {}, elsewhere); // the pressed button gets the release
    EXPECT_EQ(Highlights(), Only({}, NumTasti));

    QTest::mouseDClick(window, Qt::LeftButton, {}, on); // the second press of a double click counts
    QTest::mouseRelease(window, Qt::LeftButton, {}, on);
    EXPECT_EQ(Highlights(), Only({}, NumTasti));
    EXPECT_EQ(Commands(), (std::vector<QString>{"XY", "XY", "XY"}));
}

TEST_F(MainFormTest, CrossShowsItsPositionWhileHeldAndTheCentreAfter) {
    Generale::PosizioneDig[3] = 7; // applies to live codes only
    form->cJoy_JoyDpad(5);
    for (const Qt::MouseButton mouse : {Qt::LeftButton, Qt::RightButton}) {
        SCOPED_TRACE(mouse);
        QTest::mousePress(Control(QStringLiteral("Cmd_Dig(3)")), mouse);
        EXPECT_EQ(Pad(), Only({3}, NumPosizioni));
        EXPECT_EQ(Text(QStringLiteral("Lab_Tasto(1)")), QStringLiteral("Posizione: 3"));
        QTest::mouseRelease(Control(QStringLiteral("Cmd_Dig(3)")), mouse);
        EXPECT_EQ(Pad(), Only({0}, NumPosizioni));
        EXPECT_EQ(Text(QStringLiteral("Lab_Tasto(1)")), QStringLiteral("Posizione: 0"));
    }
}

TEST_F(MainFormTest, SliderKeysMoveTheDotsThroughEachPairsOrder) {
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, Qt::Key>> keys;
        const char* dot;
        QPoint leftTop;
        const char* labelH;
        const char* labelV;
    };
    const Case cases[] = {
        {"Sld_R to 10", {{"Sld_R", Qt::Key_End}}, "Shp_ZR", {8460, 5520}, "10", "0"},
        {"Sld_Z to -10", {{"Sld_Z", Qt::Key_Home}}, "Shp_ZR", {7800, 4860}, "0", "-10"},
        {"Sld_Y to 10 with Sld_X at -10",
         {{"Sld_X", Qt::Key_Home}, {"Sld_Y", Qt::Key_End}},
         "Shp_XP",
         {420, 6180},
         "-10",
         "10"},
        {"one step right", {{"Sld_X", Qt::Key_Right}}, "Shp_XP", {1146, 5520}, "1", "0"},
        {"a page up the track", {{"Sld_X", Qt::Key_PageUp}}, "Shp_XP", {1410, 5520}, "5", "0"},
        {"down on a vertical slider is towards its maximum",
         {{"Sld_Y", Qt::Key_Down}},
         "Shp_XP",
         {1080, 5586},
         "0",
         "1"},
        {"up on a vertical slider is towards its minimum",
         {{"Sld_Z", Qt::Key_Up}},
         "Shp_ZR",
         {7800, 5454},
         "0",
         "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load();
        for (const auto& [slider, key] : c.keys) {
            QTest::keyClick(Slider(slider), key);
        }
        const bool left = QLatin1String(c.dot) == QLatin1String("Shp_XP");
        EXPECT_EQ(LeftTop(QString::fromLatin1(c.dot)), c.leftTop);
        EXPECT_EQ(Text(Element("Lab_Tasto", left ? 2 : 4)), QString::fromLatin1(c.labelH));
        EXPECT_EQ(Text(Element("Lab_Tasto", left ? 3 : 5)), QString::fromLatin1(c.labelV));
    }
}

TEST_F(MainFormTest, SliderMovedByMouseRunsItsHandlerAndValuesSetByCodeDoNot) {
    platform::SetOuterWidthTwips(*form, 13710);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QSlider* x = Slider("Sld_X");
    QSlider* z = Slider("Sld_Z");

    x->setValue(7);
    z->setValue(3);
    EXPECT_EQ(LeftTop(QStringLiteral("Shp_XP")), QPoint(1080, 5520));
    EXPECT_EQ(LeftTop(QStringLiteral("Shp_ZR")), QPoint(7800, 5520));
    EXPECT_EQ(Text(QStringLiteral("Lab_Tasto(2)")), QStringLiteral("0"));

    // Dragging the thumb from the centre to the far right.
    x->setValue(0);
    QTest::mousePress(x, Qt::LeftButton, {}, x->rect().center());
    QTest::mouseMove(x, QPoint(x->width() - 1, x->height() / 2));
    QTest::mouseRelease(x, Qt::LeftButton, {}, QPoint(x->width() - 1, x->height() / 2));
    EXPECT_EQ(x->value(), 10);
    EXPECT_EQ(LeftTop(QStringLiteral("Shp_XP")), QPoint(1740, 5520));

    // A click on the track below the thumb of the vertical slider pages towards its maximum (3 + 5).
    QTest::mouseClick(z, Qt::LeftButton, {}, QPoint(5, z->height() - 3)); // the groove, left of the ticks
    EXPECT_EQ(z->value(), 8);
    EXPECT_EQ(LeftTop(QStringLiteral("Shp_ZR")), QPoint(7800, 6048));
    EXPECT_EQ(Text(QStringLiteral("Lab_Tasto(5)")), QStringLiteral("8"));
}

TEST_F(MainFormTest, CentringPutsOnePairBackAndLeavesTheOtherStick) {
    QTest::keyClick(Slider("Sld_X"), Qt::Key_End);
    QTest::keyClick(Slider("Sld_Y"), Qt::Key_Home);
    QTest::keyClick(Slider("Sld_R"), Qt::Key_End);
    QTest::mouseClick(Control(QStringLiteral("Cmd_0_XY")), Qt::LeftButton);
    EXPECT_EQ(Slider("Sld_X")->value(), 0);
    EXPECT_EQ(Slider("Sld_Y")->value(), 0);
    EXPECT_EQ(LeftTop(QStringLiteral("Shp_XP")), QPoint(1080, 5520));
    EXPECT_EQ(Text(QStringLiteral("Lab_Tasto(2)")), QStringLiteral("0"));
    EXPECT_EQ(Text(QStringLiteral("Lab_Tasto(3)")), QStringLiteral("0"));
    EXPECT_EQ(LeftTop(QStringLiteral("Shp_ZR")), QPoint(8460, 5520));

    QTest::mouseClick(Control(QStringLiteral("Cmd_0_ZR")), Qt::LeftButton);
    EXPECT_EQ(Slider("Sld_R")->value(), 0);
    EXPECT_EQ(LeftTop(QStringLiteral("Shp_ZR")), QPoint(7800, 5520));
    EXPECT_EQ(Text(QStringLiteral("Lab_Tasto(4)")), QStringLiteral("0"));
}
