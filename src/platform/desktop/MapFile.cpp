#include "platform/desktop/MapFile.h"

#include "platform/ProgramDirectory.h"
#include "platform/desktop/Language.h"
#include "platform/desktop/Settings.h"
#include "platform/files/ProfileReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

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
    return CommandLineMap().isEmpty() ? SearchedMapFile() : CommandLineMap();
}

QString SearchedMapFile() {
    const QStringList candidates = MapSearchPath();
    // Beside the executable is the map's own place: a broken file there is the map, read as empty,
    // and is not passed over for a map the portable copy did not ask for.
    if (QFileInfo::exists(candidates.first())) {
        return candidates.first();
    }
    for (const QString& candidate : candidates.sliced(1)) {
        if (IsReadableMap(candidate)) {
            return candidate;
        }
    }
    return {};
}

void SetMapFile(const QString& path) {
    CommandLineMap() = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

QString ChosenMapFile() {
    return CommandLineMap();
}

bool IsReadableMap(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

QString UserMapPath() {
    return QDir(UserConfigDirectory()).filePath(QString::fromUtf16(NomeMappa));
}

// The English example for English users, else (or when it is missing) the Italian one.
QString ExampleMapPath() {
    QStringList names{QString::fromUtf16(NomeMappa)};
    if (ChooseLanguage(LocaleVariablesOfProcess()) == Language::English) {
        names.prepend(QStringLiteral("Corvane.en.ini"));
    }
    for (const QString& name : names) {
        const QString inFolder = QStringLiteral("corvane/") + name;
        const QString beside = QDir(ProgramDirectory()).filePath(QStringLiteral("../share/") + inFolder);
        if (IsReadableMap(beside)) {
            return QDir::cleanPath(beside);
        }
        QString installed = QStandardPaths::locate(QStandardPaths::GenericDataLocation, inFolder);
        if (IsReadableMap(installed)) {
            return installed;
        }
    }
    return {};
}

MapTarget MapSaveTarget() {
    if (!CommandLineMap().isEmpty()) {
        return {CommandLineMap(), {}, {}};
    }
    const QString found = MapFile();
    if (found.isEmpty()) {
        return {UserMapPath(), {}, {}};
    }
    const QFileInfo info(found);
    const bool writable = info.isFile() && info.isWritable();
    if (found == MapSearchPath().first()) {
        return writable ? MapTarget{found, {}, {}} : MapTarget{{}, {}, found};
    }
    if (writable || found == UserMapPath()) {
        return {found, {}, {}};
    }
    return {UserMapPath(), found, {}};
}

bool CopyToNewFile(const QString& source, const QString& target) {
    const std::optional<QByteArray> bytes = ProfileReader::ReadBytes(source);
    if (!bytes) {
        return false;
    }
    // Created here or not at all: a file made at target meanwhile is never replaced, and the mode is
    // 0666 less the umask, as for any file the user makes.
    const QByteArray name = QFile::encodeName(target);
    const int descriptor = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return false;
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
    }
    const bool written = file.isOpen() && file.write(*bytes) == bytes->size() && file.flush();
    file.close();
    if (!written) {
        ::unlink(name.constData());
    }
    return written;
}

QString MapBlockedText(const QString& path) {
    return QCoreApplication::translate("MapFile",
                                       "Il file %1 accanto al programma non si può modificare ed è letto al "
                                       "posto di ogni altra mappa.\rPer usare un'altra mappa avviare il "
                                       "programma con --map FILE.")
        .arg(QDir::toNativeSeparators(path));
}

QString MapToEdit() {
    const MapTarget target = MapSaveTarget();
    if (target.path.isEmpty()) {
        return {};
    }
    const QString source = target.copyFrom.isEmpty() ? ExampleMapPath() : target.copyFrom;
    if (QDir().mkpath(QFileInfo(target.path).absolutePath()) && !source.isEmpty()) {
        CopyToNewFile(source, target.path);  // fails harmlessly where a file already stands
    }
    return target.path;
}

}  // namespace platform
