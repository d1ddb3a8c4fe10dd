#include "platform/desktop/Settings.h"

#include "platform/files/RegularFile.h"

#include <QDir>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>

#include <functional>
#include <optional>

namespace platform {
namespace {

Q_LOGGING_CATEGORY(lcSettings, "corvane.settings")

const QString kGuidKey = QStringLiteral("controller/guid");
const QString kNameKey = QStringLiteral("controller/name");
const QString kPortKey = QStringLiteral("controller/port");
const QString kProfileKey = QStringLiteral("profile/active");

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

// QSettings opens its file itself, blocking on a named pipe, and reads it whole: it works on a private
// copy of the file's bytes instead, read without waiting, in the ini format users' files already have.
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

// One key's value, empty when the file or the key is not there.
QString ReadSetting(const QString& key) {
    const std::optional<QByteArray> bytes = ReadSettingsFile();
    if (!bytes || bytes->isEmpty()) {
        return {};
    }
    SettingsCopy copy(*bytes);
    return copy.IsMade() ? copy.Settings().value(key).toString() : QString();
}

// Applies change to the settings as the file holds them now and writes them back whole.
bool WriteSettings(const std::function<void(QSettings&)>& change) {
    const std::optional<QByteArray> bytes = ReadSettingsFile();
    if (!bytes) {
        return false;
    }
    SettingsCopy copy(*bytes);
    if (copy.IsMade()) {
        change(copy.Settings());
        // Written whole beside the file and renamed over it, as QSettings itself does.
        const std::optional<QByteArray> written = copy.Written();
        QSaveFile file(UserSettingsFile());
        if (written && QDir().mkpath(UserConfigDirectory()) && file.open(QIODevice::WriteOnly) &&
            file.write(*written) == written->size() && file.commit()) {
            return true;
        }
    }
    qCWarning(lcSettings) << "cannot write" << UserSettingsFile();
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
    return WriteSettings([&chosen](QSettings& settings) {
        if (chosen.guid.isEmpty()) {
            settings.remove(QStringLiteral("controller"));
        } else {
            settings.setValue(kGuidKey, chosen.guid);
            settings.setValue(kNameKey, chosen.name);
            if (chosen.port.isEmpty()) {
                settings.remove(kPortKey);  // no port known: the choice is by GUID alone
            } else {
                settings.setValue(kPortKey, chosen.port);
            }
        }
    });
}

QString ReadActiveProfile() {
    return ReadSetting(kProfileKey);
}

bool WriteActiveProfile(const QString& name) {
    return WriteSettings([&name](QSettings& settings) {
        if (name.isEmpty()) {
            settings.remove(kProfileKey);
        } else {
            settings.setValue(kProfileKey, name);
        }
    });
}

}  // namespace platform
