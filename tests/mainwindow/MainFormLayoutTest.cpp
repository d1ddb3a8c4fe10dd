// The main window's layout as loaded: every control's rectangle in twips, caption, colours and
// visibility, the stacking order, the window's widths, menus, sliders, fonts and accessibility.

#include "MainFormFixture.h"
#include "mainwindow/LineWidget.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"

#include <QAccessible>
#include <QAction>
#include <QFontInfo>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <set>

namespace {

struct PictureRow {
    const char* name;
    QRect twips;
    bool shown; // after load
};

const PictureRow Pictures[] = {
    {"Img_Corvane", {0, 0, 9000, 7980}, true},          {"Image1", {0, 120, 9000, 750}, true},
    {"Img_Logo", {3950, 2540, 1095, 840}, true},        {"Img_Tasto(0)", {6105, 2970, 675, 660}, false},
    {"Img_Tasto(1)", {6760, 3650, 720, 690}, false},    {"Img_Tasto(2)", {7450, 2960, 720, 705}, false},
    {"Img_Tasto(3)", {6800, 2270, 690, 690}, false},    {"Img_Tasto(4)", {3250, 2520, 630, 720}, false},
    {"Img_Tasto(5)", {5110, 2520, 645, 705}, false},    {"Img_Tasto(6)", {3430, 3250, 645, 630}, false},
    {"Img_Tasto(7)", {4790, 3300, 1005, 600}, false},   {"Img_Tasto(8)", {1155, 1060, 1140, 285}, false},
    {"Img_Tasto(9)", {6690, 1060, 1185, 315}, false},   {"Img_Tasto(10)", {1160, 180, 1140, 285}, false},
    {"Img_Tasto(11)", {6690, 180, 1185, 315}, false},   {"Img_Tasto(12)", {2520, 4140, 1380, 1350}, false},
    {"Img_Tasto(13)", {5130, 4150, 1335, 1320}, false}, {"Img_Dig(0)", {1080, 2490, 1590, 1560}, true},
    {"Img_Dig(1)", {1080, 2490, 1590, 1560}, false},    {"Img_Dig(2)", {1080, 2490, 1590, 1560}, false},
    {"Img_Dig(3)", {1080, 2490, 1590, 1560}, false},    {"Img_Dig(4)", {1080, 2490, 1590, 1560}, false},
    {"Img_Dig(5)", {1080, 2490, 1590, 1560}, false},    {"Img_Dig(6)", {1080, 2490, 1590, 1560}, false},
    {"Img_Dig(7)", {1080, 2490, 1590, 1560}, false},    {"Img_Dig(8)", {1080, 2490, 1590, 1560}, false},
};

struct LabelRow {
    const char* name;
    QRect twips;
    const char* text; // after load
    QColor color;
    bool transparent; // Lab_Fire: no background, no border, the large bold font
    Qt::Alignment horizontal;
};

const LabelRow Labels[] = {
    {"Lab_Fire(0)", {1440, 360, 615, 495}, "L2", QColor(64, 64, 64), true, Qt::AlignLeft},
    {"Lab_Fire(1)", {6960, 360, 615, 495}, "R2", QColor(64, 64, 64), true, Qt::AlignLeft},
    {"Lab_Fire(2)", {1440, 1320, 615, 495}, "L1", QColor(64, 64, 64), true, Qt::AlignLeft},
    {"Lab_Fire(3)", {6960, 1320, 615, 495}, "R1", QColor(64, 64, 64), true, Qt::AlignLeft},
    {"Lab_Tasto(0)", {3600, 2040, 1875, 255}, " Codice tasto: 0", Qt::black, false, Qt::AlignLeft},
    {"Lab_Tasto(1)", {1320, 2040, 1035, 255}, "Posizione: 0", Qt::black, false, Qt::AlignHCenter},
    {"Lab_Tasto(2)", {1965, 5475, 555, 255}, "0", Qt::black, false, Qt::AlignHCenter},
    {"Lab_Tasto(3)", {870, 4500, 555, 255}, "0", Qt::black, false, Qt::AlignHCenter},
    {"Lab_Tasto(4)", {6480, 5475, 555, 255}, "0", Qt::black, false, Qt::AlignHCenter},
    {"Lab_Tasto(5)", {7590, 4500, 555, 255}, "0", Qt::black, false, Qt::AlignHCenter},
};

struct ShapeRow {
    const char* name;
    QRect twips;
    QColor border;
    bool filled;
};

const ShapeRow Shapes[] = {
    {"Shp_Liv2(0)", {600, 120, 2415, 855}, QColor(192, 192, 192), false},
    {"Shp_Liv2(1)", {6000, 120, 2415, 855}, QColor(192, 192, 192), false},
    {"Shp_XYe", {480, 4920, 1335, 1335}, QColor(128, 0, 0), false},
    {"Shp_ZRe", {7200, 4920, 1335, 1335}, QColor(128, 0, 0), false},
    {"Shp_XP", {1080, 5520, 135, 135}, QColor(255, 0, 0), true},
    {"Shp_ZR", {7800, 5520, 135, 135}, QColor(255, 0, 0), true},
    {"Shp_Tasti(0)", {9120, 120, 4335, 2295}, QColor(128, 128, 128), false},
    {"Shp_Tasti(1)", {9120, 2520, 4335, 2415}, QColor(128, 128, 128), false},
    {"Shp_Tasti(2)", {9120, 5040, 4335, 1935}, QColor(128, 128, 128), false},
    {"Shp_0(0)", {9600, 3240, 1455, 1455}, QColor(192, 192, 192), false},
    {"Shp_0(1)", {11760, 3240, 1455, 1455}, QColor(192, 192, 192), false},
};

struct LineRow {
    const char* name;
    QLine twips;
    QColor color;
    bool dotted;
};

const LineRow Lines[] = {
    {"Line1", {1840, 2400, 1840, 4320}, QColor(255, 255, 192), true},
    {"Lin_AsseXYd", {840, 3270, 2880, 3270}, QColor(255, 255, 192), true},
    {"Lin_XYe(0)", {1140, 4800, 1140, 6360}, QColor(128, 0, 0), true},
    {"Lin_XYe(1)", {360, 5580, 1920, 5580}, QColor(128, 0, 0), true},
    {"Lin_XYe(2)", {7860, 4800, 7860, 6360}, QColor(128, 0, 0), true},
    {"Lin_XYe(3)", {7080, 5580, 8640, 5580}, QColor(128, 0, 0), true},
    {"Lin_0(0)", {11040, 3960, 9600, 3960}, QColor(192, 192, 192), false},
    {"Lin_0(1)", {10320, 3240, 10320, 4680}, QColor(192, 192, 192), false},
    {"Lin_0(2)", {12480, 3240, 12480, 4680}, QColor(192, 192, 192), false},
    {"Lin_0(3)", {13200, 3960, 11760, 3960}, QColor(192, 192, 192), false},
};

// Window controls in tab order; a slider's caption is empty.
struct WindowControlRow {
    const char* name;
    const char* caption;
    QRect twips;
};

const WindowControlRow WindowControls[] = {
    {"Cmd_Start", "&Start", {3600, 6000, 915, 510}},
    {"Cmd_Stop", "&Stop", {4560, 6000, 915, 510}},
    {"Cmd_tasto(10)", "L2", {9240, 360, 735, 255}},
    {"Cmd_tasto(8)", "L1", {9240, 720, 735, 255}},
    {"Cmd_tasto(11)", "R2", {12600, 360, 735, 255}},
    {"Cmd_tasto(9)", "R1", {12600, 720, 735, 255}},
    {"Cmd_tasto(4)", "9", {10440, 720, 615, 255}},
    {"Cmd_tasto(5)", "10", {11520, 720, 615, 255}},
    {"Cmd_tasto(6)", "Mode", {10440, 1080, 615, 255}},
    {"Cmd_tasto(7)", "Vibr", {11520, 1080, 615, 255}},
    {"Cmd_tasto(12)", "X/Y", {10080, 1680, 615, 495}},
    {"Cmd_tasto(13)", "Z/R", {11040, 1680, 615, 495}},
    {"Cmd_tasto(0)", "1", {12120, 1560, 375, 255}},
    {"Cmd_tasto(1)", "2", {12480, 1920, 375, 255}},
    {"Cmd_tasto(2)", "3", {12840, 1560, 375, 255}},
    {"Cmd_tasto(3)", "4", {12480, 1200, 375, 255}},
    {"Sld_X", "", {9480, 2760, 1695, 315}},
    {"Sld_Y", "", {9240, 3120, 315, 1695}},
    {"Cmd_0_XY", "0", {10080, 3720, 495, 495}},
    {"Sld_R", "", {11640, 2760, 1695, 315}},
    {"Sld_Z", "", {11400, 3120, 315, 1695}},
    {"Cmd_0_ZR", "0", {12240, 3720, 495, 495}},
    {"Cmd_Dig(0)", "", {11160, 5880, 255, 255}},
    {"Cmd_Dig(1)", "", {11160, 5400, 255, 255}},
    {"Cmd_Dig(2)", "", {11520, 5520, 255, 255}},
    {"Cmd_Dig(3)", "", {11640, 5880, 255, 255}},
    {"Cmd_Dig(4)", "", {11520, 6240, 255, 255}},
    {"Cmd_Dig(5)", "", {11160, 6360, 255, 255}},
    {"Cmd_Dig(6)", "", {10800, 6240, 255, 255}},
    {"Cmd_Dig(7)", "", {10680, 5880, 255, 255}},
    {"Cmd_Dig(8)", "", {10800, 5520, 255, 255}},
};

QRect Pixels(const QRect& twips) {
    return platform::TwipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

QPoint Pixels(QPoint twips) {
    return {platform::TwipsToPixels(twips.x()), platform::TwipsToPixels(twips.y())};
}

QColor TextColor(const QWidget* label) {
    return label->palette().color(QPalette::WindowText);
}

} // namespace

TEST_F(MainFormTest, EveryPictureHasItsRectangleAndVisibility) {
    for (const PictureRow& row : Pictures) {
        SCOPED_TRACE(row.name);
        const auto* picture = Control<QLabel>(row.name);
        EXPECT_EQ(Twips(row.name), row.twips);
        EXPECT_EQ(picture->geometry(), Pixels(row.twips));
        // A missing picture leaves the control empty at its size; a present one has exactly that size.
        if (!picture->pixmap().isNull()) {
            EXPECT_EQ(picture->pixmap().deviceIndependentSize().toSize(), picture->size());
        }
        EXPECT_EQ(!picture->isHidden(), row.shown);
        EXPECT_FALSE(picture->accessibleName().isEmpty());
    }
    EXPECT_EQ(Control(QStringLiteral("Img_Logo"))->toolTip(),
              QStringLiteral("Aggiorna la mappa dei tasti/assi"));
}

TEST_F(MainFormTest, EveryLabelHasItsRectangleTextColourAndLook) {
    const QString comic = platform::ComicFamily();
    for (const LabelRow& row : Labels) {
        SCOPED_TRACE(row.name);
        const auto* label = Control<QLabel>(row.name);
        EXPECT_EQ(Twips(row.name), row.twips);
        EXPECT_EQ(label->text(), QString::fromUtf8(row.text));
        EXPECT_EQ(TextColor(label), row.color);
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, row.horizontal);
        EXPECT_EQ(label->autoFillBackground(), !row.transparent);
        EXPECT_EQ(label->frameShape() == QFrame::NoFrame, row.transparent);
        EXPECT_EQ(label->font().family(), row.transparent ? comic : platform::ArialFamily());
        EXPECT_EQ(label->font().bold(), row.transparent);
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), row.transparent ? 21.75 : 8.25);
        EXPECT_FALSE(label->isHidden());
    }
    EXPECT_TRUE(comic == QStringLiteral("Comic Sans MS") || comic == QStringLiteral("Comic Neue"));
    EXPECT_EQ(QFontInfo(Control(QStringLiteral("Lab_Fire(0)"))->font()).family(), comic);
}

