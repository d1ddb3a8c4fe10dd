#include "platform/desktop/ProfileName.h"

#include <QCoreApplication>
#include <algorithm>

namespace platform {

QString ProfileNameProblem(const QString& name) {
    // The texts are marked where they stand, for lupdate.
    const auto Tr = [](const char* text) { return QCoreApplication::translate("ProfileName", text); };
    if (name.isEmpty()) {
        return Tr(QT_TRANSLATE_NOOP("ProfileName", "Il nome del profilo è vuoto."));
    }
    if (name.contains(u'/')) {
        return Tr(QT_TRANSLATE_NOOP("ProfileName", "Il nome del profilo non può contenere \"/\"."));
    }
    if (name.startsWith(u'.')) {
        return Tr(QT_TRANSLATE_NOOP("ProfileName", "Il nome del profilo non può cominciare con \".\"."));
    }
    if (std::any_of(name.cbegin(), name.cend(),
                    [](QChar c) { return c.category() == QChar::Other_Control; })) {
        return Tr(QT_TRANSLATE_NOOP("ProfileName",
                                    "Il nome del profilo non può contenere caratteri di controllo."));
    }
    if (name.size() > ProfileNameMaxLength) {
        return Tr(QT_TRANSLATE_NOOP("ProfileName", "Il nome del profilo supera %1 caratteri."))
            .arg(ProfileNameMaxLength);
    }
    return {};
}

}  // namespace platform
