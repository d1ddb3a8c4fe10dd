#include "platform/files/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

RegularFile ReadRegularFile(const QString& path, qint64 maxBytes) {
    using Status = RegularFile::Status;
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return {errno == ENOENT ? Status::Missing : Status::Unreadable, {}};
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        const Status refused = S_ISREG(status.st_mode) ? Status::Unreadable : Status::NotRegular;
        ::close(descriptor);
        return {refused, {}};
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return {Status::Unreadable, {}};
    }
    RegularFile read{Status::Read, file.read(maxBytes + 1)};
    if (read.bytes.size() > maxBytes) {
        return {Status::TooLarge, {}};
    }
    if (file.error() != QFileDevice::NoError) {
        return {Status::Unreadable, {}};
    }
    return read;
}

}  // namespace platform
