// Where the map is read from and which file the editor gets, with real files in a temporary tree.

#include "platform/desktop/MapFile.h"
#include "platform/ProgramDirectory.h"
#include "support/ScopedEnvironment.h"
#include "support/TempProgramDirectory.h"
#include "support/UnprivilegedUser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace {

enum class Kind { File, Folder, Pipe, DanglingLink };

void Make(const QString& path, Kind kind) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    switch (kind) {
    case Kind::File: {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Tasti]\n0=3\n");
        break;
    }
    case Kind::Folder:
        ASSERT_TRUE(QDir().mkpath(path));
        break;
    case Kind::Pipe:
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    case Kind::DanglingLink:
        ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent-drive/Corvane.ini"), path));
        break;
    }
}

class MapFileTest : public testing::Test {
protected:
    // Paths relative to the temporary tree; "bin" is the program's directory.
    QString At(const QString& relative) const { return dir.path() + u'/' + relative; }

    TempProgramDirectory dir;
    ScopedEnvironment environment;
};

struct SearchCase {
    const char* name;
    std::optional<QString> configHome;  // XDG_CONFIG_HOME, "@" standing for the tree
    std::optional<QString> configDirs;  // XDG_CONFIG_DIRS, likewise
    std::vector<std::pair<QString, Kind>> present;
    QString expected;  // relative to the tree; empty: no map anywhere
};

TEST_F(MapFileTest, FirstReadableFileInSearchOrderWins) {
    const QString beside = QStringLiteral("bin/Corvane.ini");
    const QString user = QStringLiteral("user/corvane/Corvane.ini");
    const QString home = QStringLiteral("home/.config/corvane/Corvane.ini");
    const QString system1 = QStringLiteral("sys1/corvane/Corvane.ini");
    const QString system2 = QStringLiteral("sys2/corvane/Corvane.ini");
    const QString tree = QStringLiteral("@/");
    const std::vector<SearchCase> cases{
        {"nothing anywhere", tree + "user", tree + "sys1:" + tree + "sys2", {}, {}},
        {"all: beside the program",
         tree + "user",
         tree + "sys1",
         {{beside, Kind::File}, {user, Kind::File}, {system1, Kind::File}},
         beside},
        {"user before system",
         tree + "user",
         tree + "sys1",
         {{user, Kind::File}, {system1, Kind::File}},
         user},
        {"system entries in their order",
         tree + "user",
         tree + "sys1:" + tree + "sys2",
         {{system1, Kind::File}, {system2, Kind::File}},
         system1},
        {"second system entry",
         tree + "user",
         tree + "sys1:" + tree + "sys2",
         {{system2, Kind::File}},
         system2},
        {"a folder beside the program stops the search",
         tree + "user",
         tree + "sys1",
         {{beside, Kind::Folder}, {user, Kind::File}},
         beside},
        {"a named pipe beside the program stops the search",
         tree + "user",
         tree + "sys1",
         {{beside, Kind::Pipe}, {user, Kind::File}},
         beside},
        {"a named pipe elsewhere is passed over",
         tree + "user",
         tree + "sys1",
         {{user, Kind::Pipe}, {system1, Kind::File}},
         system1},
        {"a link to a vanished drive is passed over",
         tree + "user",
         tree + "sys1",
         {{user, Kind::DanglingLink}, {system1, Kind::File}},
         system1},
        {"XDG_CONFIG_HOME unset: ~/.config", std::nullopt, tree + "sys1", {{home, Kind::File}}, home},
        {"XDG_CONFIG_HOME empty: ~/.config", QString(), tree + "sys1", {{home, Kind::File}}, home},
        {"XDG_CONFIG_HOME relative: ignored",
         QStringLiteral("user"),
         tree + "sys1",
         {{home, Kind::File}, {user, Kind::File}},
         home},
        {"XDG_CONFIG_HOME a missing folder",
         tree + "missing",
         tree + "sys1",
         {{system1, Kind::File}},
         system1},
        {"relative XDG_CONFIG_DIRS entry ignored",
         tree + "user",
         QStringLiteral("sys1:") + tree + "sys2",
         {{system2, Kind::File}},
         system2},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramDirectory fresh;
        const QString root = fresh.path();
        ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/bin")));
        platform::SetProgramDirectory(root + QStringLiteral("/bin"));
        const auto inTree = [&root](const std::optional<QString>& value) {
            return value ? std::optional(QString(*value).replace(u'@', root)) : std::nullopt;
        };
        ScopedEnvironment env;
        env.Set("HOME", root + QStringLiteral("/home"));
        env.Set("XDG_CONFIG_HOME", inTree(c.configHome));
        env.Set("XDG_CONFIG_DIRS", inTree(c.configDirs));
        QDir::setCurrent(root);  // a relative entry would find the tree's "user" and "sys1"
        for (const auto& [path, kind] : c.present) {
            Make(root + u'/' + path, kind);
        }
        EXPECT_EQ(platform::MapFile(), c.expected.isEmpty() ? QString() : root + u'/' + c.expected);
    }
    QDir::setCurrent(QDir::tempPath());
}

