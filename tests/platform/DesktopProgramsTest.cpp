#include "platform/DesktopPrograms.h"

#include "platform/ProgramDirectory.h"
#include "support/RecordingShell.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct InstalledCase {
    const char* name;
    QSet<QString> installed;
    QString expected;
};

TEST(GameControllerCommandLine, TakesTheFirstInstalledProgram) {
    const std::vector<InstalledCase> cases{
        {"none", {}, QString()},
        {"unrelated programs only", {QStringLiteral("gedit"), QStringLiteral("systemsettings")}, QString()},
        {"all",
         {QStringLiteral("jstest-gtk"), QStringLiteral("kcmshell6"), QStringLiteral("kcmshell5")},
         QStringLiteral("jstest-gtk")},
        {"Plasma 6 and 5",
         {QStringLiteral("kcmshell6"), QStringLiteral("kcmshell5")},
         QStringLiteral("kcmshell6 kcm_gamecontroller")},
        {"Plasma 5", {QStringLiteral("kcmshell5")}, QStringLiteral("kcmshell5 kcm_joystick")},
    };
    for (const InstalledCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingShell shell;
        shell.installed = c.installed;
        EXPECT_EQ(platform::GameControllerCommandLine(shell), c.expected);
    }
}

TEST(GameControllerCommandLine, MissingTextNamesThePackageInSeparateLines) {
    const QString text = platform::GameControllerMissingText();
    EXPECT_TRUE(text.contains(QStringLiteral("\"jstest-gtk\"")));
    EXPECT_GE(text.count(QLatin1Char('\r')), 1);
    EXPECT_FALSE(text.contains(QLatin1Char('\n')));
}

class MapEditor : public testing::Test {
protected:
    ~MapEditor() override { platform::SetProgramDirectory(QString()); }
};

TEST_F(MapEditor, TakesTheFirstInstalledEditorElseXdgOpen) {
    platform::SetProgramDirectory(QStringLiteral("/opt/corvane"));
    const std::vector<InstalledCase> cases{
        {"none", {}, QStringLiteral("xdg-open")},
        {"GNOME and KDE",
         {QStringLiteral("kate"), QStringLiteral("gnome-text-editor"), QStringLiteral("gedit")},
         QStringLiteral("gnome-text-editor")},
        {"KDE", {QStringLiteral("kwrite"), QStringLiteral("kate")}, QStringLiteral("kate")},
        {"Xfce", {QStringLiteral("mousepad")}, QStringLiteral("mousepad")},
        {"MATE", {QStringLiteral("pluma")}, QStringLiteral("pluma")},
    };
    for (const InstalledCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingShell shell;
        shell.installed = c.installed;
        EXPECT_EQ(QProcess::splitCommand(platform::MapEditorCommandLine(shell)),
                  QStringList({c.expected, QStringLiteral("/opt/corvane/Corvane.ini")}));
    }
}

TEST_F(MapEditor, PassesAPathWithBlanksAndQuotesAsOneArgument) {
    const std::vector<QString> directories{
        QStringLiteral("/home/anna/I miei programmi/Corvane Demo"),
        QStringLiteral("/home/anna/dir \"citata\""),
        QStringLiteral("/home/anna/ spazio iniziale/"),
    };
    for (const QString& directory : directories) {
        SCOPED_TRACE(directory.toStdString());
        platform::SetProgramDirectory(directory);
        RecordingShell shell;
        shell.installed = {QStringLiteral("gedit")};
        const QString path = directory.endsWith(QLatin1Char('/'))
                                 ? directory + QStringLiteral("Corvane.ini")
                                 : directory + QStringLiteral("/Corvane.ini");
        EXPECT_EQ(QProcess::splitCommand(platform::MapEditorCommandLine(shell)),
                  QStringList({QStringLiteral("gedit"), path}));
    }
}

TEST(QuotedArgument, SplitsBackToTheSameSingleArgument) {
    const std::vector<QString> arguments{
        QStringLiteral("semplice"), QStringLiteral("due parole"),    QStringLiteral("  blanchi  ai lati "),
        QStringLiteral("\"inizio"), QStringLiteral("fine\""),        QStringLiteral("a\"\"b"),
        QStringLiteral("\""),       QStringLiteral("tab\tin mezzo"),
    };
    for (const QString& argument : arguments) {
        SCOPED_TRACE(argument.toStdString());
        EXPECT_EQ(QProcess::splitCommand(QStringLiteral("programma ") + platform::QuotedArgument(argument) +
                                         QStringLiteral(" dopo")),
                  QStringList({QStringLiteral("programma"), argument, QStringLiteral("dopo")}));
    }
}

} // namespace
