#include "support/UnprivilegedUser.h"

#include <QDirIterator>
#include <QFile>
#include <cstdlib>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr gid_t NoGroup = 65534;

void Require(bool done) {
    if (!done) {
        std::abort();
    }
}

}  // namespace

UnprivilegedUser::UnprivilegedUser(const QString& tree) : switched_(::geteuid() == 0) {
    if (switched_) {
        QDirIterator entries(tree, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
        const auto give = [](const QString& path) {
            const QByteArray name = QFile::encodeName(path);
            struct stat status {};
            Require(::lstat(name.constData(), &status) == 0);
            Require(::lchown(name.constData(), status.st_uid == 0 ? Nobody : uid_t(-1),
                             status.st_gid == 0 ? NoGroup : gid_t(-1)) == 0);
        };
        give(tree);
        while (entries.hasNext()) {
            give(entries.next());
        }
        rootGroups_.resize(std::size_t(::getgroups(0, nullptr)));
        Require(::getgroups(int(rootGroups_.size()), rootGroups_.data()) == int(rootGroups_.size()));
        const gid_t groups[] = {NoGroup, SharedGroup};
        Require(::setgroups(2, groups) == 0);
        Require(::setresgid(NoGroup, NoGroup, 0) == 0 && ::setresuid(Nobody, Nobody, 0) == 0);
    }
}

UnprivilegedUser::~UnprivilegedUser() {
    Require(!switched_ || (::setresuid(0, 0, 0) == 0 && ::setresgid(0, 0, 0) == 0 &&
                           ::setgroups(rootGroups_.size(), rootGroups_.data()) == 0));
}
