#pragma once
// A temporary program directory for one test: ProgramDirectory points at it while it lives.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TempProgramDirectory {
public:
    TempProgramDirectory();
    ~TempProgramDirectory();
    TempProgramDirectory(const TempProgramDirectory&) = delete;
    TempProgramDirectory& operator=(const TempProgramDirectory&) = delete;

    QString path() const { return dir_.path(); }
    // Writes Corvane.ini in the directory with exactly these bytes.
    void WriteIni(const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
};