TEST_F(MainFormTest, EveryShapeAndLineHasItsGeometryAndColours) {
    for (const ShapeRow& row : Shapes) {
        SCOPED_TRACE(row.name);
        const auto* shape = Control<ShapeWidget>(row.name);
        EXPECT_EQ(Twips(row.name), row.twips);
        EXPECT_EQ(shape->geometry(), Pixels(row.twips));
        EXPECT_EQ(shape->borderColor(), row.border);
        EXPECT_EQ(shape->fillColor(), row.filled ? std::optional(row.border) : std::nullopt);
        EXPECT_TRUE(shape->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
    for (const LineRow& row : Lines) {
        SCOPED_TRACE(row.name);
        auto* line = Control<LineWidget>(row.name);
        EXPECT_EQ(line->twipsLine(), row.twips);
        EXPECT_EQ(line->color(), row.color);
        EXPECT_EQ(line->dotted(), row.dotted);
        // One pixel across, every pixel painted from end point to end point whichever way the line
        // runs; a dotted one every other pixel, from its first end point.
        const QImage painted = line->grab().toImage();
        const QPoint from = Pixels(row.twips.p1());
        const QPoint to = Pixels(row.twips.p2());
        const QPoint step((to.x() > from.x()) - (to.x() < from.x()), (to.y() > from.y()) - (to.y() < from.y()));
        const int length = (to - from).manhattanLength();
        EXPECT_EQ(painted.size(), step.x() != 0 ? QSize(length + 1, 1) : QSize(1, length + 1));
        for (int i = 0; i <= length; ++i) {
            const QPoint at = line->mapFromParent(from + i * step);
            EXPECT_EQ(painted.pixelColor(at) == row.color, !row.dotted || i % 2 == 0) << "pixel " << i;
        }
    }
}

TEST_F(MainFormTest, WindowControlsHaveTheirCaptionsRectanglesAndTabOrder) {
    QStringList expectedOrder;
    for (const WindowControlRow& row : WindowControls) {
        SCOPED_TRACE(row.name);
        const QWidget* control = Control(row.name);
        EXPECT_EQ(Twips(row.name), row.twips);
        EXPECT_EQ(control->geometry(), Pixels(row.twips));
        if (const auto* button = qobject_cast<const QPushButton*>(control)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(row.caption));
        }
        EXPECT_EQ(control->isHidden(), QLatin1String(row.name) == QLatin1String("Cmd_Dig(0)"));
        EXPECT_EQ(control->isEnabled(), QLatin1String(row.name) != QLatin1String("Cmd_Stop"));
        if (!control->isHidden()) {
            expectedOrder << QString::fromLatin1(row.name);
        }
    }
    form->show();
    QStringList order{QStringLiteral("Cmd_Start")};
    for (QWidget* w = Control(order.front())->nextInFocusChain(); w->objectName() != order.front();
         w = w->nextInFocusChain()) {
        if (w->isVisibleTo(form.get()) && w->focusPolicy() & Qt::TabFocus) {
            order << w->objectName();
        }
    }
    EXPECT_EQ(order, expectedOrder);
}

TEST_F(MainFormTest, SlidersRunFromMinusTenToTenWithTheVerticalMinimumAtTheTop) {
    for (const char* name : {"Sld_X", "Sld_Y", "Sld_Z", "Sld_R"}) {
        SCOPED_TRACE(name);
        const QSlider* slider = Slider(name);
        EXPECT_EQ(slider->minimum(), -10);
        EXPECT_EQ(slider->maximum(), 10);
        EXPECT_EQ(slider->pageStep(), 5);
        EXPECT_EQ(slider->singleStep(), 1);
        EXPECT_EQ(slider->value(), 0);
        const bool vertical = name == std::string_view("Sld_Y") || name == std::string_view("Sld_Z");
        EXPECT_EQ(slider->orientation(), vertical ? Qt::Vertical : Qt::Horizontal);
        // Qt draws a vertical slider's minimum at the bottom unless its appearance is inverted.
        EXPECT_EQ(slider->invertedAppearance(), vertical);
    }
}

TEST_F(MainFormTest, PictureLayerIsStackedAsDesignedUnderTheWindowControls) {
    const QStringList topmostFirst = {
        "Shp_Liv2(1)",   "Shp_Liv2(0)",   "Line1",        "Lin_AsseXYd",  "Shp_0(1)",     "Shp_0(0)",
        "Lab_Fire(3)",   "Lab_Fire(2)",   "Img_Logo",     "Lab_Fire(1)",  "Lab_Fire(0)",  "Img_Tasto(13)",
        "Img_Tasto(12)", "Lab_Tasto(5)",  "Lab_Tasto(4)", "Lab_Tasto(3)", "Shp_ZR",       "Lin_XYe(3)",
        "Shp_ZRe",       "Lin_XYe(2)",    "Shp_Tasti(2)", "Shp_Tasti(1)", "Lin_0(3)",     "Lin_0(2)",
        "Lin_0(1)",      "Lin_0(0)",      "Shp_XP",       "Lin_XYe(1)",   "Lin_XYe(0)",   "Shp_XYe",
        "Img_Tasto(10)", "Img_Tasto(11)", "Img_Dig(0)",   "Img_Dig(1)",   "Img_Dig(2)",   "Img_Dig(3)",
        "Img_Dig(4)",    "Img_Dig(5)",    "Img_Dig(6)",   "Img_Dig(7)",   "Img_Dig(8)",   "Shp_Tasti(0)",
        "Img_Tasto(3)",  "Img_Tasto(9)",  "Img_Tasto(8)", "Img_Tasto(7)", "Img_Tasto(6)", "Img_Tasto(5)",
        "Img_Tasto(4)",  "Img_Tasto(2)",  "Img_Tasto(1)", "Img_Tasto(0)", "Lab_Tasto(2)", "Lab_Tasto(1)",
        "Lab_Tasto(0)",  "Image1",        "Img_Corvane",
    };
    // Qt draws later siblings over earlier ones.
    QStringList bottomFirst;
    for (const QObject* child : form->centralWidget()->children()) {
        bottomFirst << child->objectName();
    }
    QStringList pictureLayer = bottomFirst.mid(0, topmostFirst.size());
    std::reverse(pictureLayer.begin(), pictureLayer.end());
    EXPECT_EQ(pictureLayer, topmostFirst);
    EXPECT_EQ(bottomFirst.size(), topmostFirst.size() + std::size(WindowControls));
    for (const QString& name : bottomFirst.mid(topmostFirst.size())) {
        EXPECT_TRUE(name.startsWith(QStringLiteral("Cmd_")) || name.startsWith(QStringLiteral("Sld_")))
            << name.toStdString();
    }
}

TEST_F(MainFormTest, OfSeveralVisibleDirectionPicturesTheLowestIndexIsOnTop) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    // Each direction picture painted in its own colour; the pixel is clear of lines and markers.
    const QPoint probe = Pixels(QRect(1080, 2490, 1590, 1560)).topLeft() + QPoint(8, 8);
    for (int p = 0; p < Generale::NumPosizioni; ++p) {
        QPixmap plain(106, 104);
        plain.fill(QColor(20 * p, 100, 200));
        Control<QLabel>(Element("Img_Dig", p))->setPixmap(plain);
        Control(Element("Img_Dig", p))->show();
    }
    for (int top = 0; top < Generale::NumPosizioni; ++top) {
        SCOPED_TRACE(top);
        const QImage shot = form->centralWidget()->grab().toImage();
        EXPECT_EQ(shot.pixelColor(probe), QColor(20 * top, 100, 200));
        Control(Element("Img_Dig", top))->hide();
    }
}

