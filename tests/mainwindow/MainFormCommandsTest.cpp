// The main window's life and commands over a scripted controller driver and a recording shell:
// instructions, Start and Stop, the menus, the logo double-click and the end of the program.

#include "joystick/cJoy.h"
#include "joystick/timer_module.h"
#include "keymap/Generale.h"
#include "mainwindow/MainForm.h"
#include "platform/desktop/DesktopPrograms.h"
#include "platform/ProgramDirectory.h"
#include "platform/WindowServices.h"
#include "support/FakeJoystickDriver.h"
#include "support/RecordingShell.h"
#include "support/TempProgramDirectory.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t Avviso = platform::MB_ICONINFORMATION | platform::MB_SETFOREGROUND;
constexpr uint32_t Errore = platform::MB_ICONERROR | platform::MB_SETFOREGROUND;
const QString Titolo = QStringLiteral("Corvane (DEMO)");

class MainFormCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        Generale::MostraIstruzioni = false;
        form = std::make_unique<MainForm>(driver, shell);
    }

    void TearDown() override {
        if (timer_module::CurrentJoyMonitor) {
            timer_module::CurrentJoyMonitor->End_JoyMonitor();
        }
    }

    QPushButton* Button(const char* name) const {
        return form->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QAction* Menu(const char* name) const { return form->findChild<QAction*>(QString::fromLatin1(name)); }
    bool Running() const { return timer_module::CurrentJoyMonitor != nullptr; }

    TempProgramDirectory dir;
    std::shared_ptr<FakeJoystickDriver> driver = std::make_shared<FakeJoystickDriver>();
    RecordingShell shell;
    std::unique_ptr<MainForm> form;
};

TEST_F(MainFormCommandsTest, InstructionsShowOnceAfterTheSplashOnly) {
    form->Form_Activate();
    EXPECT_TRUE(shell.boxes.empty()) << "no instructions without the splash's request";

    Generale::MostraIstruzioni = true;
    // The box's own closing activates the window again: that activation must show nothing.
    shell.onBox = [this] { form->Form_Activate(); };
    form->Form_Activate();
    form->Form_Activate();

    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text,
              QStringLiteral("Come usare il programma:\r"
                             "  -1-  Collegare il Corvane alla porta USB del computer.\r"
                             "  -2-  Premere < Start > per iniziare l'acquisizione dei dati.\r"
                             "  -3-  Muovere i comandi del corvane ed osservarne gli effetti."));
    EXPECT_EQ(shell.boxes[0].flags, Avviso);
    EXPECT_EQ(shell.boxes[0].title, Titolo);
    EXPECT_FALSE(Generale::MostraIstruzioni);
}

TEST_F(MainFormCommandsTest, StartChoosesControllerZeroThenOne) {
    struct Case {
        const char* name;
        std::vector<uint32_t> answering;
        size_t errorBoxes;
        bool stopEnabled;
        uint32_t polledSlot;
        QString chosen;  // GUID of a chosen controller, which the driver then reads in slot 0
    };
    const QString pad = QStringLiteral("030000005e0400008e02000014010000");
    const Case cases[] = {
        {"no controller", {}, 2, false, 1, {}},
        {"controller 0", {0}, 0, true, 0, {}},
        {"controllers 0 and 1", {0, 1}, 0, true, 0, {}},
        {"only controller 1", {1}, 1, true, 1, {}},
        // Stop is enabled from the run before: Start's first step disables it.
        {"no controller after a run", {}, 2, false, 1, {}},
        {"a chosen controller", {0, 1}, 0, true, 0, pad},
        {"a chosen controller that is away", {1}, 1, false, 0, pad},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        driver->scripted.clear();
        for (const uint32_t slot : c.answering) {
            driver->Answering(slot);
        }
        // A chosen pad's port reaches the driver too, or of two pads of its model the wrong one is read.
        const QString port = c.chosen.isEmpty() ? QString() : QStringLiteral("usb-0000:00:14.0-2/input0");
        form->ScegliCorvane({c.chosen, QStringLiteral("Pad"), port});
        EXPECT_FALSE(Running()) << "choosing while stopped started reading";
        shell.boxes.clear();
        form->Cmd_Start_Click();
        EXPECT_EQ(driver->preferred, c.chosen);
        EXPECT_EQ(driver->preferredPort, port);

        ASSERT_EQ(shell.boxes.size(), c.errorBoxes);
        for (const RecordedBox& box : shell.boxes) {
            EXPECT_EQ(box.text, QStringLiteral("Joystick Unplugged"));
            EXPECT_EQ(box.flags, Errore);
            EXPECT_EQ(box.title, Titolo);
        }
        EXPECT_EQ(Button("Cmd_Stop")->isEnabled(), c.stopEnabled);
        EXPECT_TRUE(Button("Cmd_Start")->isEnabled());
        EXPECT_EQ(Running(), c.stopEnabled);
        EXPECT_EQ(driver->lastReadSlot, c.polledSlot);
        form->Cmd_Stop_Click();
    }
    form->ScegliCorvane({});
}

