#include "splash_about/TestoVersione.h"

#include <QCoreApplication>

QString TestoVersione(const platform::VersionRecord& version) {
    return QCoreApplication::translate("TestoVersione", "Versione %1.%2%3")
        .arg(version.Major)
        .arg(version.Minor)
        .arg(version.Revision);
}
