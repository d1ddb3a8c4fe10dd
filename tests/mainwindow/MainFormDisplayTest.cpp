// The live display: the monitor's events shown on the controller picture, and the commands they start.

#include "MainFormFixture.h"

#include "joystick/cJoy.h"

#include <QTest>

using Generale::CodiceTasto;
using Generale::ComandoTasto;
using Generale::NumPosizioni;
using Generale::NumTasti;

TEST_F(MainFormTest, LoadShowsTheInitialDisplay) {
    EXPECT_EQ(Highlights(), Only({}, NumTasti));
    EXPECT_EQ(KeyCode(), QStringLiteral(" Codice tasto: 0"));
    EXPECT_EQ(Pad(), Only({0}, NumPosizioni));
    EXPECT_EQ(Text(QStringLiteral("Lab_Tasto(1)")), QStringLiteral("Posizione: 0"));
    for (const char* slider : {"Sld_X", "Sld_Y", "Sld_Z", "Sld_R"}) {
        EXPECT_EQ(Slider(slider)->value(), 0) << slider;
    }
    EXPECT_EQ(LeftTop(QStringLiteral("Shp_XP")), QPoint(1080, 5520));
    EXPECT_EQ(LeftTop(QStringLiteral("Shp_ZR")), QPoint(7800, 5520));
    EXPECT_FALSE(Generale::EventoDaJoy);
    EXPECT_FALSE(Control(QStringLiteral("Cmd_Stop"))->isEnabled());
    EXPECT_TRUE(Control(QStringLiteral("Cmd_Start"))->isEnabled());
    EXPECT_EQ(platform::OuterWidthTwips(*form), 9090);
}

TEST_F(MainFormTest, LoadReadsTheMapAfterResettingTheDisplay) {
    Load("[Tasti]\n0=5\n");
    EXPECT_EQ(CodiceTasto[0], 5);
    // The reset wrote the default code 0, not the map's.
    EXPECT_EQ(KeyCode(), QStringLiteral(" Codice tasto: 0"));
}

TEST_F(MainFormTest, MonitorEventsReachTheirHandlers) {
    const std::shared_ptr<cJoy>& monitor = form->Monitor();
    ASSERT_NE(monitor, nullptr);
    emit monitor->JoyButton(2);
    emit monitor->JoyDpad(3);
    emit monitor->JoyLeftStick(1, 2);
    emit monitor->JoyRightStick(3, 4);
    emit monitor->JoyError(QStringLiteral("cJoy.x"));
    EXPECT_EQ(Highlights(), Only({1}, NumTasti));
    EXPECT_EQ(Pad(), Only({3}, NumPosizioni));
    EXPECT_EQ(Slider("Sld_Y")->value(), 2);
    EXPECT_EQ(Slider("Sld_R")->value(), 4);
    EXPECT_EQ(shell.boxes.size(), 1u);
}

