#include "platform/files/FileAccess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool KeepAccess(const QString& path, int descriptor, QString& error) {
    const QByteArray name = QFile::encodeName(path);
    const int source = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (source < 0 && errno == ENOENT) {
        return true;  // a new file: the umask and the folder's default access list decide
    }
    struct stat old {};
    if (source < 0 || ::fstat(source, &old) != 0) {
        error = qt_error_string(errno);
        if (source >= 0) {
            ::close(source);
        }
        return false;
    }
    const QFileInfo info(path);
    const QString group = info.group().isEmpty() ? QString::number(old.st_gid) : info.group();
    error.clear();
    if (old.st_uid != ::geteuid() && ::geteuid() != 0) {
        error = QCoreApplication::translate("platform::FileAccess",
                                            "il file appartiene all'utente %1: salvato da un altro utente ne "
                                            "cambierebbe il proprietario, e %1 potrebbe non leggerlo più")
                    .arg(info.owner().isEmpty() ? QString::number(old.st_uid) : info.owner());
    } else if (::fchown(descriptor, old.st_uid, old.st_gid) != 0) {
        const QString why = qt_error_string(errno);  // before anything else can change errno
        error =
            QCoreApplication::translate("platform::FileAccess",
                                        "il file è del gruppo %1, che il file salvato non può mantenere (%2)")
                .arg(group, why);
    } else if (::perm_copy_fd(name.constData(), source, name.constData(), descriptor, nullptr) != 0) {
        const QString why = qt_error_string(errno);
        error = QCoreApplication::translate("platform::FileAccess",
                                            "i permessi del file (ACL) non si possono mantenere (%1)")
                    .arg(why);
    } else if (::attr_copy_fd(name.constData(), source, name.constData(), descriptor, nullptr, nullptr) !=
               0) {
        const QString why = qt_error_string(errno);
        error = QCoreApplication::translate("platform::FileAccess",
                                            "gli attributi estesi del file non si possono mantenere (%1)")
                    .arg(why);
    }
    ::close(source);
    return error.isEmpty();
}

bool KeepAccessOfCopy(const QString& source, int descriptor, QString& error) {
    struct stat old {};
    if (::stat(QFile::encodeName(source).constData(), &old) != 0) {
        error = qt_error_string(errno);
        return errno == ENOENT;
    }
    if (old.st_uid == ::geteuid()) {
        return KeepAccess(source, descriptor, error);
    }
    struct stat made {};
    if (::fstat(descriptor, &made) != 0) {
        error = qt_error_string(errno);
        return false;
    }
    // Group bits only for the same group: the source's group may read it, the user's need not.
    const mode_t others = S_IRWXO | (made.st_gid == old.st_gid ? S_IRWXG : 0);
    if (::fchmod(descriptor, S_IRUSR | S_IWUSR | (made.st_mode & old.st_mode & others)) != 0) {
        error = qt_error_string(errno);
        return false;
    }
    return true;
}

}  // namespace platform
