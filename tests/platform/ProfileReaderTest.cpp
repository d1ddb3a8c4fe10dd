#include "platform/files/ProfileReader.h"
#include "platform/files/ProfileWriter.h"
#include "support/TempProgramDirectory.h"
#include "support/UnprivilegedUser.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace std::string_literals;
using namespace Qt::Literals::StringLiterals;
using platform::ProfileReader;

namespace {

const QString Default = QStringLiteral("default");

QString IniPath(const TempProgramDirectory& dir) { return dir.path() + QStringLiteral("/Corvane.ini"); }

struct Lookup {
    const char* what;
    std::string file;
    const char16_t* section;
    const char16_t* key;
    qsizetype size;
    QString expected;
    const char* saved = nullptr;  // the writer's bytes for the key set to "nuovo \u00E8", where they matter
};

const Lookup Lookups[] = {
    {"missing section", "[A]\nk=v\n", u"B", u"k", 255, Default},
    {"missing key", "[A]\nk=v\n", u"A", u"j", 255, Default},
    {"empty value is not the default", "[A]\nk=\n", u"A", u"k", 255, ""},
    {"blanks around names and value", "  [ A ] \n \t k \t=  v  w \t\n", u"A", u"k", 255, "v  w"},
    {"names without regard to case", "[Tasti]\nXy=1\n", u"tASTI", u"xY", 255, "1"},
    {"value cut to size - 1", "[A]\nk=abcdef\n", u"A", u"k", 4, "abc"},
    {"value that just fits", "[A]\nk=abcdef\n", u"A", u"k", 7, "abcdef"},
    {"size 1", "[A]\nk=abcdef\n", u"A", u"k", 1, ""},
    {"size 0", "[A]\nk=abcdef\n", u"A", u"k", 0, ""},
    {"default cut too", "", u"A", u"k", 4, "def"},
    {"no cut between surrogate halves", "[A]\nk=ab\xF0\x9F\x98\x80\n", u"A", u"k", 4, "ab"},
    {"whole surrogate pair", "[A]\nk=ab\xF0\x9F\x98\x80\n", u"A", u"k", 5, u"ab\U0001F600"_s},
    {"comment lines", "[A]\n;k=1\n  ; k=2\nk=3\n", u"A", u"k", 255, "3"},
    {"# starts no comment", "[A]\n#k=1\n", u"A", u"#k", 255, "1"},
    {"no inline comment, escape or quote removal", "[A]\nk=sh -c \"a; b\" # c \\n\\\nj=2\n", u"A", u"k",
     255, "sh -c \"a; b\" # c \\n\\"},
    {"no continuation line", "[A]\nk=a\\\nj=2\n", u"A", u"j", 255, "2"},
    {"value with =", "[A]\nk=a=b\n", u"A", u"k", 255, "a=b"},
    {"first duplicate key wins", "[A]\nk=1\nK=2\n", u"A", u"k", 255, "1"},
    {"first duplicate section wins", "[A]\nk=1\n[B]\n[a]\nj=3\n", u"A", u"j", 255, Default},
    {"line without = ignored", "[A]\nk\njunk line\nk=1\n", u"A", u"k", 255, "1"},
    {"keys above any section", "k=1\n[A]\n", u"", u"k", 255, Default},
    {"text after ] of a header", "[A] ; x\nk=1\n", u"A", u"k", 255, "1"},
    {"header without ]", "[A\nk=1\n", u"A", u"k", 255, "1"},
    {"byte-order mark and CR LF", "\xEF\xBB\xBF[A]\r\nk=1\r\nj= 2 \r\n", u"A", u"j", 255, "2"},
    // a key added to a CR LF file ends in CR LF; a section added at the end follows with no blank line
    {"key missing, CR LF", "[A]\r\nx=1\r\n", u"A", u"y", 255, Default, "[A]\r\nx=1\r\ny=nuovo \xC3\xA8\r\n"},
    {"a section missing", "[A]\nx=1\n", u"B", u"y", 255, Default, "[A]\nx=1\n[B]\ny=nuovo \xC3\xA8\n"},
    {"a section missing, CR LF", "[A]\r\n", u"B", u"y", 255, Default, "[A]\r\n[B]\r\ny=nuovo \xC3\xA8\r\n"},
    {"UTF-8", "[A]\nk=citt\xC3\xA0 \xE2\x82\xAC\n", u"A", u"k", 255, u"citt\u00E0 \u20AC"_s},
    {"Windows-1252", "[A]\nk=citt\xE0 \x80\n", u"A", u"k", 255, u"citt\u00E0 \u20AC"_s},
    {"Windows-1252 from 0x80 to 0x9F, undefined bytes kept",
     "[A]\nk=\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
     "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F\n", u"A", u"k", 255,
     u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D\u008F"
     u"\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178"_s},
    {"one invalid byte decodes the whole file as Windows-1252", "[A]\nk=\xC3\xA9\nj=\xE9\n", u"A", u"k", 255,
     u"\u00C3\u00A9"_s},
    {"UTF-8 sequence cut short at the end", "[A]\nk=\xC3", u"A", u"k", 255, u"\u00C3"_s},
    {"NUL byte is an ordinary character", "[A]\nk=a\0b\nj=2\n"s, u"A", u"k", 255, u"a\0b"_s},
    {"line after a NUL byte", "[A]\nk=a\0b\nj=2\n"s, u"A", u"j", 255, "2"},
};

TEST(ProfileReaderTest, LooksUpValuesAsPrivateProfileStringDoes) {
    for (const Lookup& lookup : Lookups) {
        SCOPED_TRACE(lookup.what);
        TempProgramDirectory dir;
        dir.WriteIni(QByteArray::fromStdString(lookup.file));
        const ProfileReader ini = ProfileReader::FromFile(IniPath(dir));
        const auto value = ini.GetPrivateProfileString(lookup.section, lookup.key, Default, lookup.size);
        EXPECT_EQ(value.text, lookup.expected);
        EXPECT_EQ(value.count, lookup.expected.size());
    }
}

// The writer changes the line the reader reads, or adds one where the reader finds none: the new value
// is read back, the encoding is kept, and a key that was found costs no line more.
TEST(ProfileWriterTest, WritesTheKeyTheReaderFinds) {
    const QString written = u"nuovo \u00E8"_s;
    for (const Lookup& lookup : Lookups) {
        SCOPED_TRACE(lookup.what);
        const QByteArray file = QByteArray::fromStdString(lookup.file);
        platform::ProfileWriter ini(file);
        ini.WriteProfileString(lookup.section, lookup.key, written);
        QString error;
        const std::optional<QByteArray> bytes = ini.Bytes(error);
        ASSERT_TRUE(bytes) << error.toStdString();
        const auto value = ProfileReader::FromBytes(*bytes).GetPrivateProfileString(lookup.section, lookup.key,
                                                                                    Default, 255);
        EXPECT_EQ(value.text, written);
        EXPECT_EQ(platform::DecodeProfile(*bytes).encoding, platform::DecodeProfile(file).encoding);
        EXPECT_TRUE(lookup.saved == nullptr || *bytes == lookup.saved) << bytes->toStdString();
        if (lookup.size == 255 && lookup.expected != Default) {
            EXPECT_EQ(bytes->count('\n'), file.count('\n'));
        }
    }
}

QString ReadK(const QString& path) {
    return ProfileReader::FromFile(path).GetPrivateProfileString(u"A", u"k", Default, 255).text;
}

// Who may read the file: owner, group, mode, access list, and the attribute user.corvane.
QByteArray Access(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    stat(name.constData(), &status);
    QByteArray access = QByteArray::number(status.st_uid) + ' ' + QByteArray::number(status.st_gid) + ' ' +
                        QByteArray::number(status.st_mode, 8);
    for (const char* attribute : {"system.posix_acl_access", "user.corvane"}) {
        char value[256] = {};
        access += ' ' + QByteArray(value, getxattr(name.constData(), attribute, value, sizeof value)).toHex();
    }
    return access;
}

// A save as nobody of a map shared with a group: the saved file is given to no one else and read by no
// one more, or nothing is written and the reason says why.
TEST(ProfileWriterTest, ASaveKeepsWhoMayReadTheFileOrWritesNothing) {
    if (geteuid() != 0) GTEST_SKIP() << "giving files to other users needs root";
    using U = UnprivilegedUser;
    const QByteArray map = "[A]\nk=1\n";
    const qsizetype nearLimit = platform::MaxProfileBytes - map.size() - 1;  // the file: one byte short
    const struct {
        const char* what;
        uid_t owner;  // root's is given to nobody
        gid_t group;
        qsizetype padding;  // the size of a comment line before the map
        const char16_t* value;
        const char* refusal;  // in the reason, or null for a save
        bool asRoot = false;  // saved by root, not by nobody
    } rows[] = {
        // the faults: the group, access list or attribute dropped, the list's mask left in the group bits;
        // the file given to the saver, its owner locked out; the file given to the saver's group
        {"nobody's, group-shared, with an access list and an attribute", 0, U::SharedGroup, 0, u"2", nullptr},
        {"another user's in a shared group", U::OtherUser, U::SharedGroup, 0, u"2", "4242"},
        {"in a group the saver is not in", 0, U::StrangersGroup, 0, u"2", "4343"},
        {"exactly at the size limit", 0, U::SharedGroup, nearLimit, u"22", nullptr},  // the limit refused
        {"past the size limit", 0, U::SharedGroup, nearLimit, u"333", "byte"},  // saved, then read as empty
        {"another user's, saved by root, given to root", U::OtherUser, U::StrangersGroup, 0, u"2", nullptr, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TempProgramDirectory dir;
        const QByteArray name = QFile::encodeName(IniPath(dir));
        dir.WriteIni((row.padding > 0 ? ";" + QByteArray(row.padding - 2, 'x') + "\n" : "") + map);
        const acl_t acl = acl_from_text("u::rw-,u:4343:r--,g::rw-,m::rw-,o::---");
        ASSERT_EQ(acl_set_file(name.constData(), ACL_TYPE_ACCESS, acl) + acl_free(acl), 0) << strerror(errno);
        ASSERT_EQ(setxattr(name.constData(), "user.corvane", "mappa", 5, 0), 0) << strerror(errno);
        ASSERT_EQ(chown(name.constData(), row.owner, row.group), 0);
        std::optional<UnprivilegedUser> nobody;
        if (!row.asRoot) {
            nobody.emplace(dir.path());
        }
        const QByteArray before = Access(IniPath(dir));
        platform::ProfileWriter ini(ProfileReader::ReadBytes(IniPath(dir)).value());
        ini.WriteProfileString(u"A", u"k", row.value);
        QString error;
        EXPECT_EQ(ini.Save(IniPath(dir), error), row.refusal == nullptr) << error.toStdString();
        EXPECT_TRUE(!row.refusal || error.contains(QLatin1String(row.refusal))) << error.toStdString();
        EXPECT_EQ(ReadK(IniPath(dir)), row.refusal == nullptr ? QString::fromUtf16(row.value) : u"1"_s);
        EXPECT_EQ(Access(IniPath(dir)), before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no file left behind";
    }
}

// Every byte above 0x7F read as Windows-1252 gives what Qt's own decoder gives, where Qt has one
// (with ICU).
TEST(ProfileReaderTest, Windows1252AgreesWithQtsDecoderWhereQtHasOne) {
    QStringDecoder windows1252("Windows-1252");
    if (!windows1252.isValid()) {
        GTEST_SKIP() << "this Qt has no Windows-1252 decoder";
    }
    QByteArray high;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        high.append(char(byte));
    }
    const QByteArray value = "x" + high + "x";  // no blank at either end to trim
    const auto read = ProfileReader::FromBytes("[A]\nk=" + value).GetPrivateProfileString(u"A", u"k", Default, 255);
    EXPECT_EQ(read.text, windows1252(value));
}

TEST(ProfileReaderTest, FileThatCannotBeReadGivesTheDefault) {
    TempProgramDirectory dir;
    EXPECT_EQ(ReadK(IniPath(dir)), Default) << "no file";
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Corvane.ini")));
    EXPECT_EQ(ReadK(IniPath(dir)), Default) << "a directory named Corvane.ini";

    // Neither waits for a writer nor reads without end.
    const QString pipe = dir.path() + QStringLiteral("/pipe.ini");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(ReadK(pipe), Default) << "a named pipe without a writer";
    EXPECT_EQ(ReadK(QStringLiteral("/dev/zero")), Default) << "a device";

    QString vanished;
    {
        const QTemporaryDir drive;
        vanished = drive.filePath(QStringLiteral("Corvane.ini"));
    }
    EXPECT_EQ(ReadK(vanished), Default) << "on a drive that is gone";
}

TEST(ProfileReaderTest, UnreadableFileGivesTheDefault) {
    TempProgramDirectory dir;
    dir.WriteIni("[A]\nk=1\n");
    ASSERT_TRUE(QFile::setPermissions(IniPath(dir), {}));
    const UnprivilegedUser user(dir.path());
    QFile probe(IniPath(dir));
    if (probe.open(QIODevice::ReadOnly)) {
        GTEST_SKIP() << "this process can read a file of mode 000";
    }
    EXPECT_EQ(ReadK(IniPath(dir)), Default);
}

} // namespace
