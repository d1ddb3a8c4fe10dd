#include "platform/desktop/MimeApps.h"

#include "platform/files/ProfileReader.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

namespace platform {
namespace {

constexpr qsizetype NoLimit = 1 << 20;

// The list files of one folder, in the order they are consulted.
QStringList ListsIn(const QString& folder, bool withDefaultsList) {
    QStringList lists;
    for (const QString& desktop :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts)) {
        lists << QDir(folder).filePath(desktop.toLower() + QStringLiteral("-mimeapps.list"));
    }
    lists << QDir(folder).filePath(QStringLiteral("mimeapps.list"));
    if (withDefaultsList) {
        lists << QDir(folder).filePath(QStringLiteral("defaults.list"));
    }
    return lists;
}

QStringList MimeAppsLists() {
    QStringList lists;
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        lists << ListsIn(folder, false);
    }
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        lists << ListsIn(folder, true);
    }
    return lists;
}

}  // namespace

QString DefaultApplicationEntry(const QString& mimeType) {
    for (const QString& list : MimeAppsLists()) {
        const QString listed =
            ProfileReader::FromFile(list)
                .GetPrivateProfileString(u"Default Applications", mimeType, QString(), NoLimit)
                .text;
        for (const QString& entry : listed.split(u';', Qt::SkipEmptyParts)) {
            // A desktop file ID is a name, never a path.
            if (entry.contains(u'/')) {
                continue;
            }
            QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry.trimmed());
            if (!path.isEmpty()) {
                return path;
            }
        }
    }
    return {};
}

}  // namespace platform
