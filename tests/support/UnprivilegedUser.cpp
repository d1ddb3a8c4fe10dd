#include "support/UnprivilegedUser.h"

#include <QDirIterator>
#include <QFile>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;
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
            Require(::lchown(QFile::encodeName(path).constData(), Nobody, NoGroup) == 0);
        };
        give(tree);
        while (entries.hasNext()) {
            give(entries.next());
        }
        Require(::setresgid(NoGroup, NoGroup, 0) == 0 && ::setresuid(Nobody, Nobody, 0) == 0);
    }
}

UnprivilegedUser::~UnprivilegedUser() {
    Require(!switched_ || (::setresuid(0, 0, 0) == 0 && ::setresgid(0, 0, 0) == 0));
}
