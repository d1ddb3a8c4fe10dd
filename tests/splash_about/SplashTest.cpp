#include "assign/frmAssegna.h"
#include "keymap/Generale.h"
#include "mainwindow/MainForm.h"
#include "platform/WindowServices.h"
#include "splash_about/frmAbout.h"
#include "splash_about/frmSplash.h"
#include "support/RecordingShell.h"
#include "support/TempProgramDirectory.h"
#include "support/TopLevel.h"

#include <QAction>
#include <QDialog>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFontInfo>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class Splash : public testing::Test {
protected:
    Splash() { Generale::MostraIstruzioni = false; }

    void Load() { splash = std::make_unique<frmSplash>(nullptr, shell); }

    // Loads and shows the splash as the program does.
    void Open() {
        Load();
        platform::ShowModeless(*splash);
        ASSERT_TRUE(QTest::qWaitForWindowActive(splash.get()));
    }

    template<typename T = QWidget>
    T* Control(const char* name) const {
        return splash->findChild<T*>(QLatin1String(name));
    }
    QTimer* Timer1() const { return Control<QTimer>("Timer1"); }

    // The splash gave way to the main window.
    void ExpectHandedOver() const {
        EXPECT_TRUE(splash->isHidden());
        EXPECT_FALSE(Timer1()->isActive());
        ASSERT_NE(TopLevel<MainForm>(), nullptr);
        EXPECT_TRUE(TopLevel<MainForm>()->isVisible());
    }

    void ExpectStillOpen() const {
        EXPECT_TRUE(splash->isVisible());
        EXPECT_TRUE(Timer1()->isActive());
        EXPECT_TRUE(TopLevel<MainForm>()->isHidden());
    }

    TempProgramDirectory directory;
    RecordingShell shell;
    std::unique_ptr<frmSplash> splash;
};

TEST_F(Splash, LoadPreparesTheMainAndAboutWindowsHidden) {
    Load();
    EXPECT_TRUE(Generale::MostraIstruzioni);
    const MainForm* main = TopLevel<MainForm>();
    const frmAbout* about = TopLevel<frmAbout>();
    ASSERT_NE(main, nullptr);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(main->isHidden());
    EXPECT_TRUE(about->isHidden());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("Informazioni su Corvane Demo"));
    EXPECT_TRUE(splash->isHidden());
    EXPECT_TRUE(Timer1()->isActive());
    EXPECT_EQ(Timer1()->interval(), 1500);
    EXPECT_TRUE(shell.boxes.empty());
    main->findChild<QAction*>(QStringLiteral("MenuAssegnaTasti"))->trigger();
    EXPECT_NE(TopLevel<frmAssegna>(), nullptr) << "the dialog's loader is wired";
}

TEST_F(Splash, ShowsTheProductNameAndVersion) {
    const struct {
        uint16_t major, minor, revision;
        const char* text;
    } cases[] = {{1, 0, 0, "Versione 1.00"}, {2, 10, 3, "Versione 2.103"}, {1, 2, 0, "Versione 1.20"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        shell.version.Major = c.major;
        shell.version.Minor = c.minor;
        shell.version.Revision = c.revision;
        Load();
        EXPECT_EQ(Control<QLabel>("lblProductName")->text(), QStringLiteral("Corvane Demo"));
        EXPECT_EQ(Control<QLabel>("lblVersion")->text(), QString::fromLatin1(c.text));
    }
}

TEST_F(Splash, ControlsLieAtTheirTwipsWithTheirFontsAndColours) {
    Load();
    const int border = splash->frameWidth();
    EXPECT_EQ(splash->size(), QSize(373 + 2 * border, 266 + 2 * border)); // client 5595 x 3990 twips
    const struct {
        const char* name;
        QRect twips;
    } cases[] = {
        {"Frame1", {120, 0, 5385, 3915}},
        {"Img_Splash", {1560, 480, 2370, 1740}},
        {"lblProductName", {120, 2640, 5115, 675}},
        {"lblVersion", {135, 3240, 5145, 360}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(Control(c.name), nullptr);
        EXPECT_EQ(platform::TwipsGeometry(*Control(c.name)), c.twips);
    }
    EXPECT_EQ(Control("Frame1")->geometry(), QRect(8 + border, border, 359, 261));

    const struct {
        const char* name;
        qreal points;
        bool italic;
    } labels[] = {{"lblProductName", 26.25, true}, {"lblVersion", 15.75, false}};
    for (const auto& l : labels) {
        SCOPED_TRACE(l.name);
        const QLabel* label = Control<QLabel>(l.name);
        EXPECT_TRUE(QStringList({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")})
                        .contains(QFontInfo(label->font()).family()));
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), l.points);
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->font().italic(), l.italic);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
    }
    const QLabel* picture = Control<QLabel>("Img_Splash");
    EXPECT_TRUE(picture->hasScaledContents());
    EXPECT_FALSE(picture->pixmap().isNull());
}

TEST_F(Splash, IsCentredOnTheScreen) {
    Open();
    // Placed before the window system adds its frame, if any: off by at most the frame's width.
    const QPoint offset = splash->frameGeometry().center() - splash->screen()->availableGeometry().center();
    const QSize frame = splash->frameGeometry().size() - splash->size();
    EXPECT_LE(offset.manhattanLength(), 2 + frame.width() + frame.height());
}

TEST_F(Splash, HandsOverToTheMainWindowWhenItsTimerTicks) {
    Open();
    ExpectStillOpen();
    QDeadlineTimer deadline(10000);
    while (splash->isVisible() && !deadline.hasExpired()) {
        QTest::qWait(20);
    }
    ExpectHandedOver();
    EXPECT_TRUE(QTest::qWaitForWindowActive(TopLevel<MainForm>()));
}

TEST_F(Splash, ClosesOnAKeyThatProducesACharacterOnly) {
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool closes;
    } cases[] = {
        {"letter", Qt::Key_A, Qt::NoModifier, true},
        {"digit", Qt::Key_5, Qt::NoModifier, true},
        {"blank", Qt::Key_Space, Qt::NoModifier, true},
        {"Enter", Qt::Key_Return, Qt::NoModifier, true},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, true},
        {"arrow", Qt::Key_Left, Qt::NoModifier, false},
        {"function key", Qt::Key_F1, Qt::NoModifier, false},
        {"Shift alone", Qt::Key_Shift, Qt::ShiftModifier, false},
        {"Control alone", Qt::Key_Control, Qt::ControlModifier, false},
        {"Page Down", Qt::Key_PageDown, Qt::NoModifier, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        QTest::keyClick(splash->windowHandle(), c.key, c.modifiers);
        if (c.closes) {
            ExpectHandedOver();
        } else {
            ExpectStillOpen();
        }
    }
}

