// Profiles over a temporary program directory (its Corvane.ini is the default map), with their own
// configuration and trash folders. The widget tests go through the main window's own handlers.

#include "assign/frmAssegna.h"
#include "background/BackgroundMode.h"
#include "keymap/Generale.h"
#include "mainwindow/MainForm.h"
#include "platform/QtShell.h"
#include "platform/desktop/ActiveWindow.h"
#include "platform/desktop/MapFile.h"
#include "platform/desktop/ProfileName.h"
#include "platform/desktop/Settings.h"
#include "profiles/ProfileSet.h"
#include "support/FakeJoystickDriver.h"
#include "support/RecordingShell.h"
#include "support/ScopedEnvironment.h"
#include "support/TempProgramDirectory.h"
#include "support/UnprivilegedUser.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Action = platform::SessionRequest::Action;

class ProfileTest : public testing::Test {
protected:
    ProfileTest() {
        // No data folder yet, as on a new account: Qt alone would trash into the current folder.
        env.Set("XDG_DATA_HOME", dir.path() + QStringLiteral("/data"));
        platform::SetMapFile({});
    }

    // A profile file with a map whose button 0 has that code and command.
    static void Write(const QString& file, const QByteArray& tasto0) {
        QDir().mkpath(ProfileStore::Directory());
        QFile out(QDir(ProfileStore::Directory()).filePath(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[Tasti]\n0=" + tasto0 + "\n");
    }

    TempProgramDirectory dir;
    ScopedEnvironment env;
    std::shared_ptr<FakeJoystickDriver> driver = std::make_shared<FakeJoystickDriver>();
    RecordingShell shell;
};

TEST(ProfileNames, RefusedWithAReason) {
    const std::pair<QString, bool> rows[] = {
        {QStringLiteral("le mie note.v2"), false},  // a dot inside is no hidden file
        {QString(), true},                          // would be the default's
        {QStringLiteral("a/b"), true},              // a file outside the folder
        {QStringLiteral(".."), true},               // the folder above, or a hidden file
        {QStringLiteral("tab\there"), true},        // a control character would break a request line
        {QString(64, u'x'), false},                 // the limit itself is allowed
        {QString(65, u'x'), true},
        {u"R&B"_qs, false},
        {u"Predefinito "_qs, true},  // look-alikes: a trailing blank, a zero-width space, a direction override
        {u"Fi\u200Blm"_qs, true},
        {u"\u202Emlif"_qs, true},
        {u"Film\u3164"_qs, true},      // a Hangul filler: no blank to trimmed(), a second "Film" on screen
        {u"\u115F\u1160"_qs, true},    // a name of fillers shows as nothing
        {u"Fi\uFFA0lm"_qs, true},      // the halfwidth filler
        {u"Film\u2800"_qs, true},      // the Braille blank
        {u"Film\uFE0F"_qs, true},      // a variation selector
        {u"Film\U000E0041"_qs, true},  // a tag past U+FFFF: two code units of no category
        {u"한글 ⠓"_qs, false},         // Hangul letters and Braille dots that show stay names
    };
    for (const auto& [name, refused] : rows) {
        EXPECT_EQ(!platform::ProfileNameProblem(name).isEmpty(), refused) << name.toStdString();
    }
}

// Name order without case; of case twins one; hidden, other extensions and bad names passed over.
TEST_F(ProfileTest, ListsInNameOrderAndGoesRoundFromTheDefault) {
    // predefinito.ini, default.ini: named as the default is shown in either language.
    for (const char* file : {"b.ini", "a.ini", "A.ini", ".x.ini", "c.txt", "C.INI", "predefinito.ini", "default.ini"}) {
        Write(QString::fromLatin1(file), "1");
    }
    ProfileSet set;
    EXPECT_EQ(ProfileStore::Names(), QStringList({QStringLiteral("A"), QStringLiteral("b")}));
    EXPECT_EQ(ProfileStore::Lookup(QStringLiteral("DEFAULT")), std::optional(QString()));
    const std::pair<QString, QString> rows[] = {
        {{}, QStringLiteral("A")}, {QStringLiteral("a"), QStringLiteral("b")}, {QStringLiteral("b"), {}}};
    for (const auto& [active, next] : rows) {
        ASSERT_TRUE(set.Switch(active));
        EXPECT_EQ(set.Next(), next) << active.toStdString();  // the last goes round to the default
    }
    set.UseMapFile(dir.path() + QStringLiteral("/altra.ini"));
    EXPECT_EQ(set.Next(), QString()) << "from a --map file the round starts at the default";
    // "Café" spelt both ways is one profile; a name that is not UTF-8 reaches none, and is said.
    for (const char* file : {"Cafe\xcc\x81.ini", "Caf\xc3\xa9.ini", "Cafeteria.ini"}) {
        Write(QString::fromUtf8(file), "1");
    }
    ASSERT_EQ(::close(::creat((QFile::encodeName(ProfileStore::Directory()) + "/\xff.ini").constData(), 0600)), 0);
    // Left out for names the rules refuse, and said: the hidden file and those named as the default aside.
    for (const QString& name : {u"Film\u3164"_qs, QString(65, u'x')}) {
        Write(name + u".ini"_qs, "1");
    }
    EXPECT_EQ(ProfileStore::Names(), QStringList({u"A"_qs, u"b"_qs, u"Cafeteria"_qs, u"Cafe\u0301"_qs}));
    EXPECT_EQ(ProfileStore::NotUtf8(), 1);
    EXPECT_EQ(ProfileStore::Refused(), 2);
    EXPECT_TRUE(
        set.Listing().endsWith(u"  Cafe\u0301\n1 file di profilo con un nome non UTF-8: rinominarli per "
                               "usarli\n2 file di profilo con un nome che un profilo non può avere: "
                               "rinominarli per usarli\n"_qs))
        << set.Listing().toStdString();
}

// Every bad file reads as no map and is said; the switch goes through.
TEST_F(ProfileTest, SwitchLoadsRemembersAndTellsEvenABrokenFile) {
    ASSERT_TRUE(platform::WriteActiveProfile(QStringLiteral("Sparito")));  // remembered, then gone
    EXPECT_TRUE(ProfileSet().Notice().contains(QStringLiteral("Sparito")));
    Write(QStringLiteral("Film.ini"), "8 [mpv]");
    QDir().mkpath(ProfileStore::Directory() + QStringLiteral("/Cartella.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(ProfileStore::PathOf(QStringLiteral("Tubo"))).constData(), 0600), 0);
    Write(QStringLiteral("Enorme.ini"), QByteArray(5 << 20, '1'));
    Write(QStringLiteral("Serie.ini"), "x [serie]");
    ProfileSet set;
    EXPECT_FALSE(set.Switch(QStringLiteral("Nessuno")));
    ASSERT_TRUE(set.Switch(QStringLiteral("Film")));
    EXPECT_EQ(Generale::ComandoTasto[0], QStringLiteral("mpv"));
    ASSERT_TRUE(set.Switch(QStringLiteral("Serie")));
    EXPECT_EQ(Generale::CodiceTasto[0], 1) << "no number: the default, not the code of the profile before";
    ASSERT_TRUE(set.Switch(QStringLiteral("Film")));
    EXPECT_EQ(platform::ReadActiveProfile(), QStringLiteral("Film"));
    for (const char* broken : {"Cartella", "Tubo", "Enorme"}) {
        ASSERT_TRUE(set.Switch(QString::fromLatin1(broken)));
        EXPECT_EQ(Generale::CodiceTasto[0], 1) << broken;
        EXPECT_FALSE(ProfileStore::Readable(QString::fromLatin1(broken))) << broken;
    }
    // Settings that cannot be written (a folder in their place): the switch is in force, and said not
    // remembered, also by the next ProfileSet, as a start with --profile makes it, on standard error.
    ASSERT_TRUE(QFile::remove(platform::UserSettingsFile()) && QDir().mkdir(platform::UserSettingsFile()));
    ASSERT_TRUE(set.Switch(QStringLiteral("Serie")));
    EXPECT_EQ(set.Describe(), u"Profilo Serie, non ricordato: al prossimo avvio vale Predefinito"_qs);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ProfileSet().Describe(), set.Describe());
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                testing::HasSubstr("corvane: il profilo Serie non è ricordato: al prossimo avvio vale il "
                                   "profilo Predefinito.\n"));
    ASSERT_TRUE(QDir().rmdir(platform::UserSettingsFile()));
    ASSERT_TRUE(set.Switch(QStringLiteral("Serie")));
    EXPECT_EQ(set.Describe(), u"Profilo Serie"_qs) << "remembered at the next switch that can";
}

TEST_F(ProfileTest, MakesRenamesAndTrashesButNeverTheDefault) {
    ProfileSet set;
    ASSERT_EQ(set.Create(QStringLiteral("Film")), QString());
    EXPECT_FALSE(set.Create(QStringLiteral("FILM")).isEmpty());  // one name without regard to case
    ASSERT_EQ(set.Rename(QStringLiteral("Film"), QStringLiteral("serie")), QString());
    ASSERT_EQ(set.Rename(QStringLiteral("serie"), QStringLiteral("Serie")), QString());  // the case alone
    EXPECT_EQ(ProfileStore::Names(), QStringList{QStringLiteral("Serie")});
    EXPECT_EQ(set.Active(), QStringLiteral("Serie"));  // the active one stays active
    // A private map's copy stays private.
    ASSERT_TRUE(QFile::setPermissions(ProfileStore::PathOf(QStringLiteral("Serie")),
                                      QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_EQ(set.Create(QStringLiteral("Copia")), QString());
    EXPECT_EQ(QFile::permissions(ProfileStore::PathOf(QStringLiteral("Copia"))),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_FALSE(set.Trash({}).isEmpty());
    for (const char* name : {"Serie", "Copia"}) {  // the second finds the trash folder there
        ASSERT_EQ(set.Trash(QString::fromLatin1(name)), QString()) << name;
        EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/data/Trash/files/%1.ini").arg(name)));
    }
    EXPECT_EQ(set.Active(), QString());
    // Past a file-size limit the copy is refused whole: no cut copy that lists as a profile, no
    // temporary file, and the program goes on (the signal's default ended it).
    dir.WriteIni("[Tasti]\n" + QByteArray(8192, ';'));
    const rlimit limit{4096, RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const QString refused = set.Create(QStringLiteral("Grande"));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
    EXPECT_TRUE(refused.contains(QStringLiteral("Grande.ini"))) << refused.toStdString();
    EXPECT_EQ(
        QDir(ProfileStore::Directory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList());
}

// A copy of a map that is not the user's (the system's) is the user's, and its group is the user's:
// the map's own group may read it, the user's group must not, for that would be more people.
TEST_F(ProfileTest, ACopyOfRootsMapWithAForeignGroupKeepsNoGroupRead) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give the map to root and to a group the user is not in";
    }
    const QTemporaryDir system;
    const QString map = system.filePath(QStringLiteral("Corvane.ini"));
    QFile file(map);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("[Tasti]\n0=3\n") > 0);
    file.close();
    ASSERT_EQ(::chown(QFile::encodeName(map).constData(), 0, UnprivilegedUser::StrangersGroup), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(map).constData(), 0644), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(system.path()).constData(), 0755), 0);
    platform::SetMapFile(map);
    ProfileSet set;
    struct stat copy {};
    {
        const UnprivilegedUser nobody(dir.path());
        ASSERT_EQ(set.Create(QStringLiteral("Sistema")), QString());
        ASSERT_EQ(
            ::stat(QFile::encodeName(ProfileStore::PathOf(QStringLiteral("Sistema"))).constData(), &copy), 0);
    }
    EXPECT_EQ(copy.st_mode & S_IRWXG, 0U);
    EXPECT_NE(copy.st_mode & S_IRUSR, 0U);
}

// A menu entry switches, told on the window without a box; a press then runs the new profile's
// command, and the key dialog keeps saving into the file it showed.
TEST_F(ProfileTest, AMenuEntrySwitchesAndTheNextPressRunsThatProfilesCommand) {
    Write(QStringLiteral("Film.ini"), "1 [mpv]");
    Write(QStringLiteral("R&B.ini"), "1");
    MainForm form(driver, shell);
    form.ElencaProfili();
    const QList<QAction*> entries = form.findChild<QMenu*>(QStringLiteral("MenuProfilo"))->actions();
    EXPECT_EQ(entries.at(2)->text(), QStringLiteral("R&&B"));  // no shortcut letter: shown as "R&B"
    entries.at(1)->trigger();  // after the default
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("Lab_Profilo"))->text(), QStringLiteral("Profilo Film"));
    form.Cmd_tasto_MouseDown(0, 1, 0, 0, 0);
    ASSERT_EQ(shell.starts.size(), 1U);
    EXPECT_EQ(shell.starts[0].commandLine, QStringLiteral("mpv"));
    EXPECT_TRUE(shell.boxes.empty());
    // The corner grows past its first text's width, and elides a name past its own in the middle.
    form.show();
    auto* corner = form.findChild<QLabel*>(QStringLiteral("Lab_Profilo"));
    for (const QString& name : {u"Giochi di corsa notturni"_qs, QString(64, u'g')}) {
        Write(name + u".ini"_qs, "1");
        ASSERT_TRUE(form.Profili().Switch(name));
        EXPECT_EQ(corner->toolTip(), u"Profilo "_qs + name);
        EXPECT_GE(corner->width(), corner->sizeHint().width()) << name.toStdString();
        EXPECT_EQ(corner->text() == corner->toolTip(), name.size() < 64) << name.toStdString();
    }
    const frmAssegna dialog(form, driver, shell);
    form.Profili().Switch({});  // while the dialog is open: its changes are Film's, not the default's
    dialog.findChild<QPushButton*>(QStringLiteral("Cmd_Salva"))->click();
    EXPECT_FALSE(QFile::exists(platform::UserMapPath()));
}

