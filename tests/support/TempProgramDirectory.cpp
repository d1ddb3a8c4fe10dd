#include "support/TempProgramDirectory.h"

#include "platform/ProgramDirectory.h"

#include <QFile>

TempProgramDirectory::TempProgramDirectory()
    : configHome_(qgetenv("XDG_CONFIG_HOME")), configDirs_(qgetenv("XDG_CONFIG_DIRS")) {
    platform::SetProgramDirectory(dir_.path());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("config"))));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir_.filePath(QStringLiteral("xdg"))));
}

TempProgramDirectory::~TempProgramDirectory() {
    platform::SetProgramDirectory(QString());
    qputenv("XDG_CONFIG_HOME", configHome_);
    qputenv("XDG_CONFIG_DIRS", configDirs_);
}

void TempProgramDirectory::WriteIni(const QByteArray& bytes) const {
    QFile file(dir_.filePath(QStringLiteral("Corvane.ini")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the test's Corvane.ini");
    }
}
