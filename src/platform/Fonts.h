#pragma once
// Font families as the windows name them, with their metric-compatible substitutes.

#include <QString>
#include <QStringList>

namespace platform {

// The first of `families` that is installed, else the last one (the toolkit then substitutes).
QString InstalledFamily(const QStringList& families);

// "Comic Sans MS", else "Comic Neue".
QString ComicFamily();
// "Arial", else "Liberation Sans".
QString ArialFamily();

}  // namespace platform
