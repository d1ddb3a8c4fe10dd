#include "platform/QtShell.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

using platform::IDCANCEL;
using platform::IDOK;

struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* parent = nullptr;
};

// Waits inside the box's modal loop for the box, records it, then lets `answer` close it.
void WhenBoxOpens(SeenBox& seen, std::function<void(QMessageBox*)> answer) {
    QTimer::singleShot(0, [&seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            WhenBoxOpens(seen, answer);
            return;
        }
        seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons(), box->parentWidget()};
        answer(box);
    });
}

void Click(QMessageBox* box, QMessageBox::StandardButton button) {
    box->button(button)->click();
}

struct BoxCase {
    const char* name;
    QString text;
    uint32_t flags;
    QString shownText;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton pressed;
    int answer;
};

TEST(QtShellMsgBox, ShowsTextTitleIconAndButtonsAndTellsOkFromCancel) {
    const std::vector<BoxCase> cases{
        {"information, OK",
         QStringLiteral("Come usare il programma:\r  -1-  Collegare\r  -2-  Premere < Start >"), 0x10040,
         QStringLiteral("Come usare il programma:\n  -1-  Collegare\n  -2-  Premere < Start >"),
         QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok, IDOK},
        {"OK and Cancel, answered OK", QStringLiteral("uno\r\rtre"), 0x10041, QStringLiteral("uno\n\ntre"),
         QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, IDOK},
        {"OK and Cancel, answered Cancel", QStringLiteral("uno"), 0x10041, QStringLiteral("uno"),
         QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, IDCANCEL},
        {"error icon, a carriage return and line feed is one break",
         QStringLiteral("cJoy.Start_JoyMonitor\r\n<b>non valido</b>"), 0x10010,
         QStringLiteral("cJoy.Start_JoyMonitor\n<b>non valido</b>"), QMessageBox::Critical, QMessageBox::Ok,
         QMessageBox::Ok, IDOK},
        {"no icon flag", QStringLiteral("x"), 0x0, QStringLiteral("x"), QMessageBox::NoIcon, QMessageBox::Ok,
         QMessageBox::Ok, IDOK},
    };
    QWidget owner;
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        SeenBox seen;
        const QMessageBox::StandardButton pressed = c.pressed;
        WhenBoxOpens(seen, [pressed](QMessageBox* box) { Click(box, pressed); });
        platform::QtShell shell;
        EXPECT_EQ(shell.MsgBox(&owner, c.text, c.flags, QStringLiteral("Corvane Demo")), c.answer);
        EXPECT_EQ(seen.text, c.shownText);
        EXPECT_EQ(seen.title, QStringLiteral("Corvane Demo"));
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.buttons, c.buttons);
        EXPECT_EQ(seen.parent, &owner);
    }
}

TEST(QtShellMsgBox, InTheBackgroundAHiddenWindowsNoticeGoesToTheDesktop) {
    const struct {
        const char* name;
        bool shown;  // the box's window
        uint32_t flags;
        bool notice;
        int answer;
    } cases[]{
        {"a box nobody can answer over a hidden window", false, 0x10010, true, IDOK},
        {"a question nobody saw taken as OK", false, 0x10041, true, IDCANCEL},
        {"a notice instead of the box over the shown window", true, 0x10010, false, IDOK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget owner;
        owner.setVisible(c.shown);
        platform::QtShell shell;
        QStringList notices;
        shell.SetBackgroundNotifier([&notices](const QString& title, const QString& text, uint32_t) {
            notices << title + u'|' + text;
        });
        SeenBox seen;
        WhenBoxOpens(seen, [](QMessageBox* box) { Click(box, QMessageBox::Ok); });
        EXPECT_EQ(shell.MsgBox(&owner, u"Joystick\rUnplugged"_qs, c.flags, u"Corvane Demo"_qs), c.answer);
        EXPECT_EQ(notices, c.notice ? QStringList{u"Corvane Demo|Joystick\nUnplugged"_qs} : QStringList{});
    }
}

TEST(QtShellMsgBox, ShowsMarkupAsPlainText) {
    SeenBox seen;
    QMessageBox* opened = nullptr;
    WhenBoxOpens(seen, [&opened](QMessageBox* box) {
        opened = box;
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        Click(box, QMessageBox::Ok);
    });
    platform::QtShell shell;
    shell.MsgBox(nullptr, QStringLiteral("<i>a</i>"), 0x10040, QStringLiteral("t"));
    EXPECT_NE(opened, nullptr);
}

TEST(QtShellMsgBox, EscapeAnswersCancelWhenThereIsOneAndOkOtherwise) {
    platform::QtShell shell;
    SeenBox seen;
    const auto escape = [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); };
    WhenBoxOpens(seen, escape);
    EXPECT_EQ(shell.MsgBox(nullptr, QStringLiteral("a"), 0x10041, QStringLiteral("t")), IDCANCEL);
    WhenBoxOpens(seen, escape);
    EXPECT_EQ(shell.MsgBox(nullptr, QStringLiteral("a"), 0x10040, QStringLiteral("t")), IDOK);
}

