#include "platform/files/ProfileReader.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringTokenizer>
#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Windows-1252 is Latin-1 but for the bytes 0x80 to 0x9F, mapped here. Decoded by hand because Qt
// has a decoder for it only where it was built with ICU. The five bytes the code page leaves
// undefined keep their own code points, as Windows and ICU decode them.
constexpr std::array<char16_t, 32> Windows1252From80 = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

QString DecodeWindows1252(QByteArrayView bytes) {
    QString text = QString::fromLatin1(bytes);
    for (QChar& c : text) {
        if (c.unicode() >= 0x80 && c.unicode() < 0xA0) {
            c = QChar(Windows1252From80[c.unicode() - 0x80]);
        }
    }
    return text;
}

ProfileString Cut(QStringView text, qsizetype size) {
    qsizetype count = qBound(qsizetype(0), size - 1, text.size());
    if (count > 0 && count < text.size() && text[count - 1].isHighSurrogate()) {
        --count;
    }
    return {text.first(count).toString(), count};
}

std::optional<char> Windows1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return char(c);
    }
    for (std::size_t i = 0; i < Windows1252From80.size(); ++i) {
        if (Windows1252From80[i] == c) {
            return char(0x80 + i);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<QByteArray> EncodeProfile(const ProfileText& decoded, QString& unencodable) {
    QByteArray bytes = decoded.byteOrderMarks;
    if (decoded.encoding == ProfileEncoding::Windows1252) {
        for (qsizetype i = 0; i < decoded.text.size(); ++i) {
            const std::optional<char> byte = Windows1252Byte(decoded.text[i].unicode());
            if (!byte) {
                const bool pair = decoded.text[i].isHighSurrogate() && i + 1 < decoded.text.size();
                unencodable = decoded.text.sliced(i, pair ? 2 : 1);
                return std::nullopt;
            }
            bytes += *byte;
        }
        return bytes;
    }
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    bytes += utf8(decoded.text);
    if (utf8.hasError()) {
        // Only a lone surrogate half has no UTF-8 form.
        for (qsizetype i = 0; i < decoded.text.size(); ++i) {
            const QChar c = decoded.text[i];
            if (c.isHighSurrogate() && i + 1 < decoded.text.size() && decoded.text[i + 1].isLowSurrogate()) {
                ++i;
            } else if (c.isSurrogate()) {
                unencodable = c;
                break;
            }
        }
        return std::nullopt;
    }
    return bytes;
}

ProfileText DecodeProfile(QByteArrayView bytes) {
    constexpr QByteArrayView Mark = "\xEF\xBB\xBF";
    ProfileText decoded;
    if (bytes.startsWith(Mark)) {
        decoded.byteOrderMarks = Mark.toByteArray();
        bytes = bytes.sliced(Mark.size());
    }
    // Stateless: a sequence cut short at the end of the file counts as invalid too.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    decoded.text = utf8(bytes);
    if (utf8.hasError()) {
        decoded.text = DecodeWindows1252(bytes);
        decoded.encoding = ProfileEncoding::Windows1252;
    } else if (bytes.startsWith(Mark)) {
        decoded.byteOrderMarks += Mark;  // the decoder drops a mark at the start of the text as well
    }
    return decoded;
}

// Opened without blocking and checked on the open descriptor: a named pipe or a device in the map's place
// would otherwise hang the program, and a check of the path before opening could be outrun.
std::optional<QByteArray> ProfileReader::ReadBytes(const QString& path) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return errno == ENOENT ? std::optional(QByteArray()) : std::nullopt;
    }
    struct stat status {};
    QFile file;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > MaxProfileBytes ||
        !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return std::nullopt;
    }
    // Read one byte past the limit: a file that grew since fstat is refused too.
    QByteArray bytes = file.read(MaxProfileBytes + 1);
    if (bytes.size() > MaxProfileBytes || file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

ProfileReader ProfileReader::FromFile(const QString& path) {
    return FromBytes(ReadBytes(path).value_or(QByteArray()));
}

ProfileReader ProfileReader::FromBytes(QByteArrayView contents) {
    return ProfileReader(DecodeProfile(contents).text);
}

ProfileString ProfileReader::GetPrivateProfileString(QStringView section, QStringView key, const QString& def,
                                                     qsizetype size) const {
    bool inSection = false;
    for (QStringView line : qTokenize(text_, u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            if (inSection) {
                break;  // only the first section of that name is searched
            }
            const qsizetype end = line.lastIndexOf(u']');
            const QStringView name = line.first(end < 0 ? line.size() : end).sliced(1).trimmed();
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
        } else if (inSection && !line.startsWith(u';')) {
            const qsizetype equals = line.indexOf(u'=');
            if (equals >= 0 && line.first(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
                return Cut(line.sliced(equals + 1).trimmed(), size);
            }
        }
    }
    return Cut(def, size);
}

}  // namespace platform
