// The key-assignment dialog over a loaded main window, a scripted pad and a real map file.

#include "assign/frmAssegna.h"
#include "joystick/cJoy.h"
#include "joystick/timer_module.h"
#include "mainwindow/MainFormFixture.h"
#include "platform/desktop/Language.h"
#include "platform/desktop/MapFile.h"
#include "support/RecordingOutputDevice.h"
#include "support/ScopedEnvironment.h"
#include "support/TopLevel.h"
#include "support/UnprivilegedUser.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <sys/resource.h>

namespace {

class AssegnaTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        form->SetAssegnaLoader([this](MainForm& main) -> std::unique_ptr<QWidget> {
            return std::make_unique<frmAssegna>(main, driver, shell, [this] {
                return platform::OpenedOutput{
                    std::make_unique<RecordingOutputDevice>(sent), platform::OutputRoute::Uinput, {}};
            });
        });
    }
    void Apri() {
        form->findChild<QAction*>(QStringLiteral("MenuAssegnaTasti"))->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the dialog closed before
        dialog = TopLevel<frmAssegna>();
        ASSERT_NE(dialog, nullptr);
    }
    QSpinBox* Codice(int i) const { return dialog->findChild<QSpinBox*>(Element("Txt_Codice", i)); }
    void Click(const QString& name) const { dialog->findChild<QPushButton*>(name)->click(); }
    QString Ini() const { return dir.path() + QStringLiteral("/Corvane.ini"); }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

    frmAssegna* dialog = nullptr;
    std::shared_ptr<std::vector<std::string>> sent = std::make_shared<std::vector<std::string>>();
};

TEST_F(AssegnaTest, AChordLearntAndACommandTypedAreSavedAndTheMainWindowUsesThem) {
    dir.WriteIni("; mia\n[Tasti]\n0=1\n2=4 [beep]\n");
    Generale::CaricaMappa();
    FakeJoystickDriver::Slot& pad = driver->Answering(0);
    pad.caps.wNumButtons = 12;
    Apri();
    frmAssegna* first = dialog;
    Apri();  // through the accessibility bus, say: the menu of a disabled window still answers
    EXPECT_EQ(dialog, first) << "one dialog, raised";
    EXPECT_FALSE(form->isEnabled()) << "the main window waits for the dialog";
    // A row whose only change is a command with a leading blank: refused, the file as it was.
    dialog->findChild<QLineEdit*>(Element("Txt_Comando", 1))->setText(QStringLiteral(" beep"));
    Click(QStringLiteral("Cmd_Salva"));
    EXPECT_EQ(shell.boxes.size(), 1U);
    EXPECT_EQ(Read(Ini()), "; mia\n[Tasti]\n0=1\n2=4 [beep]\n");
    dialog->findChild<QLineEdit*>(Element("Txt_Comando", 1))->clear();
    shell.boxes.clear();
    Click(Element("Cmd_Premi", 3));
    ASSERT_EQ(timer_module::CurrentJoyMonitor, form->Monitor()) << "acquisition off: started for the dialog";
    for (const uint32_t buttons : {0b0100U, 0b1100U, 0b1000U, 0U}) {
        pad.reading.dwButtons = buttons;
        form->Monitor()->Joystick_GetPos();
    }
    EXPECT_EQ(Codice(3)->value(), 12) << "both bits of the chord";
    EXPECT_TRUE(shell.starts.empty()) << "no command started by the buttons pressed to learn";
    dialog->findChild<QLineEdit*>(Element("Txt_Comando", 3))->setText(QStringLiteral("xterm -e top"));
    Click(QStringLiteral("Cmd_Salva"));

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(timer_module::CurrentJoyMonitor, nullptr) << "stopped again on close";
    EXPECT_EQ(Read(Ini()), "; mia\n[Tasti]\n0=1\n2=4 [beep]\n3=12 [xterm -e top]\n");
    EXPECT_TRUE(shell.boxes.empty()) << "saved where it was read";

    form->Cmd_Start_Click();
    pad.reading.dwButtons = 0b1100;
    form->Monitor()->Joystick_GetPos();
    EXPECT_EQ(Highlights(), Only({2, 3}, Generale::NumTasti));
    EXPECT_EQ(Commands(), (std::vector<QString>{QStringLiteral("beep"), QStringLiteral("xterm -e top")}));
    form->Cmd_Stop_Click();
    shell.failing << QStringLiteral("beep");  // a command that cannot start says why when tried
    Apri();
    Click(Element("Cmd_Prova", 2));
    ASSERT_EQ(shell.boxes.size(), 1U);
    EXPECT_TRUE(shell.boxes[0].text.contains(QStringLiteral("non parte")))
        << shell.boxes[0].text.toStdString();
}

