// The profile menu through the main window's own handlers: the entries switch, the window tells it
// without a box, a press then runs the new profile's command, and the key dialog edits that file.

#include "ProfileFixture.h"

#include "assign/frmAssegna.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/ProfileMenu.h"
#include "support/FakeJoystickDriver.h"
#include "support/RecordingShell.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

class ProfileMenuTest : public ProfileTest {
protected:
    QAction* Entry(const QString& text) {
        form->ElencaProfili();
        for (QAction* action : form->findChild<QMenu*>(QStringLiteral("MenuProfilo"))->actions()) {
            if (action->text() == text) {
                return action;
            }
        }
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    QString Line() const { return form->findChild<QLabel*>(QStringLiteral("Lab_Profilo"))->text(); }

    std::shared_ptr<FakeJoystickDriver> driver = std::make_shared<FakeJoystickDriver>();
    RecordingShell shell;
    std::unique_ptr<MainForm> form = std::make_unique<MainForm>(driver, shell);
};

TEST_F(ProfileMenuTest, AnEntrySwitchesAndTheNextPressRunsThatProfilesCommand) {
    Write(QStringLiteral("Film.ini"), "1 [mpv]");
    Entry(QStringLiteral("Film"))->trigger();
    EXPECT_EQ(Line(), QStringLiteral("Profilo Film"));
    EXPECT_TRUE(Entry(QStringLiteral("Film"))->isChecked());
    form->Cmd_tasto_MouseDown(0, 1, 0, 0, 0);
    ASSERT_EQ(shell.starts.size(), 1U);
    EXPECT_EQ(shell.starts[0].commandLine, QStringLiteral("mpv"));
    EXPECT_TRUE(shell.boxes.empty());  // no box for a switch
    const frmAssegna dialog(*form, driver, shell);
    EXPECT_TRUE(dialog.windowTitle().contains(QStringLiteral("Film")));
    EXPECT_EQ(platform::MapSaveTarget().path, ProfileSet::PathOf(QStringLiteral("Film")));
    form->Profili().Switch({});  // while the dialog is open: its changes are Film's, not the default's
    dialog.findChild<QPushButton*>(QStringLiteral("Cmd_Salva"))->click();
    ASSERT_EQ(shell.boxes.size(), 1U);
    EXPECT_FALSE(QFile::exists(platform::UserMapPath()));  // nothing written where the default goes
}

// A typed name that is refused says why and asks again; a trash asks first.
TEST_F(ProfileMenuTest, NewProfileAsksUntilANameIsGoodAndTrashAsksFirst) {
    QStringList typed{QStringLiteral("a/b"), QStringLiteral("Gioco")};
    std::function<void()> type = [&] {
        if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            dialog->setTextValue(typed.takeFirst());
            dialog->accept();
        }
        if (!typed.isEmpty()) {
            QTimer::singleShot(10, type);
        }
    };
    QTimer::singleShot(10, type);
    Entry(QStringLiteral("Nuovo profilo…"))->trigger();
    ASSERT_EQ(shell.boxes.size(), 1U);
    EXPECT_TRUE(shell.boxes[0].text.contains(u'/'));
    EXPECT_EQ(form->Profili().Active(), QStringLiteral("Gioco"));
    shell.answers = {platform::IDOK + 1, platform::IDOK};
    Entry(QStringLiteral("Elimina profilo…"))->trigger();
    EXPECT_EQ(form->Profili().Active(), QStringLiteral("Gioco"));  // cancelled
    Entry(QStringLiteral("Elimina profilo…"))->trigger();
    EXPECT_EQ(form->Profili().Active(), QString());
    EXPECT_FALSE(QFile::exists(ProfileSet::PathOf(QStringLiteral("Gioco"))));
}

// A thousand profiles: the menu lists the first ones, the rest behind "Altri…".
TEST_F(ProfileMenuTest, AThousandProfilesKeepTheMenuShort) {
    for (int i = 0; i < 1000; ++i) {
        Write(QStringLiteral("p%1.ini").arg(i, 4, 10, QChar(u'0')), "1");
    }
    ASSERT_NE(Entry(QStringLiteral("Altri…")), nullptr);
    EXPECT_LT(form->findChild<QMenu*>(QStringLiteral("MenuProfilo"))->actions().size(), ProfiliNelMenu + 8);
}

// The chord of each profile's own file: it switches as it forms, round to the default after the last,
// and the buttons it covers start nothing while it is held; one that goes down before it formed does.
TEST_F(ProfileMenuTest, TheChordSwitchesToTheNextProfileWithoutStartingItsButtons) {
    dir.WriteIni("[Tasti]\n0=1 [prima]\n1=2 [coperto]\n[Profili]\nSuccessivo= +3 [ignorato]\n");
    Write(QStringLiteral("Film.ini"), "1 [coperto]\n2=4 [film]\n[Profili]\nSuccessivo=003");
    Generale::CaricaMappa();
    for (const int32_t buttons : {1, 3, 0, 4, 0, 3, 0}) {
        form->cJoy_JoyButton(buttons);
    }
    std::vector<QString> started;
    for (const RecordedStart& start : shell.starts) {
        started.push_back(start.commandLine);
    }
    EXPECT_EQ(started, std::vector<QString>({u"prima"_qs, u"film"_qs}));
    EXPECT_EQ(form->Profili().Active(), QString());  // Film, then round to the default
    const struct {
        QByteArray file;
        int32_t chord;
    } rows[] = {{"[Profili]\nSuccessivo=x3\n", 0},
                {"[Profili]\nSuccessivo=\n", 0},
                {"[profili]\nsuccessivo=-2\n", -2}};
    for (const auto& row : rows) {
        EXPECT_EQ(Generale::LeggiSuccessivo(row.file), row.chord)
            << row.file.toStdString();  // no chord, not 0's
    }
}
