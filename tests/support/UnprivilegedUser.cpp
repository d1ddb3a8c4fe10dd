#include "support/UnprivilegedUser.h"

#include <QDirIterator>
#include <QFile>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;

void GiveToNobody(const QString& path) {
    if (::lchown(QFile::encodeName(path).constData(), Nobody, NoGroup) != 0) {
        std::abort();
    }
}

}  // namespace

UnprivilegedUser::UnprivilegedUser(const QString& tree) : switched_(::geteuid() == 0) {
    if (!switched_) {
        return;
    }
    GiveToNobody(tree);
    QDirIterator entries(tree, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        GiveToNobody(entries.next());
    }
    if (::setresgid(NoGroup, NoGroup, 0) != 0 || ::setresuid(Nobody, Nobody, 0) != 0) {
        std::abort();
    }
}

UnprivilegedUser::~UnprivilegedUser() {
    if (switched_ && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0)) {
        std::abort();
    }
}