// The output column: keys learnt by their codes in the order pressed, Esc and Tab too (the dialog
// neither closes nor moves on), a bad entry marked, the section merged into the file, and a trial held
// back while the dialog is in front, where a SPACE would press its own buttons.
TEST_F(AssegnaTest, AnOutputLearntFromTheKeyboardIsSavedAndTriedOnlyElsewhere) {
    dir.WriteIni("[Tasti]\n0=1\n[Uscita]\n; film\n1=SPACE\n6 = btn_left\n");
    Generale::CaricaMappa();
    Apri();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    const auto uscita = [this](int k) { return dialog->findChild<QComboBox*>(Element("Txt_Uscita", k)); };
    // xkb's codes: LEFTCTRL, C, ESC, TAB; each press is released in the order given.
    for (const auto& [riga, tasti, atteso] : std::vector<std::tuple<int, std::vector<int>, QString>>{
             {0, {37, 54, -54, -37}, QStringLiteral("LEFTCTRL+C")},
             {2, {9, -9}, QStringLiteral("ESC")},
             {3, {23, -23}, QStringLiteral("TAB")}}) {
        Click(Element("Cmd_Tastiera", riga));
        for (const int tasto : tasti) {
            QKeyEvent evento(tasto > 0 ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown, {},
                             static_cast<quint32>(std::abs(tasto)), 0, 0);
            QApplication::sendEvent(dialog->windowHandle(), &evento);  // as the window system delivers it
        }
        EXPECT_EQ(uscita(riga)->currentText(), atteso);
    }
    EXPECT_TRUE(dialog->isVisible());
    Click(Element("Cmd_Tastiera", 5));
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);  // its keys' releases go elsewhere now
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    uscita(6)->setFocus();  // in and out: btn_left stays as written, not as listed
    uscita(5)->setFocus();
    QTest::keyClicks(uscita(5)->lineEdit(), QStringLiteral("w"));  // not learnt, nor completed to WHEEL_UP
    uscita(4)->setFocus();
    uscita(4)->setEditText(QStringLiteral("ZZZ"));
    EXPECT_TRUE(dialog->findChild<QLabel*>(Element("Lab_Avviso", 4))->text().contains(QStringLiteral("ZZZ")));
    uscita(Generale::NumTasti)->setCurrentText(QStringLiteral("puntatore"));
    // wasd is a stick's, the right one's too, and not the cross's.
    const auto avviso = [this](int k) {
        return dialog->findChild<QLabel*>(Element("Lab_AvvisoUscita", k))->text();
    };
    uscita(Generale::NumTasti + 1)->setCurrentText(QStringLiteral("wasd"));
    uscita(Generale::NumTasti + 2)->setCurrentText(QStringLiteral("wasd"));
    EXPECT_TRUE(avviso(Generale::NumTasti + 1).isEmpty());
    EXPECT_FALSE(avviso(Generale::NumTasti + 2).isEmpty());
    uscita(Generale::NumTasti + 1)->setCurrentText({});
    uscita(Generale::NumTasti + 2)->setCurrentText({});
    Click(Element("Cmd_Prova", 0));
    // A window switcher takes the focus and gives it back: nothing sent into the dialog or the switcher.
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    QTest::qWait(1200);
    EXPECT_TRUE(sent->empty());
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_TRUE(QTest::qWaitFor([this] { return sent->size() == 4; }, 3000));
    QTest::qWait(300);  // and once only
    EXPECT_EQ(*sent,
              (std::vector<std::string>{"KEY_LEFTCTRL down", "KEY_C down", "KEY_C up", "KEY_LEFTCTRL up"}));
    Click(QStringLiteral("Cmd_Salva"));
    EXPECT_EQ(
        Read(Ini()),
        "[Tasti]\n0=1\n[Uscita]\n; film\n1=SPACE\n6 = btn_left\n0=LEFTCTRL+C\n2=ESC\n3=TAB\n4=ZZZ\n5=w\n"
        "LevaSinistra=puntatore\n");
}

