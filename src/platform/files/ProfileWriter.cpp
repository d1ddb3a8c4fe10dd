#include "platform/files/ProfileWriter.h"

#include "platform/files/FileAccess.h"
#include "platform/files/WholeFile.h"

#include <QCoreApplication>

namespace platform {
namespace {

// The section name of a header line as the reader takes it: after "[" up to the last "]".
QStringView SectionName(QStringView trimmed) {
    const qsizetype end = trimmed.lastIndexOf(u']');
    return trimmed.first(end < 0 ? trimmed.size() : end).sliced(1).trimmed();
}

bool SameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Replaces the value of a key line, keeping everything around it.
QString WithValue(const QString& line, QStringView value) {
    const qsizetype equals = line.indexOf(u'=');
    qsizetype end = line.size();
    while (end > equals + 1 && line[end - 1].isSpace()) {
        --end;
    }
    qsizetype start = equals + 1;
    while (start < end && line[start].isSpace()) {
        ++start;
    }
    return line.first(start) + value.toString() + line.sliced(end);
}

}  // namespace

ProfileWriter::ProfileWriter(QByteArrayView contents) {
    ProfileText decoded = DecodeProfile(contents);
    lines_ = decoded.text.split(u'\n');
    encoding_ = decoded.encoding;
    byteOrderMarks_ = decoded.byteOrderMarks;
    newLine_ = lines_.size() > 1 && lines_.first().endsWith(u'\r') ? QStringLiteral("\r") : QString();
}

void ProfileWriter::WriteProfileString(QStringView section, QStringView key, QStringView value) {
    const QString keyLine = key.toString() + u'=' + value.toString();
    qsizetype header = -1;
    qsizetype lastFilled = -1;  // the section's last non-blank line
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QStringView line = QStringView(lines_[i]).trimmed();
        if (line.startsWith(u'[')) {
            if (header >= 0) {
                break;
            }
            if (SameName(SectionName(line), section)) {
                header = lastFilled = i;
            }
        } else if (header >= 0 && !line.isEmpty()) {
            lastFilled = i;
            const qsizetype equals = line.indexOf(u'=');
            if (!line.startsWith(u';') && equals >= 0 && SameName(line.first(equals).trimmed(), key)) {
                lines_[i] = WithValue(lines_[i], value);
                return;
            }
        }
    }
    QStringList added{keyLine};
    qsizetype at = lastFilled + 1;
    if (header < 0) {
        added.prepend(u'[' + section.toString() + u']');
        at = lines_.size();
        // A file ending in a line break has an empty last piece: the new lines go before it.
        if (lines_.constLast().isEmpty()) {
            --at;
        }
    }
    if (at == lines_.size()) {
        // The last line had no line break: it gets one (a CR it ends in already stays the only one), and
        // so does every line added.
        if (!lines_.last().endsWith(u'\r')) {
            lines_.last() += newLine_;
        }
        lines_.append(QString());
    }
    for (const QString& line : added) {
        lines_.insert(at++, line + newLine_);
    }
}

std::optional<QByteArray> ProfileWriter::Bytes(QString& error) const {
    QString unencodable;
    const QString text = lines_.join(u'\n');
    std::optional<QByteArray> bytes = EncodeProfile({text, encoding_, byteOrderMarks_}, unencodable);
    if (!bytes) {
        const char32_t code = unencodable.size() == 2 ? QChar::surrogateToUcs4(unencodable[0], unencodable[1])
                                                      : unencodable[0].unicode();
        error = QCoreApplication::translate(
                    "platform::ProfileWriter",
                    "il carattere \"%1\" (U+%2) non si può scrivere nella codifica del file (%3)")
                    .arg(unencodable, QString::number(code, 16).toUpper().rightJustified(4, u'0'),
                         encoding_ == ProfileEncoding::Utf8 ? QStringLiteral("UTF-8")
                                                            : QStringLiteral("Windows-1252"));
        return std::nullopt;
    }
    if (bytes->size() > MaxProfileBytes) {
        error = QCoreApplication::translate("platform::ProfileWriter",
                                            "il file salvato supererebbe %1 byte e non si leggerebbe più")
                    .arg(MaxProfileBytes);
        return std::nullopt;
    }
    // A Windows-1252 file whose only bytes invalid in UTF-8 were in a value replaced is read back as
    // UTF-8: harmless when all that is left is ASCII, not when other letters would change.
    if (DecodeProfile(*bytes).text != text) {
        error = QCoreApplication::translate(
            "platform::ProfileWriter",
            "il file, scritto in Windows-1252, verrebbe letto come UTF-8 e altre sue lettere cambierebbero");
        return std::nullopt;
    }
    return bytes;
}

bool ProfileWriter::Save(const QString& path, QString& error) const {
    const std::optional<QByteArray> bytes = Bytes(error);
    // The old file's owner, group, access list and attributes go onto the new one before a byte of the
    // map is in it; when one cannot, nothing is written.
    return bytes &&
           ReplaceWhole(
               path, *bytes,
               [&path](int descriptor, QString& why) { return KeepAccess(path, descriptor, why); }, error);
}

}  // namespace platform
