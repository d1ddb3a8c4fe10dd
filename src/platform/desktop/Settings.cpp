#include "platform/desktop/Settings.h"

#include "platform/files/ProfileReader.h"
#include "platform/files/ProfileWriter.h"
#include "platform/files/RegularFile.h"

#include <QDir>
#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryFile>
#include <QUrl>

#include <optional>
#include <utility>
#include <vector>

namespace platform {
namespace {

Q_LOGGING_CATEGORY(lcSettings, "corvane.settings")

const QString kGuidKey = QStringLiteral("controller/guid");
const QString kNameKey = QStringLiteral("controller/name");
const QString kPortKey = QStringLiteral("controller/port");
const QString kProfileKey = QStringLiteral("profile/active");
// A pad's profile: its key names the pad, its value is the profile; "/", which no profile's name holds,
// stands for the default, so that an empty value is never mistaken for a pad without a profile.
const QString kPadProfileSection = QStringLiteral("pads/");
const QString kDefaultProfileValue = QStringLiteral("/");

// The pad's key: its GUID and port, escaped so that no byte of a port a device names itself can end the
// key or the line.
QString PadKey(const QString& guid, const QString& port) {
    return kPadProfileSection + QString::fromLatin1(QUrl::toPercentEncoding(guid + u'@' + port, ":.-_/"));
}

// The settings file's bytes, empty for a missing file, none (with a warning) when anything but a
// regular file within the limit is in its place.
std::optional<QByteArray> ReadSettingsFile() {
    const RegularFile file = ReadRegularFile(UserSettingsFile(), MaxSettingsFileBytes);
    if (file.status == RegularFile::Status::Read || file.status == RegularFile::Status::Missing) {
        return file.bytes;
    }
    qCWarning(lcSettings) << UserSettingsFile() << "is not a readable plain file of at most"
                          << MaxSettingsFileBytes << "bytes: not used";
    return std::nullopt;
}

// One value's text in QSettings' ini syntax, read or written through a private file of its own: the
// settings file's lines are found by ProfileReader and ProfileWriter, with the map's rules, so that the
// line written is the line read; QSettings would match names by case and take the last duplicate.
class SettingsCopy {
public:
    explicit SettingsCopy(const QByteArray& bytes) {
        if (copy_.open() && copy_.write(bytes) == bytes.size() && copy_.flush()) {
            settings_.emplace(copy_.fileName(), QSettings::IniFormat);
        }
    }
    bool IsMade() const { return settings_.has_value(); }
    QSettings& Settings() { return *settings_; }

