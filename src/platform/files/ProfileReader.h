#pragma once
// Private-profile (ini) reading with the behaviour of GetPrivateProfileStringA that the key map relies
// on. Written by hand because neither inih nor QSettings reads that way: inih knows inline comments and
// continuation lines, splits long lines into phantom keys and joins duplicate keys; QSettings matches keys
// with regard to case, reads commas as lists and backslashes as escapes.
//
// The format as read here:
// - A line whose first non-blank character is "[" starts a section. Its name is the text after the "["
//   up to the last "]" (or to the line's end), without surrounding blanks. Keys above the first section
//   belong to none and are never found.
// - A line whose first non-blank character is ";" is a comment.
// - Any other line holding "=" is a key line: the key is the text before the first "=", the value the
//   text after it, both without surrounding blanks (Unicode white space). A line without "=" is ignored.
// - A value is taken as it stands: no inline comments, no continuation lines, no escapes, no quote
//   removal. A command line may hold ";", "#", quotes and backslashes.
// - Section and key names match without regard to case. Of duplicate sections only the first is
//   searched; of duplicate keys in it the first wins.
// - Lines end in LF or CR LF; a UTF-8 byte-order mark at the start is skipped. NUL bytes are ordinary
//   characters.
// - Encoding: the whole file is decoded as UTF-8 when it is valid UTF-8, else as Windows-1252, so files
//   saved in the Windows 8-bit code page keep their accented letters.
// - A file that is missing, cannot be read (no permission), is not a regular file (a directory, a named
//   pipe, a device) or is larger than MaxProfileBytes reads like an empty file; reading never waits on a
//   pipe or a device.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>

namespace platform {

// A map of a few megabytes is already absurd; a larger file is not read at all.
inline constexpr qsizetype MaxProfileBytes = qsizetype(4) * 1024 * 1024;

// How a file's bytes were decoded: a writer encodes back the same way.
enum class ProfileEncoding { Utf8, Windows1252 };

// A file's text as the reader sees it, and what a writer needs to give back the same bytes.
struct ProfileText {
    QString text;  // without the byte-order marks
    ProfileEncoding encoding = ProfileEncoding::Utf8;
    QByteArray byteOrderMarks;  // the marks skipped before the text
};

ProfileText DecodeProfile(QByteArrayView bytes);

// The inverse of DecodeProfile: the same bytes for a text it decoded. Nullopt when the encoding cannot
// hold a character of the text; that character is then stored in unencodable.
std::optional<QByteArray> EncodeProfile(const ProfileText& decoded, QString& unencodable);

struct ProfileString {
    QString text;         // the value or the default, at most size - 1 characters
    qsizetype count = 0;  // the number of characters in text
};

// One reading of a profile file: the file is read once, then any number of values are looked up in it.
class ProfileReader {
public:
    static ProfileReader FromFile(const QString& path);
    static ProfileReader FromBytes(QByteArrayView contents);

    // The file's bytes, opened as FromFile opens it: empty when it is missing, nullopt when it exists but
    // cannot be read whole (no permission, not a regular file, too large), so a writer never mistakes it
    // for an empty file.
    static std::optional<QByteArray> ReadBytes(const QString& path);

    // The value of key in section, or def when the section or the key is missing; an empty value is
    // returned as an empty text, not as def. Longer texts are cut to size - 1 characters (never
    // between the two halves of a surrogate pair); size 0 or less gives an empty text.
    ProfileString GetPrivateProfileString(QStringView section, QStringView key, const QString& def,
                                          qsizetype size) const;

private:
    explicit ProfileReader(QString text) : text_(std::move(text)) {}

    QString text_;  // the whole decoded file
};

}  // namespace platform
