#include "splash_about/TestoVersione.h"

QString TestoVersione(const platform::VersionRecord& version) {
    return QStringLiteral("Versione %1.%2%3").arg(version.Major).arg(version.Minor).arg(version.Revision);
}