TEST_F(MainFormCommandsTest, AChoiceThatCannotBeSavedIsToldInABox) {
    ASSERT_TRUE(QDir().mkpath(platform::UserSettingsFile()));  // a folder in the file's place
    form->ScegliCorvane({QStringLiteral("030000005e0400008e02000014010000"), QStringLiteral("Pad"), {}});
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_TRUE(shell.boxes[0].text.contains(platform::UserSettingsFile())) << shell.boxes[0].text.toStdString();
    EXPECT_EQ(shell.boxes[0].flags, Errore);
}

TEST_F(MainFormCommandsTest, AWindowDestroyedWithoutTheEventLoopsEndStillEndsAcquisition) {
    driver->Answering(0);
    form->Cmd_Start_Click();
    ASSERT_TRUE(Running());
    form.reset();
    EXPECT_FALSE(Running());
}

TEST_F(MainFormCommandsTest, StopTwiceLeavesBothButtonsEnabledAndTheMonitorIdle) {
    driver->Answering(0);
    Button("Cmd_Start")->click();
    ASSERT_TRUE(Running());

    Button("Cmd_Stop")->click();
    Button("Cmd_Stop")->click();

    EXPECT_FALSE(Running());
    EXPECT_TRUE(Button("Cmd_Start")->isEnabled());
    EXPECT_TRUE(Button("Cmd_Stop")->isEnabled());
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(MainFormCommandsTest, ControllerCountMessages) {
    struct Case {
        int answering;
        const char* text;
    };
    const Case cases[] = {
        {0, "Nessun corvane è stato rilevato."},
        {1, "E' stato rilevato 1 corvane."},
        {3, "Sono stati rilevati 3 corvane."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        driver->scripted.clear();
        for (int slot = 0; slot < c.answering; ++slot) {
            driver->Answering(uint32_t(slot * 5));  // anywhere among the 16 slots
        }
        shell.boxes.clear();
        Menu("MenuNumeroPad")->trigger();
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_EQ(shell.boxes[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(shell.boxes[0].flags, Avviso);
        EXPECT_EQ(shell.boxes[0].title, Titolo);
    }

    shell.boxes.clear();
    form->cJoy_JoyNumbers(-1);
    form->cJoy_JoyNumbers(12);
    ASSERT_EQ(shell.boxes.size(), 1u) << "a negative count shows nothing";
    EXPECT_EQ(shell.boxes[0].text, QStringLiteral("Sono stati rilevati 12 corvane."));
}

TEST_F(MainFormCommandsTest, MapInstructionsOpenTheEditorOnlyOnOk) {
    const QString withBlank = QDir(dir.path()).filePath(QStringLiteral("cartella con spazi"));
    ASSERT_TRUE(QDir().mkpath(withBlank));
    platform::SetProgramDirectory(withBlank);
    shell.installed = {QStringLiteral("mousepad")};

    shell.answers = {platform::IDCANCEL};
    Menu("MenuAssegna")->trigger();
    EXPECT_TRUE(shell.starts.empty());
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].flags, Avviso | platform::MB_OKCANCEL);
    EXPECT_EQ(shell.boxes[0].title, Titolo);
    EXPECT_EQ(shell.boxes[0].text,
              QStringLiteral("Modifica della codifica dei tasti/assi:\r"
                             "\r"
                             "Questo programma supporta la maggior parte dei Corvane/Joystick in commercio.\r"
                             "Per codificare una nuova periferica aprire il file Corvane.ini, assegnare ai "
                             "tasti i codici\r"
                             "letti nel programma quindi (dopo aver salvato i dati nel file Corvane.ini) "
                             "eseguire un\r"
                             "doppio click sul simbolo posto al centro dell'immagine del corvane per caricare "
                             "la nuova\r"
                             "mappa dei tasti/assi.\r"
                             "\r"
                             "Premere OK per editare il file Corvane.ini"));

    // The map that is read, beside the program here; its path, blanks and all, is one argument.
    const QString beside = withBlank + QStringLiteral("/Corvane.ini");
    QFile map(beside);
    ASSERT_TRUE(map.open(QIODevice::WriteOnly));
    map.close();
    shell.answers = {platform::IDOK};
    Menu("MenuAssegna")->trigger();
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].style, platform::ShowStyle::NormalFocus);
    EXPECT_EQ(QProcess::splitCommand(shell.starts[0].commandLine),
              (QStringList{QStringLiteral("mousepad"), beside}));
}