TEST_F(MainFormTest, NarrowWindowHidesTheWholeEmulationPanelAndTheWideOneShowsIt) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(platform::OuterWidthTwips(*form), 9090);
    EXPECT_EQ(form->width(), 600);
    EXPECT_EQ(form->centralWidget()->height(), 473);
    const QRect client = form->centralWidget()->rect();
    std::vector<QWidget*> panel;
    for (QWidget* child : form->centralWidget()->findChildren<QWidget*>()) {
        if (platform::TwipsGeometry(*child).left() >= 9120 ||
            child->objectName().startsWith(QStringLiteral("Lin_0"))) {
            panel.push_back(child);
        }
    }
    ASSERT_EQ(panel.size(), 3u + 2u + 4u + std::size(WindowControls) - 2u); // frames, squares, axes, controls
    for (const QWidget* control : panel) {
        EXPECT_FALSE(control->geometry().intersects(QRect(0, 0, form->width(), client.height())))
            << control->objectName().toStdString();
    }
    // Controls changed while out of sight are shown, once widened, in the state they were left in.
    form->cJoy_JoyLeftStick(7, -3);
    form->cJoy_JoyRightStick(-2, 9);
    form->findChild<QAction*>(QStringLiteral("MenuEmula"))->trigger();
    EXPECT_EQ(form->width(), 908);
    for (const QWidget* control : panel) {
        EXPECT_TRUE(QRect(0, 0, form->width(), client.height()).contains(control->geometry()))
            << control->objectName().toStdString();
        EXPECT_EQ(control->isVisible(), control->objectName() != QStringLiteral("Cmd_Dig(0)"))
            << control->objectName().toStdString();
    }
    EXPECT_EQ(Slider("Sld_X")->value(), 7);
    EXPECT_EQ(Slider("Sld_Y")->value(), -3);
    EXPECT_EQ(Slider("Sld_Z")->value(), -2);
    EXPECT_EQ(Slider("Sld_R")->value(), 9);
}