TEST_F(MainFormTest, ButtonMasksLightEveryButtonWhoseCodeIsComplete) {
    struct Case {
        const char* what;
        std::map<int, int32_t> codes; // changes to the default map
        int32_t mask;
        std::vector<bool> lit;
        const char* keyCode;
    };
    const Case cases[] = {
        {"no button", {}, 0, Only({}, NumTasti), " Codice tasto: 0"},
        {"bit 31 alone", {}, INT32_MIN, Only({}, NumTasti), " Codice tasto: -2147483648"},
        {"every default button", {}, 0x3FFF, std::vector<bool>(NumTasti, true), " Codice tasto: 16383"},
        {"code 0 matches every mask", {{4, 0}}, 0, Only({4}, NumTasti), " Codice tasto: 0"},
        {"code 3 needs both bits", {{0, 1}, {1, 2}, {2, 3}}, 1, Only({0}, NumTasti), " Codice tasto: 1"},
        {"code 3 with both bits lights 1 and 2 too",
         {{0, 1}, {1, 2}, {2, 3}},
         3,
         Only({0, 1, 2}, NumTasti),
         " Codice tasto: 3"},
        {"equal codes light together", {{5, 64}, {6, 64}}, 64, Only({5, 6}, NumTasti), " Codice tasto: 64"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load();
        for (const auto& [button, code] : c.codes) {
            CodiceTasto[std::size_t(button)] = code;
        }
        form->cJoy_JoyButton(c.mask);
        EXPECT_EQ(Highlights(), c.lit);
        EXPECT_EQ(KeyCode(), QString::fromLatin1(c.keyCode));
        EXPECT_FALSE(Generale::EventoDaJoy);
    }
}

// A command that cannot start is said in the menu bar's corner, once a second at most, and no box stops
// the reading.
TEST_F(MainFormTest, LiveEventStartsACommandOnlyWhenItsButtonGoesDown) {
    ComandoTasto[0] = QStringLiteral("uno");
    ComandoTasto[1] = QStringLiteral("due");
    shell.failing << QStringLiteral("due");
    form->show();
    form->cJoy_JoyButton(1); // button 0 down
    form->cJoy_JoyButton(3); // button 1 down while 0 is held: only button 1 starts
    form->cJoy_JoyButton(2); // button 0 up
    EXPECT_EQ(Highlights(), Only({1}, NumTasti));
    auto* corner = Control<QLabel>(QStringLiteral("Lab_Profilo"));
    EXPECT_TRUE(corner->isVisible() && corner->toolTip().contains(QStringLiteral("non parte")));
    corner->clear();
    form->cJoy_JoyButton(0);
    form->cJoy_JoyButton(3); // both down again, within the second
    EXPECT_EQ(Commands(), (std::vector<QString>{"uno", "due", "uno", "due"}));
    EXPECT_TRUE(corner->text().isEmpty());
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(MainFormTest, ButtonsDownTogetherStartInAscendingOrder) {
    ComandoTasto[3] = QStringLiteral("quattro");
    ComandoTasto[9] = QStringLiteral("R1");
    form->cJoy_JoyButton((1 << 9) | (1 << 3));
    EXPECT_EQ(Commands(), (std::vector<QString>{"quattro", "R1"}));
}

TEST_F(MainFormTest, CodeZeroIsAlwaysDownSoOnlyTheMouseStartsItsCommand) {
    CodiceTasto[4] = 0;
    ComandoTasto[4] = QStringLiteral("nove");
    for (const int32_t mask : {0, 1, 0, 16}) {
        form->cJoy_JoyButton(mask);
        EXPECT_FALSE(Control(QStringLiteral("Img_Tasto(4)"))->isHidden());
    }
    EXPECT_TRUE(shell.starts.empty());
    QTest::mousePress(Control(QStringLiteral("Cmd_tasto(4)")), Qt::LeftButton);
    EXPECT_EQ(Commands(), (std::vector<QString>{"nove"}));
}

TEST_F(MainFormTest, MousePressStartsTheCommandOfAButtonHeldOnTheController) {
    ComandoTasto[0] = QStringLiteral("uno");
    form->cJoy_JoyButton(1);
    QTest::mousePress(Control(QStringLiteral("Cmd_tasto(0)")), Qt::LeftButton);
    QTest::mouseRelease(Control(QStringLiteral("Cmd_tasto(0)")), Qt::LeftButton);
    form->cJoy_JoyButton(3); // button 0 still held on the controller
    EXPECT_EQ(Commands(), (std::vector<QString>{"uno", "uno"}));
}

TEST_F(MainFormTest, ReloadingTheMapRedrawsNothingUntilTheNextButtonEvent) {
    form->cJoy_JoyButton(1);
    dir.WriteIni("[Tasti]\n0=2\n");
    Generale::CaricaMappa();
    EXPECT_EQ(Highlights(), Only({0}, NumTasti));
    EXPECT_EQ(KeyCode(), QStringLiteral(" Codice tasto: 1"));
    form->cJoy_JoyButton(2);
    EXPECT_EQ(Highlights(), Only({0, 1}, NumTasti));
}

TEST_F(MainFormTest, DirectionEventsShowTheMappedPosition) {
    struct Case {
        const char* what;
        int32_t mapped; // PosizioneDig(2)
        int32_t dpad;
        std::vector<bool> shown;
        const char* label;
    };
    const Case cases[] = {
        {"default map", 2, 2, Only({2}, NumPosizioni), "Posizione: 2"},
        {"mapped elsewhere", 7, 2, Only({7}, NumPosizioni), "Posizione: 7"},
        {"mapped to -1", -1, 2, Only({}, NumPosizioni), "Posizione: -1"},
        {"mapped to 12", 12, 2, Only({}, NumPosizioni), "Posizione: 12"},
        {"mapped outside 16 bits", 40000, 2, Only({0}, NumPosizioni), "Posizione: 0"},
        {"code 9", 2, 9, Only({0}, NumPosizioni), "Posizione: 0"},
        {"code -1", 2, -1, Only({0}, NumPosizioni), "Posizione: 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load();
        Generale::PosizioneDig[2] = c.mapped;
        form->cJoy_JoyDpad(c.dpad);
        EXPECT_EQ(Pad(), c.shown);
        EXPECT_EQ(Text(QStringLiteral("Lab_Tasto(1)")), QString::fromLatin1(c.label));
    }
}

TEST_F(MainFormTest, StickEventsPlaceTheDotsThroughOrderAndSigns) {
    struct Case {
        const char* what;
        bool left, order;
        int16_t signH, signV; // SegnoX, SegnoY or SegnoZ, SegnoR
        int32_t x, y;
        int h, v;       // slider values: Sld_X, Sld_Y or Sld_Z, Sld_R
        QPoint leftTop; // dot's Left, Top
        const char* labelH;
        const char* labelV;
    };
    const Case cases[] = {
        {"left, in order", true, true, 1, -1, 10, -10, 10, 10, {1740, 6180}, "10", "10"},
        {"left, exchanged", true, false, 1, -1, 10, -10, -10, -10, {420, 4860}, "-10", "-10"},
        {"left, one step", true, true, 1, 1, 1, -1, 1, -1, {1146, 5454}, "1", "-1"},
        {"right, default map", false, true, 1, 1, 5, 0, 5, 0, {8130, 5520}, "5", "0"},
        {"beyond the range the slider holds its end",
         true,
         true,
         1,
         1,
         50,
         -3,
         10,
         -3,
         {1740, 5322},
         "10",
         "-3"},
        {"a product beyond 32 bits is not written",
         true,
         true,
         -1,
         1,
         INT32_MIN,
         3,
         0,
         3,
         {1080, 5718},
         "0",
         "3"},
        {"right, exchanged with signs", false, false, -1, -1, 3, -7, 7, -3, {8262, 5322}, "7", "-3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load();
        if (c.left) {
            Generale::OrdineXY = c.order;
            Generale::SegnoX = c.signH;
            Generale::SegnoY = c.signV;
            form->cJoy_JoyLeftStick(c.x, c.y);
        } else {
            Generale::OrdineZR = c.order;
            Generale::SegnoZ = c.signH;
            Generale::SegnoR = c.signV;
            form->cJoy_JoyRightStick(c.x, c.y);
        }
        EXPECT_EQ(Slider(c.left ? "Sld_X" : "Sld_Z")->value(), c.h);
        EXPECT_EQ(Slider(c.left ? "Sld_Y" : "Sld_R")->value(), c.v);
        const QString dot = c.left ? QStringLiteral("Shp_XP") : QStringLiteral("Shp_ZR");
        EXPECT_EQ(LeftTop(dot), c.leftTop);
        EXPECT_EQ(Control(dot)->pos(),
                  QPoint(platform::TwipsToPixels(c.leftTop.x()), platform::TwipsToPixels(c.leftTop.y())));
        EXPECT_EQ(Text(Element("Lab_Tasto", c.left ? 2 : 4)), QString::fromLatin1(c.labelH));
        EXPECT_EQ(Text(Element("Lab_Tasto", c.left ? 3 : 5)), QString::fromLatin1(c.labelV));
        // The other stick is untouched.
        EXPECT_EQ(LeftTop(c.left ? QStringLiteral("Shp_ZR") : QStringLiteral("Shp_XP")),
                  c.left ? QPoint(7800, 5520) : QPoint(1080, 5520));
    }
}

TEST_F(MainFormTest, ErrorEventShowsOneErrorBoxAndChangesNothingElse) {
    form->cJoy_JoyButton(6);
    form->cJoy_JoyLeftStick(3, 4);
    form->setWindowTitle(QStringLiteral("Titolo corrente"));
    const auto display = [this] {
        QStringList state;
        for (QWidget* control : form->centralWidget()->findChildren<QWidget*>()) {
            const auto* label = qobject_cast<QLabel*>(control);
            const auto* slider = qobject_cast<QSlider*>(control);
            state << QStringLiteral("%1 %2 %3 %4 %5")
                         .arg(control->objectName())
                         .arg(control->isHidden())
                         .arg(control->isEnabled())
                         .arg(label ? label->text() : QString())
                         .arg(slider ? slider->value() : 0);
        }
        const QRect dot = Twips(QStringLiteral("Shp_XP"));
        return state.join(u'\n') + QStringLiteral(" %1 %2").arg(dot.left()).arg(dot.top());
    };
    const QString before = display();
    form->cJoy_JoyError(QStringLiteral("cJoy.Joystick_GetPos: guasto"));
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, QStringLiteral("cJoy.Joystick_GetPos: guasto"));
    EXPECT_EQ(shell.boxes[0].flags, platform::MB_ICONERROR | platform::MB_SETFOREGROUND);
    EXPECT_EQ(shell.boxes[0].title, QStringLiteral("Titolo corrente"));
    EXPECT_EQ(display(), before);
    EXPECT_TRUE(shell.starts.empty());
}

TEST_F(MainFormTest, ChangedControlsArePaintedBeforeTheHandlerReturns) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QCoreApplication::processEvents();
    // Paints reaching a control, counted as they happen; no event loop runs in between.
    std::map<QObject*, int> paints;
    struct Counter : QObject {
        std::map<QObject*, int>& paints;
        explicit Counter(std::map<QObject*, int>& p) : paints(p) {}
        bool eventFilter(QObject* watched, QEvent* event) override {
            paints[watched] += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter(paints);
    QWidget* highlight = Control(QStringLiteral("Img_Tasto(0)"));
    QWidget* keyCode = Control(QStringLiteral("Lab_Tasto(0)"));
    QWidget* dot = Control(QStringLiteral("Shp_XP"));
    QWidget* photo = Control(QStringLiteral("Img_Corvane"));
    for (QWidget* w : {highlight, keyCode, dot, photo}) {
        w->installEventFilter(&counter);
    }
    form->cJoy_JoyButton(1);
    EXPECT_GE(paints[highlight], 1);
    EXPECT_GE(paints[keyCode], 1);
    paints.clear();
    form->cJoy_JoyButton(0); // hiding shows what lies beneath
    EXPECT_GE(paints[photo], 1);
    form->cJoy_JoyLeftStick(5, 5);
    EXPECT_GE(paints[dot], 1);
}