// The dialog fits a 1024 x 768 screen in either language: at 1353 pixels "Annulla" was off a 1280 one.
TEST_F(AssegnaTest, TheDialogFitsASmallScreen) {
    for (const platform::Language language : {platform::Language::Italian, platform::Language::English}) {
        const platform::Translations translations(language);
        Apri();
        const QSize minimum = dialog->minimumSizeHint().expandedTo(dialog->minimumSize());
        EXPECT_TRUE(QRect(0, 0, 1024, 768).contains(QRect(QPoint(), minimum)));
        EXPECT_TRUE(QRect(QPoint(), dialog->screen()->availableSize()).contains(dialog->rect()));
        dialog->reject();
    }
}

// Without a map anywhere the first save starts the user's map from the commented example, as the
// editor's copy would: a bare file would leave the user without the example's help for good.
TEST_F(AssegnaTest, TheFirstMapSavedIsTheExampleWithTheEdit) {
    ScopedEnvironment environment;
    environment.Set("XDG_DATA_HOME", dir.path() + QStringLiteral("/data"));
    QDir().mkpath(dir.path() + QStringLiteral("/data/corvane"));
    QFile example(dir.path() + QStringLiteral("/data/corvane/Corvane.ini"));
    ASSERT_TRUE(example.open(QIODevice::WriteOnly) &&
                example.write("; esempio\n[Tasti]\n0=1\n[X]\n0=0\n") > 0);
    example.close();
    Generale::CaricaMappa();
    Apri();
    auto* premi = dialog->findChild<QPushButton*>(Element("Cmd_Premi", 0));
    EXPECT_FALSE(premi->isEnabled());
    driver->changeListener(0, platform::JOYERR_NOERROR,
                           driver->Answering(0).reading);  // plugged in meanwhile
    EXPECT_TRUE(QTest::qWaitFor([premi] { return premi->isEnabled(); }, 2000));
    Codice(0)->setValue(7);
    Click(QStringLiteral("Cmd_Salva"));
    EXPECT_EQ(Read(dir.path() + QStringLiteral("/config/corvane/Corvane.ini")),
              "; esempio\n[Tasti]\n0=7\n[X]\n0=0\n");
    EXPECT_EQ(Generale::CodiceTasto[0], 7) << "the main window uses the map saved";
}