TEST(QtShellMsgBox, EnterPressesOk) {
    platform::QtShell shell;
    SeenBox seen;
    WhenBoxOpens(seen, [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(shell.MsgBox(nullptr, QStringLiteral("a"), 0x10041, QStringLiteral("t")), IDOK);
}

bool WaitFor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired()) {
        QTest::qWait(20);
    }
    return done();
}

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(QtShellStartProgram, StartsACommandLineWithQuotedArgumentsWithoutWaiting) {
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/corvane shell XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    const QString script = dir.filePath(QStringLiteral("scrivi file.sh"));
    const QString output = dir.filePath(QStringLiteral("uscita.txt"));
    {
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nprintf '%s|%s' \"$1\" \"$2\" > \"$3.tmp\" && mv \"$3.tmp\" \"$3\"\n");
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    platform::QtShell shell;
    shell.StartProgram(QStringLiteral("\"%1\" \"due  parole\" sola \"%2\"").arg(script, output),
                       platform::ShowStyle::NormalNoFocus);
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(output); }));
    EXPECT_EQ(ReadAll(output), QStringLiteral("due  parole|sola"));
}

// Collects the messages of one logging category while it lives.
class CategoryLog {
public:
    explicit CategoryLog(const char* category) {
        category_ = category;
        messages().clear();
        previous_ = qInstallMessageHandler(&CategoryLog::Handle);
    }
    ~CategoryLog() { qInstallMessageHandler(previous_); }
    static QStringList& messages() {
        static QStringList list;
        return list;
    }

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtWarningMsg && qstrcmp(context.category, category_) == 0) {
            messages().append(message);
        }
    }
    static inline const char* category_ = nullptr;
    QtMessageHandler previous_ = nullptr;
};

TEST(QtShellStartProgram, LogsAProgramThatCannotStartAndShowsNothing) {
    const std::vector<QString> commandLines{
        QStringLiteral("/nessuna/cartella/programma-assente --opzione"),
        QStringLiteral("   "),
    };
    platform::QtShell shell;
    for (const QString& commandLine : commandLines) {
        SCOPED_TRACE(commandLine.toStdString());
        CategoryLog log("corvane.shell");
        shell.StartProgram(commandLine, platform::ShowStyle::MinimizedFocus);
        EXPECT_EQ(CategoryLog::messages().size(), 1);
        EXPECT_EQ(QApplication::topLevelWidgets().size(), 0);
    }
}

TEST(QtShellFindProgram, FindsInstalledProgramsOnly) {
    platform::QtShell shell;
    EXPECT_TRUE(shell.FindProgram(QStringLiteral("sh")).endsWith(QStringLiteral("/sh")));
    EXPECT_TRUE(shell.FindProgram(QStringLiteral("corvane-programma-che-non-esiste")).isEmpty());
}

// A stand-in xdg-mime first on PATH answers with $1's entry name; the entries live in XDG_DATA_HOME.
TEST(QtShellDefaultApplication, FindsTheEntryThatXdgMimeNames) {
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    const QString applications = dir.filePath(QStringLiteral("data/applications"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(applications));
    QFile(applications + QStringLiteral("/editor.desktop")).open(QIODevice::WriteOnly);
    const QByteArray path = qgetenv("PATH");
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("PATH", QFile::encodeName(bin) + ':' + path);
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));

    struct Case {
        const char* name;
        QByteArray script;
        QString expected;
    };
    const std::vector<Case> cases{
        {"an entry that exists", "echo editor.desktop", applications + QStringLiteral("/editor.desktop")},
        {"an entry that does not", "echo vanished.desktop", QString()},
        {"no default", "exit 4", QString()},
        {"a path instead of a name", "echo /tmp/editor.desktop", QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile script(bin + QStringLiteral("/xdg-mime"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write("#!/bin/sh\n[ \"$*\" = \"query default text/plain\" ] || exit 9\n" + c.script + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(platform::QtShell().DefaultApplication(QStringLiteral("text/plain")), c.expected);
    }
    qputenv("PATH", path);
    qputenv("XDG_DATA_HOME", dataHome);
}

TEST(QtShellApp, VersionRecordIsTheProjectsOwn) {
    const platform::VersionRecord version = platform::QtShell().App();
    EXPECT_EQ(version.ProductName, QStringLiteral("Corvane Demo"));
    EXPECT_EQ(QStringLiteral("%1.%2.%3").arg(version.Major).arg(version.Minor).arg(version.Revision),
              QStringLiteral(CORVANE_PROJECT_VERSION));
    EXPECT_EQ(version.FileDescription, QStringLiteral("Tutti i diritti sono riservati"));
    EXPECT_TRUE(version.LegalCopyright.contains(QStringLiteral("Corvane Demo")));
}

} // namespace
