#include "platform/desktop/Settings.h"

#include <QDir>
#include <QLoggingCategory>
#include <QSettings>

namespace platform {
namespace {

Q_LOGGING_CATEGORY(lcSettings, "corvane.settings")

const QString kGuidKey = QStringLiteral("controller/guid");
const QString kNameKey = QStringLiteral("controller/name");

// The file is named here rather than through QSettings' organisation and application names: QSettings
// looks up XDG_CONFIG_HOME once per process.
QSettings UserSettings() {
    return {QDir(UserConfigDirectory()).filePath(QStringLiteral("corvane.conf")), QSettings::IniFormat};
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

ChosenController ReadChosenController() {
    const QSettings settings = UserSettings();
    return {settings.value(kGuidKey).toString(), settings.value(kNameKey).toString()};
}

bool WriteChosenController(const ChosenController& chosen) {
    QSettings settings = UserSettings();
    if (chosen.guid.isEmpty()) {
        settings.remove(QStringLiteral("controller"));
    } else {
        settings.setValue(kGuidKey, chosen.guid);
        settings.setValue(kNameKey, chosen.name);
    }
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        qCWarning(lcSettings) << "cannot write" << settings.fileName();
        return false;
    }
    return true;
}

}  // namespace platform