// Each row changes button 0's code from 1 to 7 and saves, as nobody on a tree nobody owns: as root a
// read-only folder would take the write. A change to the file before the dialog opened or while it
// showed stays, and only one of button 0 asks.
TEST_F(AssegnaTest, ABadDayLosesNothing) {
    const QByteArray before = "[Tasti]\r\n0=1\r\n";
    const rlim_t unlimited = RLIM_INFINITY;
    const struct {
        const char* what;
        bool readOnlyFolder, link;
        rlim_t fileSizeLimit;
        const char* meanwhile;  // the file as changed after the dialog read it
        const char* answer;     // to the question that raises, or null when none may
        QByteArray expected;
        bool saved, errorBox;
        const char* unloaded = nullptr;       // the file as changed before the dialog opened, not loaded
        const char* underQuestion = nullptr;  // the file as changed again while the question is open
        bool switched = false;                // another map made the one in use while the dialog showed
        bool gone = false;                    // the file removed while the dialog showed
    } faults[] = {
        {"read-only folder", true, false, unlimited, nullptr, nullptr, before, false, true},
        {"full disk", false, false, 8, nullptr, nullptr, before, false, true},
        {"symbolic link: target written", false, true, unlimited, nullptr, nullptr, "[Tasti]\r\n0=7\r\n",
         true, false},
        {"changed: Annulla", false, false, unlimited, "[Tasti]\n0=2\n", "Annulla", "[Tasti]\n0=2\n", false,
         false},
        {"changed: Ricarica", false, false, unlimited, "[Tasti]\n0=2\n", "Ricarica", "[Tasti]\n0=2\n", false,
         false},
        {"changed: Sovrascrivi, button 1 back to the dialog's, button 13 under the question", false, false,
         unlimited, "[Tasti]\n0=2\n1=5\nj=x\n", "Sovrascrivi", "[Tasti]\n0=7\n1=5\nj=x\n13=9\n", true, false,
         nullptr, "[Tasti]\n0=2\n1=5\nj=x\n13=9\n"},
        {"saved into another map switched to meanwhile", false, false, unlimited, nullptr, nullptr,
         "[Tasti]\r\n0=7\r\n", true, true, nullptr, nullptr, true},
        {"the same value saved by another program: no question", false, false, unlimited,
         "[Tasti]\r\n0 = 07\r\n", nullptr, "[Tasti]\r\n0 = 07\r\n", true, false},
        {"another program's button 1 put back to the dialog's", false, false, unlimited,
         "[Tasti]\r\n0=1\r\n1=5\r\n", nullptr, "[Tasti]\r\n0=7\r\n1=5\r\n", true, false},
        {"a hand edit not loaded written over", false, false, unlimited, nullptr, nullptr,
         "[Tasti]\r\n0=7\r\n1=5\r\n", true, false, "[Tasti]\r\n0=1\r\n1=5\r\n"},
        {"gone meanwhile: Sovrascrivi writes what the dialog showed", false, false, unlimited, nullptr,
         "Sovrascrivi", "[Tasti]\n0=7\n1=5\n", true, false, "[Tasti]\r\n0=1\r\n1=5\r\n", nullptr, false,
         true},
    };
    for (const auto& f : faults) {
        SCOPED_TRACE(f.what);
        QFile::remove(Ini());  // not written through the link of a row before
        dir.WriteIni(before);
        const QString target = f.link ? dir.path() + QStringLiteral("/vera.ini") : Ini();
        ASSERT_TRUE(!f.link || (QFile::rename(Ini(), target) && QFile::link(target, Ini())));
        Generale::CaricaMappa();
        if (f.unloaded) {
            dir.WriteIni(f.unloaded);
        }
        shell.boxes.clear();
        const UnprivilegedUser nobody(dir.path());
        Apri();
        EXPECT_EQ(Codice(1)->value(), f.unloaded ? 5 : 2) << "the file as it is";
        EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("Lab_Mappa"))->isVisibleTo(dialog),
                  f.unloaded != nullptr)
            << "says when the main window uses another map";
        Codice(0)->setValue(7);
        if (f.readOnlyFolder) {
            ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        }
        bool asked = false;
        if (f.gone) {
            ASSERT_TRUE(QFile::remove(Ini()));
        }
        if (f.meanwhile || f.gone) {
            if (f.meanwhile) {
                dir.WriteIni(f.meanwhile);
            }
            QTimer::singleShot(0, [this, &f, &asked] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                asked = box != nullptr;
                if (asked) {
                    // The menu asked again under the question: it once destroyed the dialog beneath it.
                    form->findChild<QAction*>(QStringLiteral("MenuAssegnaTasti"))->trigger();
                }
                if (asked && f.underQuestion) {
                    dir.WriteIni(f.underQuestion);
                }
                for (QAbstractButton* button : asked ? box->buttons() : QList<QAbstractButton*>()) {
                    if (button->text() == QLatin1String(f.answer) || f.answer == nullptr) {
                        button->click();
                    }
                }
            });
        }
        if (f.switched) {
            platform::SetMapFile(dir.path() + QStringLiteral("/altra.ini"));
        }
        const rlimit limit{f.fileSizeLimit, unlimited}, none{unlimited, unlimited};
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        Click(QStringLiteral("Cmd_Salva"));
        QCoreApplication::processEvents();
        EXPECT_EQ(asked, f.answer != nullptr);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        EXPECT_EQ(Read(target), f.expected);
        EXPECT_EQ(QFileInfo(Ini()).isSymLink(), f.link);
        EXPECT_EQ(dialog->isVisible(), !f.saved);
        EXPECT_EQ(Codice(0)->value(), QLatin1String(f.answer) == u"Ricarica" ? 2 : 7) << "edits kept";
        ASSERT_EQ(shell.boxes.size(), f.errorBox ? 1U : 0U);
        EXPECT_TRUE(!f.errorBox || shell.boxes[0].text.contains(Ini())) << shell.boxes[0].text.toStdString();
        EXPECT_TRUE(!f.switched ||
                    shell.boxes[0].text.contains(form->Profili().Describe()))  // not an empty name
            << shell.boxes[0].text.toStdString();
        platform::SetMapFile({});
        dialog->reject();
    }
}

}  // namespace
