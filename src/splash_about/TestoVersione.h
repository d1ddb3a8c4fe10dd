#pragma once
// The version text of the splash and about windows.

#include "platform/Shell.h"

#include <QString>

// "Versione " then major "." and minor and revision side by side, in plain decimal:
// 1.0.0 gives "Versione 1.00", 2.10.3 gives "Versione 2.103".
QString TestoVersione(const platform::VersionRecord& version);