TEST_F(MainFormCommandsTest, MapInstructionsWithoutAnyMapOrEditorNameTheUsersFile) {
    shell.answers = {platform::IDOK};
    Menu("MenuAssegna")->trigger();

    const QString user = dir.path() + QStringLiteral("/config/corvane/Corvane.ini");
    EXPECT_TRUE(QFileInfo(user).dir().exists()) << "the folder is made, for the user to save into";
    EXPECT_TRUE(shell.starts.empty());
    ASSERT_EQ(shell.boxes.size(), 2u);
    EXPECT_EQ(shell.boxes[1].text, platform::MapEditorMissingText(user));
    EXPECT_EQ(shell.boxes[1].flags, Avviso);
    EXPECT_EQ(shell.boxes[1].title, Titolo);
}

TEST_F(MainFormCommandsTest, GameControllerSettingsStartOrSayWhatToInstall) {
    Menu("MenuPGioco")->trigger();
    EXPECT_TRUE(shell.starts.empty());
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_TRUE(shell.boxes[0].text.contains(QStringLiteral("jstest-gtk")));
    EXPECT_EQ(shell.boxes[0].flags, Avviso);

    shell.installed = {QStringLiteral("jstest-gtk")};
    Menu("MenuPGioco")->trigger();
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].commandLine, QStringLiteral("jstest-gtk"));
    EXPECT_EQ(shell.starts[0].style, platform::ShowStyle::MinimizedFocus);
    EXPECT_EQ(shell.boxes.size(), 1u);
}

TEST_F(MainFormCommandsTest, EmulationMenuTogglesTheCheckMarkAndTheWidth) {
    QAction* emula = Menu("MenuEmula");
    EXPECT_FALSE(emula->isVisible());
    Generale::MostraEmulazione = true;  // as the command line's --emulation sets it
    MainForm emulating(driver, shell);
    Generale::MostraEmulazione = false;
    EXPECT_TRUE(emulating.findChild<QAction*>(QStringLiteral("MenuEmula"))->isVisible());
    EXPECT_EQ(platform::OuterWidthTwips(emulating), 9090) << "shown only on request";
    EXPECT_EQ(platform::OuterWidthTwips(*form), 9090);

    form->show();
    form->move(form->screen()->availableGeometry().topRight() - QPoint(form->frameGeometry().width(), 0));
    emula->trigger();
    EXPECT_TRUE(emula->isChecked());
    EXPECT_EQ(platform::OuterWidthTwips(*form), 13710);
    // The panel on the screen; on one narrower than the window, the window at its left edge.
    const QRect screen = form->screen()->availableGeometry();
    EXPECT_TRUE(form->frameGeometry().right() <= screen.right() || form->frameGeometry().left() == screen.left())
        << form->frameGeometry().left();

    emula->trigger();
    EXPECT_FALSE(emula->isChecked());
    EXPECT_EQ(platform::OuterWidthTwips(*form), 9090);
}

