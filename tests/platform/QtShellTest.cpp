#include "platform/QtShell.h"
#include "support/ScopedEnvironment.h"

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

// The default is read from the mimeapps.list files, no program asked: the user's configuration before
// the system's, the desktop's own list before the common one, an entry that is not installed passed over.
TEST(QtShellDefaultApplication, FindsTheEntryTheMimeAppsListsName) {
    QTemporaryDir dir;
    const auto path = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    const QString applications = path("data/applications");
    ASSERT_TRUE(QDir().mkpath(applications) && QDir().mkpath(path("config")) && QDir().mkpath(path("xdg")));
    for (const char* entry : {"editor.desktop", "other.desktop"}) {
        QFile(applications + u'/' + QString::fromLatin1(entry)).open(QIODevice::WriteOnly);
    }
    // No list of this machine's counts: every folder searched is one of the test's.
    ScopedEnvironment environment;
    for (const auto& [name, value] : {std::pair{"XDG_CONFIG_HOME", path("config")}, {"XDG_CONFIG_DIRS", path("xdg")},
                                      {"XDG_DATA_HOME", path("data")}, {"XDG_DATA_DIRS", path("xdg")},
                                      {"XDG_CURRENT_DESKTOP", u"ubuntu:GNOME"_qs}}) {
        environment.Set(name, value);
    }

    struct Case {
        const char* name;
        std::vector<std::pair<const char*, QByteArray>> lists;  // file under the temporary folder, text
        const char* expected;                                   // entry found, or null for none
    };
    const QByteArray group = "[Default Applications]\n";
    const std::vector<Case> cases{
        {"an entry not installed is passed over",
         {{"config/mimeapps.list", group + "text/plain=vanished.desktop;other.desktop;"}}, "other.desktop"},
        {"no default", {{"config/mimeapps.list", group + "text/html=editor.desktop;"}}, nullptr},
        {"a path is no entry name", {{"config/mimeapps.list", group + "text/plain=/tmp/editor.desktop"}}, nullptr},
        {"the user's list before the system's",
         {{"config/mimeapps.list", group + "text/plain=other.desktop"},
          {"xdg/mimeapps.list", group + "text/plain=editor.desktop"}}, "other.desktop"},
        {"the desktop's own list first",
         {{"config/mimeapps.list", group + "text/plain=editor.desktop"},
          {"config/gnome-mimeapps.list", group + "text/plain=other.desktop"}}, "other.desktop"},
        {"a list of no installed entry defers to the next",
         {{"config/mimeapps.list", group + "text/plain=vanished.desktop"},
          {"data/applications/defaults.list", group + "text/plain=editor.desktop"}}, "editor.desktop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [name, text] : c.lists) {
            QFile list(path(name));
            ASSERT_TRUE(list.open(QIODevice::WriteOnly));
            list.write(text + '\n');
        }
        EXPECT_EQ(platform::QtShell().DefaultApplication(QStringLiteral("text/plain")),
                  c.expected ? applications + u'/' + QString::fromLatin1(c.expected) : QString());
        for (const auto& [name, text] : c.lists) {
            QFile::remove(path(name));
        }
    }
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
