// The main window's life and commands over a scripted controller driver and a recording shell:
// instructions, Start and Stop, the menus, the logo double-click and the end of the program.

#include "joystick/cJoy.h"
#include "joystick/timer_module.h"
#include "keymap/Generale.h"
#include "mainwindow/MainForm.h"
#include "platform/ProgramDirectory.h"
#include "platform/WindowServices.h"
#include "support/FakeJoystickDriver.h"
#include "support/RecordingShell.h"
#include "support/TempProgramDirectory.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
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
        {"a chosen controller", {0, 1}, 0, true, 0, pad},
        {"a chosen controller that is away", {1}, 1, false, 0, pad},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        driver->scripted.clear();
        for (const uint32_t slot : c.answering) {
            driver->Answering(slot);
        }
        form->ScegliCorvane({c.chosen, QStringLiteral("Pad")});
        shell.boxes.clear();
        form->Cmd_Start_Click();
        EXPECT_EQ(driver->preferred, c.chosen);

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

    shell.answers = {platform::IDOK};
    Menu("MenuAssegna")->trigger();
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].style, platform::ShowStyle::NormalFocus);
    // The file need not exist; its path, blanks and all, is one argument.
    EXPECT_EQ(QProcess::splitCommand(shell.starts[0].commandLine),
              (QStringList{QStringLiteral("mousepad"), withBlank + QStringLiteral("/Corvane.ini")}));
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
    EXPECT_EQ(platform::OuterWidthTwips(*form), 9090);

    emula->trigger();
    EXPECT_TRUE(emula->isChecked());
    EXPECT_EQ(platform::OuterWidthTwips(*form), 13710);

    emula->trigger();
    EXPECT_FALSE(emula->isChecked());
    EXPECT_EQ(platform::OuterWidthTwips(*form), 9090);
}

TEST_F(MainFormCommandsTest, LogoDoubleClickReloadsTheMapWhileAcquisitionRuns) {
    driver->Answering(0);
    form->Cmd_Start_Click();
    ASSERT_TRUE(Running());
    dir.WriteIni("[Tasti]\n0=3 [xdg-open https://example.org]\n");

    form->Img_Logo_DblClick();

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

TEST_F(MainFormCommandsTest, AboutDisablesTheMainWindowAndShowsTheAboutWindow) {
    QWidget about;
    form->SetAboutWindow(&about);
    Menu("MenuAbout")->trigger();
    EXPECT_FALSE(form->isEnabled());
    EXPECT_TRUE(about.isVisible());
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

} // namespace