TEST_F(MainFormCommandsTest, LogoDoubleClickReloadsTheMapWhileAcquisitionRuns) {
    driver->Answering(0);
    form->Cmd_Start_Click();
    ASSERT_TRUE(Running());
    dir.WriteIni("[Tasti]\n0=3 [xdg-open https://example.org]\n");
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QWidget* logo = form->findChild<QWidget*>(QStringLiteral("Img_Logo"));

    // Through the window, as the user does: whatever lies over the logo lets the clicks through.
    QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, logo->mapTo(form.get(), logo->rect().center()));

    EXPECT_EQ(Generale::CodiceTasto[0], 3);
    EXPECT_EQ(Generale::ComandoTasto[0], QStringLiteral("xdg-open https://example.org"));
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, QStringLiteral("Mappa dei tasti/assi caricata"));
    EXPECT_EQ(shell.boxes[0].flags, Avviso);
    EXPECT_TRUE(Running()) << "acquisition goes on";

    dir.WriteIni("");
    form->Img_Logo_DblClick();
    EXPECT_EQ(Generale::CodiceTasto[0], 1);
    EXPECT_TRUE(Generale::ComandoTasto[0].isEmpty());
}

TEST_F(MainFormCommandsTest, AboutIsLoadedAtItsFirstShowingAndOnlyThen) {
    Menu("MenuAbout")->trigger();
    EXPECT_TRUE(form->isEnabled()) << "no About window to show: nothing happens";

    int loads = 0;
    form->SetAboutLoader([&loads](MainForm&) {
        ++loads;
        return std::make_unique<QWidget>();
    });
    EXPECT_EQ(loads, 0);
    Menu("MenuAbout")->trigger();
    ASSERT_EQ(loads, 1);
    EXPECT_FALSE(form->isEnabled());
    EXPECT_TRUE(form->AboutWindow()->isVisible());

    form->AboutWindow()->hide();
    form->setEnabled(true);
    Menu("MenuAbout")->trigger();
    EXPECT_EQ(loads, 1) << "loaded once, kept";
    EXPECT_TRUE(form->AboutWindow()->isVisible());
}

TEST_F(MainFormCommandsTest, ClosingRefusesTheCloseAndEndsThroughFineProgramma) {
    driver->Answering(0);
    form->Cmd_Start_Click();
    const std::weak_ptr<cJoy> monitor = form->Monitor();
    ASSERT_TRUE(Running());

    QCloseEvent close;
    QCoreApplication::sendEvent(form.get(), &close);

    EXPECT_FALSE(close.isAccepted());
    EXPECT_FALSE(Running());
    EXPECT_EQ(form->Monitor(), nullptr);
    EXPECT_TRUE(monitor.expired()) << "the monitor is released, its teardown has run";
    EXPECT_TRUE(shell.boxes.empty()) << "no prompt";

    Menu("MenuFine")->trigger();  // a second end request finds nothing left to stop
    EXPECT_EQ(form->Monitor(), nullptr);
}

// Window events already queued when the program ends still arrive, with no monitor left.
TEST_F(MainFormCommandsTest, CommandsAfterTheEndFindNoMonitorAndDoNothing) {
    driver->Answering(0);
    form->Cmd_Start_Click();
    Menu("MenuFine")->trigger();
    ASSERT_EQ(form->Monitor(), nullptr);
    const int reads = driver->reads;

    Button("Cmd_Start")->click();
    Button("Cmd_Stop")->click();
    Menu("MenuNumeroPad")->trigger();

    EXPECT_EQ(driver->reads, reads);
    EXPECT_FALSE(Running());
    EXPECT_TRUE(shell.boxes.empty());
}

// "Fine Programma" from inside a box of Start or of the count (the tray, a later launch's --quit): the
// monitor's call that shows the box must not lose its instance under it (a use after free under ASan),
// and nothing is started afterwards.
TEST_F(MainFormCommandsTest, TheEndFromInsideABoxOfStartOrTheCount) {
    for (const char* command : {"Cmd_Start", "MenuNumeroPad"}) {
        SCOPED_TRACE(command);
        form = std::make_unique<MainForm>(driver, shell);
        shell.onBox = [this] { Menu("MenuFine")->trigger(); };
        command == std::string("Cmd_Start") ? Button(command)->click() : Menu(command)->trigger();
        EXPECT_EQ(form->Monitor(), nullptr);
        EXPECT_FALSE(Running());
        shell.onBox = nullptr;
    }
}

} // namespace