// The chord of each profile's own file switches as it forms, round to the default after the last;
// the buttons it covers start nothing while it is held, one that went down before it formed does.
TEST_F(ProfileTest, TheChordSwitchesToTheNextProfileWithoutStartingItsButtons) {
    dir.WriteIni("[Tasti]\n0=1 [prima]\n1=2 [coperto]\n[Profili]\nSuccessivo= +3 [ignorato]\n");
    Write(QStringLiteral("Film.ini"), "1 [coperto]\n2=4 [film]\n[Profili]\nSuccessivo=003");
    Generale::CaricaMappa();
    MainForm form(driver, shell);
    for (const int32_t buttons : {1, 3, 0, 4, 0, 3, 0}) {
        form.cJoy_JoyButton(buttons);
    }
    ASSERT_EQ(shell.starts.size(), 2U);
    EXPECT_EQ(shell.starts[0].commandLine + shell.starts[1].commandLine, QStringLiteral("primafilm"));
    EXPECT_EQ(form.Profili().Active(), QString());  // Film, then round to the default
}

// A later launch's --profile and --emulation, sent and read as the channel does and taken only when the
// profile exists; the next press starts the profile's command, which is told the name.
TEST_F(ProfileTest, ARunningProgramSwitchesToTheProfileALaunchNames) {
    const QString out = dir.path() + QStringLiteral("/out");
    Write(QStringLiteral("Film.ini"),
          "1 [sh -c \"printf %s $CORVANE_PROFILE >$0\" " + QFile::encodeName(out) + "]");
    platform::QtShell qtShell;
    MainForm form(driver, qtShell);
    BackgroundMode mode(form, driver, qtShell, false);
    EXPECT_FALSE(mode.Accepts({Action::Start, {}, false, u"Serie"_qs}));
    EXPECT_FALSE(platform::ParseRequest("profile a/b\nstop\n"));  // the name rules hold on the channel too
    // Remembered before the launch is answered: a switch the settings cannot keep is refused whole.
    QFile::remove(platform::UserSettingsFile());
    ASSERT_TRUE(QDir().mkpath(platform::UserSettingsFile()));
    EXPECT_FALSE(mode.Accepts({Action::Stop, {}, false, u"film"_qs}));
    ASSERT_TRUE(QDir().rmdir(platform::UserSettingsFile()));
    const QByteArray sent = platform::RequestLines({Action::Stop, {}, true, u"film"_qs});  // --emulation too
    const auto request = platform::ParseRequest(sent);
    ASSERT_TRUE(request && mode.Accepts(*request)) << sent.toStdString();
    mode.Handle(*request);
    EXPECT_TRUE(form.findChild<QAction*>(QStringLiteral("MenuEmula"))->isVisible()) << "--emulation dropped";
    form.Cmd_tasto_MouseDown(0, 1, 0, 0, 0);
    QFile told(out);
    EXPECT_TRUE(QTest::qWaitFor([&] { return told.size() > 0; }, 5000));
    EXPECT_TRUE(told.open(QIODevice::ReadOnly) && told.readAll() == "Film");
}

