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
    // Two names that look the same would be two profiles: "Film" and "Film " or "Fi\u200Blm", or a name
    // shown backwards by a direction override.
    if (name != name.trimmed()) {
        return Tr(QT_TRANSLATE_NOOP("ProfileName",
                                    "Il nome del profilo non può cominciare né finire con uno spazio."));
    }
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) {
            return c.category() == QChar::Other_Format || c.category() == QChar::Separator_Line ||
                   c.category() == QChar::Separator_Paragraph;
        })) {
        return Tr(QT_TRANSLATE_NOOP("ProfileName",
                                    "Il nome del profilo non può contenere caratteri invisibili "
                                    "o che cambiano la direzione del testo."));
    }
    if (name.size() > ProfileNameMaxLength) {
        return Tr(QT_TRANSLATE_NOOP("ProfileName", "Il nome del profilo supera %1 caratteri."))
            .arg(ProfileNameMaxLength);
    }
    return {};
}

}  // namespace platform
