#include "platform/WindowServices.h"
#include "splash_about/TestoVersione.h"
#include "splash_about/frmAbout.h"
#include "support/RecordingShell.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>

namespace {

const QString Disclaimer = QStringLiteral(
    "Avviso: Lo scopo di questo programma è quello di mostrare come sia possibile utilizzare un Corvane per "
    "controllare programmi industriali ed applicazioni da me create. L'autore non è responsabile per i "
    "danni diretti, indiretti e consequenziali derivati dall'uso del presente programma e delle periferiche "
    "ad esso riferite.");

class About : public testing::Test {
protected:
    About() { main.setGeometry(200, 150, 600, 400); }

    QString Text(const char* name) const { return about.findChild<QLabel*>(QLatin1String(name))->text(); }

    // As the main window's MenuAbout does: disable the main window, show this one.
    void Open() {
        main.setEnabled(false);
        platform::ShowModeless(about);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    }

    RecordingShell shell;
    QWidget main;
    frmAbout about{&main, shell};
};

TEST_F(About, LoadWritesTheTextsFromTheVersionRecord) {
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Informazioni su Corvane Demo"));
    EXPECT_EQ(Text("lblTitle"), QStringLiteral("Corvane Demo"));
    EXPECT_EQ(Text("lblVersion"), QStringLiteral("Versione 1.00"));
    EXPECT_EQ(Text("lblDescription"), QStringLiteral("Tutti i diritti sono riservati - Copyright test"));
    EXPECT_EQ(Text("lblDisclaimer"), Disclaimer);
    EXPECT_EQ(about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));
    EXPECT_TRUE(about.isHidden());
}

TEST(TestoVersione, WritesMinorAndRevisionSideBySide) {
    const struct {
        uint16_t major, minor, revision;
        const char* text;
    } cases[] = {
        {1, 0, 0, "Versione 1.00"},
        {2, 10, 3, "Versione 2.103"},
        {1, 2, 0, "Versione 1.20"},
        {0, 0, 12, "Versione 0.012"},
        {65535, 65535, 65535, "Versione 65535.6553565535"},
    };
    for (const auto& c : cases) {
        platform::VersionRecord version;
        version.Major = c.major;
        version.Minor = c.minor;
        version.Revision = c.revision;
        EXPECT_EQ(TestoVersione(version), QString::fromLatin1(c.text));
    }
}

TEST_F(About, ControlsLieAtTheirTwips) {
    EXPECT_EQ(about.size(), QSize(382, 237)); // client area 5730 x 3555 twips
    const struct {
        const char* name;
        QRect twips;
    } cases[] = {
        {"Img_Logo", {120, 240, 765, 675}},     {"lblTitle", {1050, 240, 4605, 480}},
        {"lblVersion", {1080, 753, 4605, 225}}, {"lblDescription", {1080, 1080, 4605, 330}},
        {"cmdOK", {4320, 1579, 1260, 345}},     {"lblDisclaimer", {240, 2265, 5295, 1185}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto* control = about.findChild<QWidget*>(QLatin1String(c.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(platform::TwipsGeometry(*control), c.twips);
        EXPECT_EQ(control->geometry(),
                  QRect(qRound(c.twips.x() / 15.0), qRound(c.twips.y() / 15.0),
                        qRound(c.twips.width() / 15.0), qRound(c.twips.height() / 15.0)));
    }
}

TEST_F(About, TitleIsArialOrItsSubstituteBoldAndTheLogoIsStretched) {
    const QFont title = about.findChild<QLabel*>(QStringLiteral("lblTitle"))->font();
    EXPECT_TRUE(QStringList({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")})
                    .contains(QFontInfo(title).family()));
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 20.25);
    EXPECT_TRUE(title.bold());
    const auto* logo = about.findChild<QLabel*>(QStringLiteral("Img_Logo"));
    EXPECT_TRUE(logo->hasScaledContents());
    EXPECT_FALSE(logo->pixmap().isNull());
}

TEST_F(About, SeparatorIsGreyOverWhite) {
    const QImage image = about.grab().toImage();
    for (const int x : {10, 190, 370}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(image.pixelColor(x, 139), QColor(128, 128, 128)); // 2085 twips
        EXPECT_EQ(image.pixelColor(x, 140), QColor(255, 255, 255)); // 2100 twips, two wide
        EXPECT_EQ(image.pixelColor(x, 141), QColor(255, 255, 255));
        EXPECT_NE(image.pixelColor(x, 142), QColor(255, 255, 255));
    }
}

TEST_F(About, StaysUsableWhileTheMainWindowIsDisabledAndIsCentredOnIt) {
    Open();
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(about.isEnabled());
    EXPECT_LE((about.frameGeometry().center() - main.frameGeometry().center()).manhattanLength(), 2);
}

TEST_F(About, EveryWayOfClosingHidesItAndEnablesTheMainWindow) {
    const std::vector<std::pair<const char*, std::function<void()>>> ways{
        {"OK clicked",
         [this] {
             QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
         }},
        {"Enter", [this] { QTest::keyClick(about.windowHandle(), Qt::Key_Return); }},
        {"Enter on the keypad",
         [this] { QTest::keyClick(about.windowHandle(), Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Escape", [this] { QTest::keyClick(about.windowHandle(), Qt::Key_Escape); }},
        {"close box", [this] { about.windowHandle()->close(); }},
        {"close() by the program", [this] { about.close(); }},
        {"closing every window, as at logging off", [] { QApplication::closeAllWindows(); }},
    };
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        Open();
        close();
        EXPECT_TRUE(about.isHidden());
        EXPECT_TRUE(main.isEnabled());
    }
}

TEST_F(About, RefusesEveryCloseRequest) {
    Open();
    QCloseEvent request;
    QApplication::sendEvent(&about, &request);
    EXPECT_FALSE(request.isAccepted());
    EXPECT_TRUE(about.isHidden());
    EXPECT_TRUE(main.isEnabled());
}

TEST_F(About, ShowsTheTextsOfItsLoadAgainOnASecondShowing) {
    Open();
    about.cmdOK_Click();
    shell.version.ProductName = QStringLiteral("Altro");
    shell.version.Minor = 7;
    Open();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Informazioni su Corvane Demo"));
    EXPECT_EQ(Text("lblTitle"), QStringLiteral("Corvane Demo"));
    EXPECT_EQ(Text("lblVersion"), QStringLiteral("Versione 1.00"));
    EXPECT_EQ(Text("lblDisclaimer"), Disclaimer);
}

} // namespace