TEST_F(Splash, ClosesOnALeftClickOnTheFramesOwnSurfaceOnly) {
    const struct {
        const char* name;
        std::function<QPoint(frmSplash&)> where; // in the splash's coordinates
        Qt::MouseButton button;
        bool closes;
    } cases[] = {
        {"frame surface, top left",
         [](frmSplash& s) { return s.findChild<QWidget*>("Frame1")->geometry().topLeft() + QPoint(20, 20); },
         Qt::LeftButton, true},
        {"frame surface, between picture and name",
         [](frmSplash& s) {
             return s.findChild<QWidget*>("Frame1")->geometry().topLeft() + QPoint(180, 165);
         },
         Qt::LeftButton, true},
        {"frame surface, right button",
         [](frmSplash& s) { return s.findChild<QWidget*>("Frame1")->geometry().topLeft() + QPoint(20, 20); },
         Qt::RightButton, false},
        {"picture",
         [](frmSplash& s) { return s.findChild<QWidget*>("Img_Splash")->mapTo(&s, QPoint(70, 50)); },
         Qt::LeftButton, false},
        {"product name",
         [](frmSplash& s) { return s.findChild<QWidget*>("lblProductName")->mapTo(&s, QPoint(10, 10)); },
         Qt::LeftButton, false},
        {"version",
         [](frmSplash& s) { return s.findChild<QWidget*>("lblVersion")->mapTo(&s, QPoint(300, 10)); },
         Qt::LeftButton, false},
        {"window margin left of the frame", [](frmSplash& s) { return QPoint(s.frameWidth() + 3, 130); },
         Qt::LeftButton, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        QTest::mouseClick(splash->windowHandle(), c.button, Qt::NoModifier, c.where(*splash));
        if (c.closes) {
            ExpectHandedOver();
        } else {
            ExpectStillOpen();
        }
    }
}

// A window manager's close request (Alt+F4 on the splash) is refused and hands over at once; the
// program goes on, though the splash was its last visible window.
TEST_F(Splash, ACloseRequestHandsOverAtOnce) {
    Open();
    bool lastWindowClosed = false;
    const QMetaObject::Connection watch =
        QObject::connect(qApp, &QGuiApplication::lastWindowClosed, [&] { lastWindowClosed = true; });

    splash->windowHandle()->close();

    ExpectHandedOver();
    EXPECT_FALSE(lastWindowClosed);
    QObject::disconnect(watch);
}

// The main and about windows as the splash pairs them: About disables the main window, whose close
// requests are refused while About is shown; closing About enables it again.
TEST_F(Splash, AboutAndMainWindowAsThePairedProgramShowsThem) {
    Open();
    QTest::keyClick(splash->windowHandle(), Qt::Key_A);
    MainForm* main = TopLevel<MainForm>();
    frmAbout* about = TopLevel<frmAbout>();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));

    main->findChild<QAction*>(QStringLiteral("MenuAbout"))->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(about));
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(about->isVisible());

    QWidget other;  // the request comes while the user is elsewhere, as from a task bar
    platform::ShowModeless(other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    main->windowHandle()->close();  // the close box or Alt+F4
    EXPECT_TRUE(main->isVisible());
    EXPECT_NE(main->Monitor(), nullptr) << "the program did not end";
    EXPECT_TRUE(QTest::qWaitForWindowActive(about)) << "About comes forward to say why";

    about->windowHandle()->close();
    EXPECT_TRUE(about->isHidden());
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(TopLevel<frmAbout>(), about) << "hidden, not unloaded";

    main->windowHandle()->close();
    EXPECT_EQ(main->Monitor(), nullptr) << "the program ends through Fine Programma";
}

TEST_F(Splash, ASecondTriggerChangesNothing) {
    Open();
    QTest::keyClick(splash->windowHandle(), Qt::Key_A);
    MainForm* main = TopLevel<MainForm>();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));

    // Another window is active now; the late triggers must not take the focus back.
    QWidget other;
    platform::ShowModeless(other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    const std::size_t boxes = shell.boxes.size();
    splash->Timer1_Timer();
    splash->Frame1_Click();
    QTest::qWait(50);
    ExpectHandedOver();
    EXPECT_EQ(QApplication::activeWindow(), &other);
    EXPECT_EQ(shell.boxes.size(), boxes);
}

} // namespace
