#include "platform/desktop/MapFile.h"

#include "platform/ProgramDirectory.h"
#include "platform/desktop/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

QString& CommandLineMap() {
    static QString path;
    return path;
}

// The map's place inside a configuration or data folder.
QString MapInFolder() {
    return QStringLiteral("corvane/") + QString::fromUtf16(NomeMappa);
}

QString InCorvaneFolder(const QString& configDirectory) {
    return QDir(configDirectory).filePath(MapInFolder());
}

// The XDG base-directory rules: a relative path in this variable is invalid and ignored.
QStringList SystemConfigDirectories() {
    QStringList directories;
    const QStringList listed = qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts);
    for (const QString& directory : listed) {
        if (QDir::isAbsolutePath(directory)) {
            directories << directory;
        }
    }
    return listed.isEmpty() ? QStringList{QStringLiteral("/etc/xdg")} : directories;
}

}  // namespace

QStringList MapSearchPath() {
    QStringList candidates{QDir(ProgramDirectory()).filePath(QString::fromUtf16(NomeMappa)), UserMapPath()};
    for (const QString& directory : SystemConfigDirectories()) {
        candidates << InCorvaneFolder(directory);
    }
    return candidates;
}

QString MapFile() {
    if (!CommandLineMap().isEmpty()) {
        return CommandLineMap();
    }
    for (const QString& candidate : MapSearchPath()) {
        if (IsReadableMap(candidate)) {
            return candidate;
        }
    }
    return {};
}

void SetMapFile(const QString& path) {
    CommandLineMap() = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

bool IsReadableMap(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

QString UserMapPath() {
    return QDir(UserConfigDirectory()).filePath(QString::fromUtf16(NomeMappa));
}

QString ExampleMapPath() {
    const QString beside = QDir(ProgramDirectory()).filePath(QStringLiteral("../share/") + MapInFolder());
    if (IsReadableMap(beside)) {
        return QDir::cleanPath(beside);
    }
    const QString installed = QStandardPaths::locate(QStandardPaths::GenericDataLocation, MapInFolder());
    return IsReadableMap(installed) ? installed : QString();
}

QString MapToEdit() {
    QString found = MapFile();
    if (!found.isEmpty()) {
        return found;
    }
    QString user = UserMapPath();
    const QString example = ExampleMapPath();
    // QFile::copy never replaces an existing file, whatever kind of file it is.
    if (QDir().mkpath(QFileInfo(user).absolutePath()) && !example.isEmpty() && QFile::copy(example, user)) {
        // The installed example is read-only for the user; the copy is theirs to change.
        QFile::setPermissions(user,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return user;
}

}  // namespace platform
