#include "support/TempProgramDirectory.h"

#include "platform/ProgramDirectory.h"

#include <QFile>

TempProgramDirectory::TempProgramDirectory() { platform::SetProgramDirectory(dir_.path()); }

TempProgramDirectory::~TempProgramDirectory() { platform::SetProgramDirectory(QString()); }

void TempProgramDirectory::WriteIni(const QByteArray& bytes) const {
    QFile file(dir_.filePath(QStringLiteral("Corvane.ini")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the test's Corvane.ini");
    }
}
