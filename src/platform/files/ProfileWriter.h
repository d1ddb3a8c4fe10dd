#pragma once
// Private-profile (ini) writing that keeps a hand-written file as it was: only the value of a line
// that changes is replaced, and every other byte stays. A key is found exactly as ProfileReader finds
// it (names without regard to case, the first section of a name, its first key), so the line changed
// is the line read.
//
// - A key found: the text after "=" and its blanks is replaced; the key, the blanks around "=", the
//   blanks after the value and the line ending stay.
// - A key missing: a line "key=value" goes after the last non-blank line of the section.
// - A section missing: "[section]" and the key go at the end of the file.
// - New lines end as the file's first line does (LF or CR LF); the byte-order mark and the encoding
//   the file was read in (UTF-8 or Windows-1252) stay.

#include "platform/files/ProfileReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace platform {

class ProfileWriter {
public:
    explicit ProfileWriter(QByteArrayView contents);

    // Sets key in section to value. The caller makes sure the reader gives value back as it is: no
    // line break, no blank at either end.
    void WriteProfileString(QStringView section, QStringView key, QStringView value);

    // The edited file in its own encoding; nullopt, with the reason in error, when that encoding cannot
    // hold a character of a value written, the bytes would be read back as another text, or they
    // would pass MaxProfileBytes, past which the reader reads nothing.
    std::optional<QByteArray> Bytes(QString& error) const;

    // Replaces path with the edited file through a temporary file in the same folder and a rename: a
    // failure leaves the old file as it was. An existing file keeps its owner, group, mode, access list
    // and extended attributes (see KeepAccess), or is not written; a symbolic link keeps pointing at
    // its target, which is written. The other hard links of the file keep the old text. False with the
    // reason in error.
    bool Save(const QString& path, QString& error) const;

private:
    QStringList lines_;  // the text split at LF; a CR before the LF stays in its line
    ProfileEncoding encoding_;
    QByteArray byteOrderMarks_;
    QString newLine_;  // put before the LF of a line this writer adds: a CR in a CR LF file
};

}  // namespace platform