// The window in front puts the profile listing its class in force without remembering it, and the
// user's choice comes back when another window is in front, or when the window's profile goes.
TEST_F(ProfileTest, TheWindowInFrontChoosesAProfileAndGivesTheUsersChoiceBack) {
    const std::pair<QByteArray, QStringList> lists[] = {
        {" MPV , kodi,,", {u"mpv"_qs, u"kodi"_qs}},  // blanks, case and empty items
        {",", {}},                                   // an empty item would match a window without a class
        {QByteArray("a,").repeated(150) + "kodi", QStringList(150, u"a"_qs) << u"kodi"_qs},  // past 254 characters
    };
    for (const auto& [value, classes] : lists) {
        EXPECT_EQ(Generale::LeggiFinestre("[Profili]\nFinestre=" + value), classes) << value.toStdString();
    }
    // A window's class in UTF-8, or else Latin-1: read all as Latin-1, "giòco" never matched.
    EXPECT_EQ(platform::ActiveWindow::ClassNames(QByteArray("gi\xc3\xb2"
                                                            "co\0Gi\xf2"
                                                            "co\0",
                                                            13)),
              QStringList({u"giòco"_qs, u"Giòco"_qs}));
    Write(QStringLiteral("Film.ini"), "1 [mpv]\n[Profili]\nFinestre=Mpv");
    Write(QStringLiteral("Serie.ini"), "1 [serie]");
    ProfileSet set;
    ASSERT_TRUE(set.Switch(QStringLiteral("Serie")));
    set.FollowWindow({u"mplayer"_qs, u"MPV"_qs});  // the class in another case than the list's
    EXPECT_EQ(set.Active(), QStringLiteral("Film"));
    EXPECT_EQ(Generale::ComandoTasto[0], QStringLiteral("mpv"));
    EXPECT_EQ(platform::ReadActiveProfile(), QStringLiteral("Serie"));  // not remembered
    set.FollowWindow({});
    EXPECT_EQ(set.Active(), QStringLiteral("Serie"));
    platform::SetMapFile({});
    EXPECT_EQ(ProfileSet().Active(), QStringLiteral("Serie")) << "the choice in force at the next start";
    set.FollowWindow({u"mpv"_qs});
    ASSERT_EQ(set.Trash(QStringLiteral("Film")), QString());
    EXPECT_EQ(set.Active(), QStringLiteral("Serie"));
    EXPECT_EQ(platform::ReadActiveProfile(), QStringLiteral("Serie"));
    // A later launch's --map while the window's profile is in force stays once the window changes.
    Write(QStringLiteral("Kodi.ini"), "1 [kodi]\n[Profili]\nFinestre=kodi");
    set.FollowWindow({u"kodi"_qs});
    set.UseMapFile(dir.path() + QStringLiteral("/altra.ini"));
    set.FollowWindow({});
    EXPECT_EQ(set.CommandLineFile(), dir.path() + QStringLiteral("/altra.ini"));
    // The chosen profile gone meanwhile (another program's trash): the default comes back, not a file gone.
    ASSERT_TRUE(set.Switch(QStringLiteral("Serie")));
    set.FollowWindow({u"kodi"_qs});
    ASSERT_TRUE(QFile::remove(ProfileStore::PathOf(QStringLiteral("Serie"))));
    set.FollowWindow({});
    EXPECT_TRUE(set.Active().isEmpty() && set.CommandLineFile().isEmpty());
}