// TempProgramDirectory's tree: the program in it, the user's config in "config", the system's in "xdg".
TEST_F(MapFileTest, AChangedMapGoesWhereTheSearchFindsItFromThenOn) {
    const QString beside = QStringLiteral("Corvane.ini");
    const QString user = QStringLiteral("config/corvane/Corvane.ini");
    const QString system = QStringLiteral("xdg/corvane/Corvane.ini");
    const struct {
        const char* what;
        QString present;  // a map the user cannot write ("@" before: one they can), or none
        QString commandLine;
        QString path, copyFrom, blocked;
    } cases[] = {
        {"no map: the user's", {}, {}, user, {}, {}},
        {"the user's own", u'@' + user, {}, user, {}, {}},
        {"a system map the user cannot write: a copy in the user's place", system, {}, user, system, {}},
        {"a system map the user can write", u'@' + system, {}, system, {}, {}},
        {"beside the program, writable", u'@' + beside, {}, beside, {}, {}},
        {"beside the program, not writable: no save would take effect", beside, {}, {}, {}, beside},
        {"the command line's map", beside, QStringLiteral("altra.ini"), QStringLiteral("altra.ini"), {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempProgramDirectory fresh;
        const auto at = [&fresh](const QString& relative) {
            return relative.isEmpty() ? QString() : fresh.path() + u'/' + relative;
        };
        if (!c.present.isEmpty()) {
            const QString path = at(QString(c.present).remove(u'@'));
            Make(path, Kind::File);
            ASSERT_TRUE(QFile::setPermissions(path, c.present.startsWith(u'@') ? QFile::WriteOwner | QFile::ReadOwner
                                                                                 : QFile::ReadOwner));
        }
        platform::SetMapFile(at(c.commandLine));
        platform::MapTarget target;
        {
            const UnprivilegedUser nobody(fresh.path());
            target = platform::MapSaveTarget();
            if (!target.copyFrom.isEmpty()) {
                EXPECT_EQ(platform::MapToEdit(), at(user));
                QFile copy(at(user));
                EXPECT_TRUE(copy.open(QIODevice::ReadWrite) && copy.readAll() == "[Tasti]\n0=3\n")
                    << "the user's own copy of the system map";
                EXPECT_EQ(platform::MapFile(), at(user)) << "found first from then on";
            }
        }
        platform::SetMapFile(QString());
        EXPECT_EQ((QStringList{target.path, target.copyFrom, target.blocked}),
                  (QStringList{at(c.path), at(c.copyFrom), at(c.blocked)}));
    }
}

TEST_F(MapFileTest, SystemDefaultIsEtcXdgAndTheCommandLinesMapReplacesTheSearch) {
    environment.Set("XDG_CONFIG_DIRS", std::nullopt);
    EXPECT_EQ(platform::MapSearchPath().constLast(), QStringLiteral("/etc/xdg/corvane/Corvane.ini"));

    Make(At(QStringLiteral("Corvane.ini")), Kind::File);
    platform::SetMapFile(At(QStringLiteral("profilo.ini")));
    EXPECT_EQ(platform::MapFile(), At(QStringLiteral("profilo.ini"))) << "even once it is gone";
    EXPECT_EQ(platform::MapToEdit(), At(QStringLiteral("profilo.ini")));
    platform::SetMapFile(QString());
    EXPECT_EQ(platform::MapFile(), At(QStringLiteral("Corvane.ini")));
}

TEST_F(MapFileTest, EditingWithoutAMapCopiesTheExampleOnlyIntoAFreePlace) {
    // The program as installed: <prefix>/bin/corvane and <prefix>/share/corvane/Corvane.ini.
    ASSERT_TRUE(QDir().mkpath(At(QStringLiteral("prefix/bin"))));
    platform::SetProgramDirectory(At(QStringLiteral("prefix/bin")));
    const QString example = At(QStringLiteral("prefix/share/corvane/Corvane.ini"));
    Make(example, Kind::File);
    ASSERT_TRUE(QFile::setPermissions(example, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_EQ(platform::ExampleMapPath(), example);

    const QString user = At(QStringLiteral("config/corvane/Corvane.ini"));
    EXPECT_EQ(platform::MapFile(), QString());
    const mode_t umaskBefore = umask(027);
    EXPECT_EQ(platform::MapToEdit(), user);
    umask(umaskBefore);
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(user).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640U) << "the umask kept";
    QFile copy(user);
    ASSERT_TRUE(copy.open(QIODevice::ReadWrite)) << "the copy is the user's to change";
    EXPECT_EQ(copy.readAll(), QByteArray("[Tasti]\n0=3\n"));
    copy.resize(0);
    copy.write("[Tasti]\n0=5\n");
    copy.close();

    EXPECT_EQ(platform::MapFile(), user) << "found from now on";
    EXPECT_EQ(platform::MapToEdit(), user);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), QByteArray("[Tasti]\n0=5\n")) << "never replaced";
}

TEST_F(MapFileTest, EditingNeverReplacesWhatStandsInTheUsersPlace) {
    ASSERT_TRUE(QDir().mkpath(At(QStringLiteral("prefix/bin"))));
    platform::SetProgramDirectory(At(QStringLiteral("prefix/bin")));
    Make(At(QStringLiteral("prefix/share/corvane/Corvane.ini")), Kind::File);
    const QString user = At(QStringLiteral("config/corvane/Corvane.ini"));
    for (const Kind kind : {Kind::Folder, Kind::Pipe, Kind::DanglingLink}) {
        SCOPED_TRACE(static_cast<int>(kind));
        QFile::remove(user);
        QDir().rmdir(user);
        Make(user, kind);
        EXPECT_EQ(platform::MapToEdit(), user);
        const QFileInfo info(user);
        EXPECT_EQ(info.isDir(), kind == Kind::Folder);
        EXPECT_EQ(info.isSymLink(), kind == Kind::DanglingLink);
        EXPECT_FALSE(info.isFile());
    }
}

TEST_F(MapFileTest, NoExampleInstalledLeavesAnEmptyFolderForTheEditor) {
    ScopedEnvironment env;
    env.Set("XDG_DATA_HOME", At(QStringLiteral("data")));
    env.Set("XDG_DATA_DIRS", At(QStringLiteral("data-dirs")));
    EXPECT_EQ(platform::ExampleMapPath(), QString());
    const QString user = At(QStringLiteral("config/corvane/Corvane.ini"));
    EXPECT_EQ(platform::MapToEdit(), user);
    EXPECT_TRUE(QFileInfo(user).dir().exists());
    EXPECT_FALSE(QFileInfo::exists(user));
}

// The example copied for the user is in the user's language where the program has one.
TEST_F(MapFileTest, AnEnglishUserStartsFromTheEnglishExampleWhereThereIsOne) {
    ASSERT_TRUE(QDir().mkpath(At(QStringLiteral("prefix/bin"))));
    platform::SetProgramDirectory(At(QStringLiteral("prefix/bin")));
    const QString italian = At(QStringLiteral("prefix/share/corvane/Corvane.ini"));
    Make(italian, Kind::File);
    ScopedEnvironment env;
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
        env.Set(name, std::nullopt);
    }
    env.Set("LANG", QStringLiteral("en_GB.UTF-8"));
    EXPECT_EQ(platform::ExampleMapPath(), italian) << "no English example: the Italian one";
    const QString english = At(QStringLiteral("prefix/share/corvane/Corvane.en.ini"));
    Make(english, Kind::File);
    EXPECT_EQ(platform::ExampleMapPath(), english);
    env.Set("LANG", QStringLiteral("it_IT.UTF-8"));
    EXPECT_EQ(platform::ExampleMapPath(), italian);
}

}  // namespace
