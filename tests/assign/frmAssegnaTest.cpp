// The key-assignment dialog over a loaded main window, a scripted pad and a real map file.

#include "assign/frmAssegna.h"
#include "joystick/cJoy.h"
#include "joystick/timer_module.h"
#include "mainwindow/MainFormFixture.h"
#include "support/UnprivilegedUser.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

namespace {

class AssegnaTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        form->SetAssegnaLoader([this](MainForm& main) -> std::unique_ptr<QWidget> {
            return std::make_unique<frmAssegna>(main, driver, shell);
        });
    }

    frmAssegna* Apri() {
        form->findChild<QAction*>(QStringLiteral("MenuAssegnaTasti"))->trigger();
        return form->findChild<frmAssegna*>(QStringLiteral("frmAssegna"));
    }
    template<typename T>
    T* In(const frmAssegna* dialog, const QString& name) const {
        T* control = dialog->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    QString Ini() const { return dir.path() + QStringLiteral("/Corvane.ini"); }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }
    // Answers the next question box with the button of that text.
    static void Answer(const QString& text) {
        QTimer::singleShot(0, [text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                for (QAbstractButton* button : box->buttons()) {
                    if (button->text() == text) {
                        button->click();
                    }
                }
            }
        });
    }
};

TEST_F(AssegnaTest, AChordLearntAndACommandTypedAreSavedAndTheMainWindowUsesThem) {
    dir.WriteIni("; mia\n[Tasti]\n0=1\n");
    FakeJoystickDriver::Slot& pad = driver->Answering(0);
    pad.caps.wNumButtons = 12;
    frmAssegna* dialog = Apri();
    ASSERT_NE(dialog, nullptr);
    In<QPushButton>(dialog, QStringLiteral("Cmd_Premi(3)"))->click();
    ASSERT_EQ(timer_module::CurrentJoyMonitor, form->Monitor()) << "acquisition off: started for the dialog";
    for (const uint32_t buttons : {0b0100U, 0b1100U, 0b1000U, 0U}) {
        pad.reading.dwButtons = buttons;
        form->Monitor()->Joystick_GetPos();
    }
    EXPECT_EQ(In<QSpinBox>(dialog, QStringLiteral("Txt_Codice(3)"))->value(), 12) << "both bits of the chord";
    In<QLineEdit>(dialog, QStringLiteral("Txt_Comando(3)"))->setText(QStringLiteral("xterm -e top"));
    In<QPushButton>(dialog, QStringLiteral("Cmd_Salva"))->click();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(timer_module::CurrentJoyMonitor, nullptr) << "stopped again on close";
    EXPECT_EQ(Read(Ini()), "; mia\n[Tasti]\n0=1\n3=12 [xterm -e top]\n");
    EXPECT_TRUE(shell.boxes.empty()) << "the file read was the file saved";

    form->Cmd_Start_Click();
    pad.reading.dwButtons = 0b1100;
    form->Monitor()->Joystick_GetPos();
    EXPECT_EQ(Highlights(), Only({2, 3}, Generale::NumTasti));
    EXPECT_EQ(Commands(), std::vector<QString>{QStringLiteral("xterm -e top")});
    form->Cmd_Stop_Click();
}

// A write that would fail lets it fail where it can: in a file tree nobody owns, as nobody.
TEST_F(AssegnaTest, ABadDayLosesNothing) {
    const QByteArray before = "[Tasti]\r\n0=1\r\n";
    const QByteArray after = "[Tasti]\r\n0=7\r\n";
    const struct {
        const char* what;
        bool readOnlyFolder = false;
        rlim_t fileSizeLimit = RLIM_INFINITY;
        bool link = false;
        const char* changedMeanwhile = nullptr;
        const char* answer = nullptr;  // to the question "changed on disk"
        QByteArray expected;           // the file at the end
        bool saved = false;            // the dialog closed
        bool errorBox = false;         // a box named the file and the reason
    } faults[] = {
        {"read-only folder", true, RLIM_INFINITY, false, nullptr, nullptr, before, false, true},
        {"full disk", false, 8, false, nullptr, nullptr, before, false, true},
        {"symbolic link: its target written", false, RLIM_INFINITY, true, nullptr, nullptr, after, true, false},
        {"changed meanwhile, Annulla", false, RLIM_INFINITY, false, "[Tasti]\r\n0=2\r\n", "Annulla",
         "[Tasti]\r\n0=2\r\n", false, false},
        {"changed meanwhile, Ricarica", false, RLIM_INFINITY, false, "[Tasti]\r\n0=2\r\n", "Ricarica",
         "[Tasti]\r\n0=2\r\n", false, false},
        {"changed meanwhile, Sovrascrivi", false, RLIM_INFINITY, false, "[Tasti]\r\n0=2\r\nj=x\r\n", "Sovrascrivi",
         "[Tasti]\r\n0=7\r\nj=x\r\n", true, false},
    };
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead
    for (const auto& f : faults) {
        SCOPED_TRACE(f.what);
        QFile::remove(Ini());
        const QString target = f.link ? dir.path() + QStringLiteral("/vera.ini") : Ini();
        {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        }
        if (f.link) {
            ASSERT_TRUE(QFile::link(target, Ini()));
        }
        Generale::CaricaMappa();
        shell.boxes.clear();
        const UnprivilegedUser nobody(dir.path());
        frmAssegna* dialog = Apri();
        ASSERT_NE(dialog, nullptr);
        In<QSpinBox>(dialog, QStringLiteral("Txt_Codice(0)"))->setValue(7);
        if (f.readOnlyFolder) {
            ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        }
        if (f.changedMeanwhile) {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(f.changedMeanwhile) > 0);
            Answer(QString::fromUtf8(f.answer));
        }
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}, limit{f.fileSizeLimit, RLIM_INFINITY};
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        In<QPushButton>(dialog, QStringLiteral("Cmd_Salva"))->click();
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &unlimited), 0);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        EXPECT_EQ(Read(target), f.expected);
        EXPECT_EQ(QFileInfo(Ini()).isSymLink(), f.link);
        EXPECT_EQ(dialog->isVisible(), !f.saved);
        EXPECT_EQ(In<QSpinBox>(dialog, QStringLiteral("Txt_Codice(0)"))->value(), QLatin1String(f.answer) == u"Ricarica" ? 2 : 7)
            << "edits kept while the dialog stays";
        ASSERT_EQ(shell.boxes.size(), f.errorBox ? 1U : 0U);
        if (f.errorBox) {
            EXPECT_TRUE(shell.boxes[0].text.contains(Ini())) << shell.boxes[0].text.toStdString();
        }
        dialog->reject();
    }
}

} // namespace
