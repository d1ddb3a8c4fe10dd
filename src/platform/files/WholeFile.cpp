#include "platform/files/WholeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

// Past the file-size limit (ulimit -f) a write then fails with EFBIG and is refused with its reason;
// the signal's default would end the program and lose what was being written. The program ignores it
// from its start; this holds for any other user of these writes too.
void RefuseWritesPastTheLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
}

// The file must be open unbuffered: a short write (a full disk, a file-size limit) then shows in what
// write returns; a buffered one is flushed later, by a commit that reports success over a file cut short.
bool WriteAll(QFileDevice& file, QByteArrayView bytes, QString& error) {
    errno = 0;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        error = file.error() != QFileDevice::NoError ? file.errorString() : qt_error_string(errno);
        return false;
    }
    return true;
}

// Puts the written file at path unless a file stands there: renameat2's RENAME_NOREPLACE, or on a file
// system without it (NFS), a hard link, which fails as well when the name is taken, and then the
// temporary name's removal.
bool PutInPlace(const QByteArray& written, const QByteArray& path, QString& error) {
    if (::renameat2(AT_FDCWD, written.constData(), AT_FDCWD, path.constData(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if ((errno == EINVAL || errno == ENOSYS) && ::link(written.constData(), path.constData()) == 0) {
        ::unlink(written.constData());
        return true;
    }
    error = qt_error_string(errno);
    return false;
}

}  // namespace

bool ReplaceWhole(const QString& path, QByteArrayView bytes, const SettleAccess& access, QString& error) {
    RefuseWritesPastTheLimit();
    QSaveFile file(path);  // follows a symbolic link: its target is written
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    if (!access(file.handle(), error)) {
        file.cancelWriting();
        return false;
    }
    if (!WriteAll(file, bytes, error)) {
        return false;  // the temporary file goes with file
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool CreateWhole(const QString& path, QByteArrayView bytes, const SettleAccess& access, QString& error) {
    RefuseWritesPastTheLimit();
    const QFileInfo target(path);
    // Hidden, and not named as the file: no listing of the folder takes it for one while it is written.
    QFile file(target.dir().filePath(QStringLiteral(".%1.%2").arg(
        target.fileName(), QString::number(QRandomGenerator::global()->generate64(), 36))));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    const QByteArray written = QFile::encodeName(file.fileName());
    bool done = access(file.handle(), error) && WriteAll(file, bytes, error);
    if (done && ::fsync(file.handle()) != 0) {
        error = qt_error_string(errno);
        done = false;
    }
    file.close();
    if (!done || !PutInPlace(written, QFile::encodeName(path), error)) {
        ::unlink(written.constData());
        return false;
    }
    return true;
}

}  // namespace platform
