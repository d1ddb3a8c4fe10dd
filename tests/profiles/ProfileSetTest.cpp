#include "ProfileFixture.h"

#include "keymap/Generale.h"
#include "platform/desktop/ProfileName.h"
#include "platform/desktop/Settings.h"

#include <QSignalSpy>
#include <sys/stat.h>
#include <unistd.h>

TEST(ProfileNames, RefusedWithAReason) {
    const struct {
        QString name;
        bool refused;
    } rows[] = {
        {QStringLiteral("Film"), false},
        {QStringLiteral("le mie note.v2"), false},  // a dot inside is no hidden file
        {QString(), true},                          // would be the default's
        {QStringLiteral("a/b"), true},              // a file outside the folder
        {QStringLiteral(".."), true},               // the folder above, or a hidden file
        {QStringLiteral("tab\there"), true},        // a control character would break a request line
        {QString(64, u'x'), false},                 // the limit itself is allowed
        {QString(65, u'x'), true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(!platform::ProfileNameProblem(row.name).isEmpty(), row.refused) << row.name.toStdString();
    }
}

// Name order without case; of case twins one; hidden, other extensions and bad names passed over.
TEST_F(ProfileTest, ListsInNameOrderAndGoesRoundFromTheDefault) {
    for (const char* file : {"b.ini", "a.ini", "A.ini", ".x.ini", "c.txt", "C.INI"}) {
        Write(QString::fromLatin1(file), "1");
    }
    ProfileSet set;
    EXPECT_EQ(set.Names(), QStringList({QStringLiteral("A"), QStringLiteral("b")}));
    const struct {
        QString active;
        QString next;
    } rows[] = {
        {{}, QStringLiteral("A")}, {QStringLiteral("a"), QStringLiteral("b")}, {QStringLiteral("b"), {}}};
    for (const auto& row : rows) {
        ASSERT_TRUE(set.Switch(row.active));
        EXPECT_EQ(set.Next(), row.next) << row.active.toStdString();  // the last goes round to the default
    }
    platform::SetMapFile(dir.path() + QStringLiteral("/Corvane.ini"));  // a --map file
    EXPECT_EQ(set.Next(), QString());
}

TEST_F(ProfileTest, RestoresTheRememberedProfileOrFallsBackWithANotice) {
    Write(QStringLiteral("Film.ini"), "8 [mpv]");
    for (const bool gone : {false, true}) {
        platform::SetMapFile({});
        ASSERT_TRUE(platform::WriteActiveProfile(gone ? QStringLiteral("Sparito") : QStringLiteral("film")));
        const ProfileSet set;
        EXPECT_EQ(set.Active(), gone ? QString() : QStringLiteral("Film"));
        EXPECT_EQ(set.Notice().contains(QStringLiteral("Sparito")), gone);
    }
}

// Every bad file reads as no map and is said; the switch goes through.
TEST_F(ProfileTest, SwitchLoadsRemembersAndTellsEvenABrokenFile) {
    Write(QStringLiteral("Film.ini"), "8 [mpv]");
    QDir().mkpath(ProfileSet::Directory() + QStringLiteral("/Cartella.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(ProfileSet::PathOf(QStringLiteral("Tubo"))).constData(), 0600), 0);
    Write(QStringLiteral("Enorme.ini"), QByteArray(5 << 20, '1'));
    ProfileSet set;
    QSignalSpy told(&set, &ProfileSet::Switched);
    EXPECT_FALSE(set.Switch(QStringLiteral("Nessuno")));
    ASSERT_TRUE(set.Switch(QStringLiteral("Film")));
    EXPECT_EQ(Generale::ComandoTasto[0], QStringLiteral("mpv"));
    EXPECT_EQ(platform::ReadActiveProfile(), QStringLiteral("Film"));
    for (const char* broken : {"Cartella", "Tubo", "Enorme"}) {
        ASSERT_TRUE(set.Switch(QString::fromLatin1(broken)));
        EXPECT_EQ(Generale::CodiceTasto[0], 1) << broken;
        EXPECT_FALSE(ProfileSet::Readable(QString::fromLatin1(broken))) << broken;
    }
    EXPECT_EQ(told.count(), 4);
}

TEST_F(ProfileTest, MakesRenamesAndTrashesButNeverTheDefault) {
    dir.WriteIni("[Tasti]\n0=8\n");
    ProfileSet set;
    ASSERT_EQ(set.Create(QStringLiteral("Film")), QString());
    EXPECT_FALSE(set.Create(QStringLiteral("FILM")).isEmpty());  // one name without regard to case
    EXPECT_FALSE(set.Create(ProfileSet::DefaultName()).isEmpty());
    QFile copy(ProfileSet::PathOf(QStringLiteral("Film")));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "[Tasti]\n0=8\n");
    ASSERT_EQ(set.Rename(QStringLiteral("Film"), QStringLiteral("Serie")), QString());
    EXPECT_EQ(set.Active(), QStringLiteral("Serie"));  // the active one stays active
    EXPECT_FALSE(set.Trash({}).isEmpty());
    ASSERT_EQ(set.Trash(QStringLiteral("Serie")), QString());
    EXPECT_EQ(set.Active(), QString());
    EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/data/Trash/files/Serie.ini")));  // not deleted
}