    // The copy's bytes once QSettings has written them.
    std::optional<QByteArray> Written() {
        settings_->sync();
        QFile written(copy_.fileName());  // QSettings replaced the file: not the one copy_ holds open
        if (settings_->status() != QSettings::NoError || !written.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        return written.readAll();
    }

private:
    QTemporaryFile copy_;
    std::optional<QSettings> settings_;
};

// A key's text as it stands in the file, found as the writer finds it: names in any case, the first
// section and key of a name, the file read as UTF-8 or else Windows-1252. Nothing when it is not there.
std::optional<QString> SettingLine(const QByteArray& bytes, const QString& name) {
    const qsizetype slash = name.indexOf(u'/');
    const ProfileString found = ProfileReader::FromBytes(bytes).GetPrivateProfileString(
        name.first(slash), name.sliced(slash + 1), QStringLiteral("\n"), MaxSettingsFileBytes);
    return found.text == u"\n" ? std::nullopt : std::optional(found.text);
}

// Where a trailing "; comment" begins in a key's text (quotes and backslash escapes as QSettings reads
// them), or the text's length.
qsizetype CommentStart(const QString& text) {
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\') {
            ++i;
        } else if (text[i] == u'"') {
            quoted = !quoted;
        } else if (text[i] == u';' && !quoted) {
            return i;
        }
    }
    return text.size();
}

// One key's value, empty when the file or the key is not there. Values keep QSettings' syntax (quotes,
// escapes, a trailing comment), which earlier versions wrote.
QString ReadSetting(const QString& name) {
    const std::optional<QByteArray> bytes = ReadSettingsFile();
    const std::optional<QString> text = bytes ? SettingLine(*bytes, name) : std::nullopt;
    if (!text) {
        return {};
    }
    SettingsCopy copy("[s]\nk=" + text->toUtf8() + '\n');
    return copy.IsMade() ? copy.Settings().value(QStringLiteral("s/k")).toString() : QString();
}

// A value as QSettings writes it in its ini format (quoted, escaped), so that it reads it back.
std::optional<QString> SettingsText(const QString& value) {
    SettingsCopy copy({});
    if (!copy.IsMade()) {
        return std::nullopt;
    }
    copy.Settings().setValue(QStringLiteral("k"), value);
    const std::optional<QByteArray> written = copy.Written();
    if (!written) {
        return std::nullopt;
    }
    for (const QByteArray& line : written->split('\n')) {
        if (line.startsWith("k=")) {
            return QString::fromUtf8(line.sliced(2)).trimmed();
        }
    }
    return std::nullopt;
}

// Sets each "section/key" to its value (empty: none) in the file as it is now. Only the lines of values
// that change are written; every other byte the user wrote stays, comments and order included.
bool WriteSettings(const std::vector<std::pair<QString, QString>>& values) {
    const std::optional<QByteArray> bytes = ReadSettingsFile();
    if (!bytes) {
        return false;
    }
    ProfileWriter file(*bytes);
    bool changes = false;
    for (const auto& [name, value] : values) {
        if (ReadSetting(name) == value) {
            continue;
        }
        const std::optional<QString> text = SettingsText(value);
        if (!text) {
            qCWarning(lcSettings) << "cannot write" << UserSettingsFile();
            return false;
        }
        // The user's comment after the value stays, with the blanks before it.
        const QString line = SettingLine(*bytes, name).value_or(QString());
        qsizetype valueEnd = CommentStart(line);
        while (valueEnd > 0 && line[valueEnd - 1].isSpace()) {
            --valueEnd;
        }
        const qsizetype slash = name.indexOf(u'/');
        file.WriteProfileString(name.first(slash), name.sliced(slash + 1),
                                (*text + line.sliced(valueEnd)).trimmed());
        changes = true;
    }
    QString error;
    if (!changes || (QDir().mkpath(UserConfigDirectory()) && file.Save(UserSettingsFile(), error))) {
        return true;
    }
    qCWarning(lcSettings) << "cannot write" << UserSettingsFile() << error;
    return false;
}

}  // namespace

// The XDG base-directory rules: an XDG_CONFIG_HOME that is unset, empty or relative means ~/.config.
QString UserConfigDirectory() {
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || !QDir::isAbsolutePath(configHome)) {
        configHome = QDir(QDir::homePath()).filePath(QStringLiteral(".config"));
    }
    return QDir(configHome).filePath(QStringLiteral("corvane"));
}

// The file is named here rather than through QSettings' organisation and application names: QSettings
// looks up XDG_CONFIG_HOME once per process.
QString UserSettingsFile() {
    return QDir(UserConfigDirectory()).filePath(QStringLiteral("corvane.conf"));
}

ChosenController ReadChosenController() {
    return {ReadSetting(kGuidKey), ReadSetting(kNameKey), ReadSetting(kPortKey)};
}

bool WriteChosenController(const ChosenController& chosen) {
    // The automatic choice empties all three; a choice without a port chooses by GUID alone.
    return WriteSettings({{kGuidKey, chosen.guid},
                          {kNameKey, chosen.guid.isEmpty() ? QString() : chosen.name},
                          {kPortKey, chosen.guid.isEmpty() ? QString() : chosen.port}});
}

QString ReadActiveProfile() {
    return ReadSetting(kProfileKey);
}

bool WriteActiveProfile(const QString& name) {
    return WriteSettings({{kProfileKey, name}});
}

std::optional<QString> ReadPadProfile(const QString& guid, const QString& port) {
    const QString value = ReadSetting(PadKey(guid, port));
    if (value.isEmpty()) {
        return std::nullopt;
    }
    return value == kDefaultProfileValue ? QString() : value;
}

bool WritePadProfile(const QString& guid, const QString& port, const QString& name) {
    return WriteSettings({{PadKey(guid, port), name.isEmpty() ? kDefaultProfileValue : name}});
}

}  // namespace platform
