#include "platform/ProgramDirectory.h"

#include <QCoreApplication>

namespace platform {
namespace {
QString& OverriddenDirectory() {
    static QString directory;
    return directory;
}
}  // namespace

QString ProgramDirectory() {
    const QString& overridden = OverriddenDirectory();
    return overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
}

void SetProgramDirectory(const QString& directory) {
    OverriddenDirectory() = directory;
}

}  // namespace platform
