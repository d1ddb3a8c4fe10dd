#include "platform/desktop/Trash.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace platform {

bool MoveToTrash(const QString& path) {
    // Qt (6.4) moves the file into files/ under the current folder when it cannot make the user's trash,
    // as when the data folder is missing, and reports success: the trash is made first, owner only, as
    // the desktop makes it, or nothing moves.
    const QDir data(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const QString trash = QStringLiteral("Trash");
    const bool made =
        QDir().mkpath(data.path()) &&
        (data.exists(trash) || data.mkdir(trash, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) &&
        QDir(data.filePath(trash)).mkpath(QStringLiteral("files")) &&
        QDir(data.filePath(trash)).mkpath(QStringLiteral("info"));
    return made && QFile::moveToTrash(path);
}

}  // namespace platform