TEST_F(MainFormTest, WindowHasItsCaptionFixedBorderAndNoMinimiseOrMaximiseAndIsCentred) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Corvane (DEMO)"));
    EXPECT_FALSE(form->windowIcon().isNull());
    const QPoint offCentre = form->frameGeometry().center() - form->screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
}

TEST_F(MainFormTest, MenusHaveTheirCaptionsAndMenuEmulaIsHiddenAtLoad) {
    struct Item {
        QString name, caption;
    };
    const std::vector<std::pair<Item, std::vector<Item>>> expected = {
        {{"MenuFile", "&File"},
         {{"MenuEmula", "Emulazione Corvane"},
          {"MenuNumeroPad", "Numero Corvane configurati"},
          {"MenuScegliPad", "Scegli il Corvane"},
          {"MenuProfilo", "Profilo"},
          {"MenuPGioco", "Periferiche di gioco (Pannello di controllo)"},
          {"MenuNull1", ""},
          {"MenuFine", "Fine Programma"}}},
        {{"MenuAbout0", "&?"},
         {{"MenuAssegna", "Come assegnare i tasti"},
          {"MenuAssegnaTasti", "Assegna i tasti…"},
          {"MenuNull0", ""},
          {"MenuAbout", "Informazioni su..."}}},
    };
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_EQ(menus.size(), qsizetype(expected.size()));
    for (std::size_t m = 0; m < expected.size(); ++m) {
        const QMenu* menu = menus[qsizetype(m)]->menu();
        EXPECT_EQ(menu->objectName(), expected[m].first.name);
        EXPECT_EQ(menu->title(), expected[m].first.caption);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), qsizetype(expected[m].second.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QAction* item = items[i];
            const Item& want = expected[m].second[std::size_t(i)];
            EXPECT_EQ(item->objectName(), want.name);
            EXPECT_EQ(item->text(), want.caption);
            EXPECT_EQ(item->isSeparator(), want.caption.isEmpty());
            EXPECT_EQ(item->isVisible(), item->objectName() != QStringLiteral("MenuEmula"));
            // A hidden action is disabled too.
            EXPECT_EQ(item->isEnabled(), item->isVisible());
            EXPECT_FALSE(item->isChecked());
        }
    }
}

