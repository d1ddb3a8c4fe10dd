#include "platform/Fonts.h"

#include <QFontDatabase>

namespace platform {

QString InstalledFamily(const QStringList& families) {
    // Exact names only: the font configuration would otherwise report an alias as installed.
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : families) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            return family;
        }
    }
    return families.isEmpty() ? QString() : families.back();
}

QString ComicFamily() {
    return InstalledFamily({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue")});
}

QString ArialFamily() {
    return InstalledFamily({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
}

}  // namespace platform
