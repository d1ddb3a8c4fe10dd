// The real executable's command line: what it prints, on which stream, and its exit status. Each run
// has no display at all, so a window that opened too early would end the run with Qt's own failure.

#include "platform/desktop/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// locale: LC_ALL, LANGUAGE and LANG all set to it when not empty. out: a file for standard output.
// fileSizeLimit: ulimit -f, in bytes. Each run has a session folder of its own, so no running program
// of this desktop takes its request.
Outcome Corvane(const QStringList& arguments, const QString& locale = QString(), const QString& out = {},
                rlim_t fileSizeLimit = RLIM_INFINITY) {
    QProcess process;
    process.setChildProcessModifier([fileSizeLimit] {
        const rlimit limit{fileSizeLimit, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    const QTemporaryDir session;  // 0700, as the folder must be
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), session.path());
    if (!out.isEmpty()) {
        process.setStandardOutputFile(out);
    }
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!locale.isEmpty()) {
        for (const char* name : {"LC_ALL", "LANGUAGE", "LANG"}) {
            environment.insert(QString::fromLatin1(name), locale);
        }
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CORVANE_EXECUTABLE), arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

struct Case {
    const char* name;
    QStringList arguments;
    int status;
    QStringList out;  // texts standard output must hold; empty: it must be empty
    QStringList err;  // likewise for standard error
    QString locale;   // the user's locale; empty: this process's own
    QString outFile;  // where standard output goes; empty: read back
    rlim_t fileSizeLimit = RLIM_INFINITY;
};

TEST(CommandLine, AnswersOrRefusesBeforeAnyWindow) {
    QTemporaryDir dir;
    const QString map = dir.filePath(QStringLiteral("profilo.ini"));
    QFile(map).open(QIODevice::WriteOnly);
    const QString pipe = dir.filePath(QStringLiteral("pipe.ini"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString missing = dir.filePath(QStringLiteral("manca.ini"));
    const QString version = QStringLiteral("Corvane Demo " CORVANE_PROJECT_VERSION "\n");
    const QString feed = dir.filePath(u"due\nrighe.ini"_qs);
    QFile(feed).open(QIODevice::WriteOnly);
    // The profiles of this test program's own configuration folder, the second one chosen.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/corvane");
    QDir().mkpath(config + QStringLiteral("/profili"));
    for (const char* name : {"/profili/Film.ini", "/profili/Gioco.ini"}) {
        QFile(config + QString::fromLatin1(name)).open(QIODevice::WriteOnly);
    }
    QFile conf(config + QStringLiteral("/corvane.conf"));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly) && conf.write("[profile]\nactive=gioco\n") > 0);
    conf.close();

    // clang-format off
    const std::vector<Case> cases{
        {"--help", {QStringLiteral("--help")}, 0, {QStringLiteral("--map <file>"), QStringLiteral("--emulation"), QStringLiteral("--version"), QStringLiteral("~/.config/corvane/"), QStringLiteral("/etc/xdg/corvane/")}, {}},
        {"-h", {QStringLiteral("-h")}, 0, {QStringLiteral("--map <file>")}, {}},
        {"--help in the C locale", {QStringLiteral("--help")}, 0, {QStringLiteral("è cercata")}, {}, u"C"_qs},
        {"--help in a locale naming no language", {QStringLiteral("--help")}, 0, {QStringLiteral("--emulation")}, {}, u"xx_YY.UTF-8"_qs},
        {"bad option in a locale naming no language", {QStringLiteral("--nessuna")}, 2, {}, {QStringLiteral("nessuna")}, u"xx_YY.UTF-8"_qs},
        {"--version", {QStringLiteral("--version")}, 0, {version}, {}},
        {"--version after a good --map", {QStringLiteral("--map"), map, QStringLiteral("-v")}, 0, {version}, {}},
        {"unknown option", {QStringLiteral("--mappa"), map}, 2, {}, {QStringLiteral("mappa"), QStringLiteral("--help")}},
        {"unexpected argument", {map}, 2, {}, {map}},
        {"--map without its file", {QStringLiteral("--map")}, 2, {}, {QStringLiteral("--map")}},
        {"--map empty", {QStringLiteral("--map"), QString()}, 2, {}, {QStringLiteral("--map")}},
        {"--map missing", {QStringLiteral("--map"), missing, QStringLiteral("--emulation")}, 2, {}, {missing}},
        {"--map a folder", {QStringLiteral("--map"), dir.path()}, 2, {}, {dir.path()}},
        {"--map a named pipe, without waiting on it", {QStringLiteral("--map=") + pipe}, 2, {}, {pipe}},
        {"Qt's own options refused as unknown", {u"-platform"_qs, u"offscreen"_qs, u"-style"_qs, u"Fusion"_qs, u"-reverse"_qs, u"-session"_qs, u"x"_qs, u"--stop"_qs}, 1, {}, {u"nessun Corvane Demo in esecuzione"_qs}, u"C"_qs},
        {"--quit reported done with none running", {u"--quit"_qs}, 1, {}, {u"nessun Corvane Demo"_qs}, u"C"_qs},
        {"--version's failed write exits 0", {u"--version"_qs}, 1, {}, {}, {}, u"/dev/full"_qs},
        {"--version past the file-size limit ends the program by SIGXFSZ", {u"--version"_qs}, 1, {}, {}, {}, dir.filePath(u"version"_qs), 8},
        {"--background with --stop", {u"--background"_qs, u"--stop"_qs}, 2, {}, {u"--background"_qs}},
        // the remembered choice marked as its file spells it, the default listed first
        {"--profiles", {u"--profiles"_qs}, 0, {u"  Predefinito\n  Film\n* Gioco\n"_qs}, {}, u"C"_qs},
        {"--profile with --map", {u"--profile"_qs, u"Film"_qs, u"--map"_qs, map}, 2, {}, {u"--profile"_qs}},
        {"--pad without --profile", {u"--pad"_qs, u"1"_qs}, 2, {}, {u"--pad"_qs}, u"C"_qs},
        {"--pad past the slots", {u"--profile"_qs, u"Film"_qs, u"--pad"_qs, u"17"_qs}, 2, {}, {u"--pad"_qs}, u"C"_qs},
        // checked before any window: a typo must not start the program on another map
        {"--profile that does not exist", {u"--profile"_qs, u"Filmm"_qs}, 2, {}, {u"Filmm"_qs}, u"C"_qs},
        {"--map with a line feed", {u"--map"_qs, feed}, 2, {}, {u"caratteri di controllo"_qs}, u"C"_qs},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run = Corvane(c.arguments, c.locale, c.outFile, c.fileSizeLimit);
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_EQ(run.out.isEmpty(), c.out.isEmpty()) << run.out.toStdString();
        for (const QString& text : c.out) {
            EXPECT_TRUE(run.out.contains(text)) << text.toStdString() << " not in:\n"
                                                << run.out.toStdString();
        }
        EXPECT_EQ(run.err.isEmpty(), c.err.isEmpty()) << run.err.toStdString();
        for (const QString& text : c.err) {
            EXPECT_TRUE(run.err.contains(text)) << text.toStdString() << " not in:\n"
                                                << run.err.toStdString();
        }
    }
}

// A good command line goes on to open the windows: with no display to open them on, the program says
// so itself, before Qt would end it, and remembers no --profile.
TEST(CommandLine, GoodOptionsGoOnToTheWindows) {
    QTemporaryDir dir;
    const QString map = dir.filePath(QStringLiteral("profilo.ini"));
    QFile(map).open(QIODevice::WriteOnly);
    for (const QStringList& arguments :
         {QStringList{u"--map"_qs, map, u"--emulation"_qs}, QStringList{u"-display"_qs, u":999"_qs}}) {
        const Outcome run = Corvane(arguments, u"C"_qs);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.contains(QStringLiteral("nessun display"))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

// The options the program goes on with, read in this process.
TEST(CommandLine, SetsWhatTheOptionsAskForAndNothingElse) {
    using Action = platform::SessionRequest::Action;
    const struct {
        const char* name;
        QStringList arguments;
        bool emulation, background, requested;
        Action request;
        // clang-format off
    } cases[]{
        {"nothing set", {}, false, false, false, Action::Show},
        {"--emulation not taken", {u"--emulation"_qs}, true, false, false, Action::Show},
        {"--start not taken", {u"--start"_qs}, false, false, true, Action::Start},
        {"--background refused with --start", {u"--start"_qs, u"--background"_qs}, false, true, true, Action::Start},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::CommandLine options;
        ASSERT_EQ(platform::ReadCommandLine(QStringList{u"corvane"_qs} + c.arguments, options), std::nullopt);
        EXPECT_EQ(options.emulation, c.emulation);
        EXPECT_EQ(options.background, c.background);
        EXPECT_EQ(options.requested, c.requested);
        EXPECT_EQ(options.request, c.request);
    }
}

}  // namespace
