#include "platform/desktop/DesktopPrograms.h"

#include "support/RecordingShell.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
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

TEST(MapEditor, PrefersTheDesktopsDefaultEditorThenTheFirstInstalledOne) {
    QTemporaryDir dir;
    const auto entry = [&dir](const char* name, const QByteArray& lines) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nName=Editor\n" + lines);
        return path;
    };
    const QString file = QStringLiteral("/home/anna/.config/corvane/Corvane.ini");
    struct EditorCase {
        const char* name;
        QString defaultEntry;
        QSet<QString> installed;
        QStringList expected;  // the command's arguments; empty: no editor at all
    };
    const std::vector<EditorCase> cases{
        {"nothing at all", {}, {}, {}},
        {"GNOME and KDE editors, no default",
         {},
         {QStringLiteral("kate"), QStringLiteral("gnome-text-editor"), QStringLiteral("gedit")},
         {QStringLiteral("gnome-text-editor"), file}},
        {"KDE", {}, {QStringLiteral("kwrite"), QStringLiteral("kate")}, {QStringLiteral("kate"), file}},
        {"MATE", {}, {QStringLiteral("pluma")}, {QStringLiteral("pluma"), file}},
        {"default entry, %U",
         entry("kate.desktop", "Exec=kate -b %U\n"),
         {QStringLiteral("mousepad")},
         {QStringLiteral("kate"), QStringLiteral("-b"), file}},
        {"default entry with quotes, escapes and other field codes",
         entry("quoted.desktop",
               "Exec=\"/opt/My Editor/bin/ed\" --name=\"a \\\\\"q\\\\\" b\" %i %c --file=%f 100%%\n"),
         {},
         {QStringLiteral("/opt/My Editor/bin/ed"), QStringLiteral("--name=a \"q\" b"),
          QStringLiteral("--file=") + file,
          QStringLiteral("100%")}},
        {"default runs in a terminal: the list",
         entry("vim.desktop", "Exec=vim %F\nTerminal=true\n"),
         {QStringLiteral("mousepad")},
         {QStringLiteral("mousepad"), file}},
        {"default takes no file: the list",
         entry("nofile.desktop", "Exec=viewer\n"),
         {QStringLiteral("xed")},
         {QStringLiteral("xed"), file}},
        {"default entry vanished", dir.filePath(QStringLiteral("missing.desktop")), {}, {}},
    };
    for (const EditorCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingShell shell;
        shell.defaultTextEditor = c.defaultEntry;
        shell.installed = c.installed;
        const QString commandLine = platform::MapEditorCommandLine(shell, file);
        EXPECT_EQ(QProcess::splitCommand(commandLine), c.expected) << commandLine.toStdString();
    }
}

TEST(MapEditor, PassesAPathWithBlanksAndQuotesAsOneArgument) {
    const std::vector<QString> files{
        QStringLiteral("/home/anna/I miei programmi/Corvane Demo/Corvane.ini"),
        QStringLiteral("/home/anna/dir \"citata\"/Corvane.ini"),
        QStringLiteral("/home/anna/ spazio iniziale/Corvane.ini"),
    };
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        RecordingShell shell;
        shell.installed = {QStringLiteral("gedit")};
        EXPECT_EQ(QProcess::splitCommand(platform::MapEditorCommandLine(shell, file)),
                  QStringList({QStringLiteral("gedit"), file}));
    }
}

TEST(MapEditor, MissingTextNamesTheFile) {
    const QString text =
        platform::MapEditorMissingText(QStringLiteral("/home/anna/.config/corvane/Corvane.ini"));
    EXPECT_TRUE(text.contains(QStringLiteral("\r/home/anna/.config/corvane/Corvane.ini")));
    EXPECT_TRUE(text.contains(QStringLiteral("Nessun editor")));
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