TEST_F(MainFormTest, AccessibleTreeHoldsTextsStatesAndPositions) {
    platform::SetOuterWidthTwips(*form, 13710);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    // Every accessible object under the window, by role and name.
    std::map<std::pair<QAccessible::Role, QString>, QAccessibleInterface*> tree;
    const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        tree[{node->role(), node->text(QAccessible::Name)}] = node;
        for (int i = 0; i < node->childCount(); ++i) {
            walk(node->child(i));
        }
    };
    walk(QAccessible::queryAccessibleInterface(form.get()));
    const auto find = [&](QAccessible::Role role, const char* name) -> QAccessibleInterface* {
        const auto found = tree.find({role, QString::fromUtf8(name)});
        return found == tree.end() ? nullptr : found->second;
    };

    for (const LabelRow& row : Labels) {
        EXPECT_NE(find(QAccessible::StaticText, row.text), nullptr) << row.name;
    }
    const QWidget* keyCode = Control(QStringLiteral("Lab_Tasto(0)"));
    ASSERT_NE(find(QAccessible::StaticText, " Codice tasto: 0"), nullptr);
    EXPECT_EQ(find(QAccessible::StaticText, " Codice tasto: 0")->rect(),
              QRect(keyCode->mapToGlobal(QPoint()), keyCode->size()));
    ASSERT_NE(find(QAccessible::Button, "Stop"), nullptr);
    EXPECT_TRUE(find(QAccessible::Button, "Stop")->state().disabled);
    EXPECT_FALSE(find(QAccessible::Button, "Start")->state().disabled);
    EXPECT_NE(find(QAccessible::Button, "Croce a destra"), nullptr);
    QAccessibleInterface* slider = find(QAccessible::Slider, "Levetta destra, verticale");
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(slider->valueInterface(), nullptr);
    EXPECT_EQ(slider->valueInterface()->currentValue().toInt(), 0);
    EXPECT_EQ(slider->valueInterface()->minimumValue().toInt(), -10);
    for (const char* name : {"Corvane", "Logo", "Tasto Z/R premuto", "Croce al centro"}) {
        EXPECT_NE(find(QAccessible::Graphic, name), nullptr) << name;
    }
    EXPECT_TRUE(find(QAccessible::Graphic, "Tasto Z/R premuto")->state().invisible);
    EXPECT_FALSE(find(QAccessible::Graphic, "Croce al centro")->state().invisible);
    for (const char* name : {"Shp_XP", "Line1"}) {
        EXPECT_NE(find(QAccessible::Client, name), nullptr) << name;
    }
}
