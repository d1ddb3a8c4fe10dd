#pragma once
// A temporary program directory for one test: ProgramDirectory points at it while it lives, and the
// XDG config directories point at its empty subfolders "config" and "xdg", so that no map of the
// machine's user or system is found.

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
    QByteArray configHome_;  // the variables as they were, restored at the end
    QByteArray configDirs_;
};
