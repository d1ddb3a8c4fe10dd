#include "platform/desktop/ProfileName.h"

#include <QCoreApplication>
#include <QList>

#include <algorithm>
#include <iterator>
#include <utility>

namespace platform {
namespace {

// Letters and marks that show nothing, or a blank no one tells from none, beside the format characters
// (a zero-width space, a joiner, a direction override): the Hangul fillers, the Braille blank, the
// variation selectors, the combining grapheme joiner, the Khmer inherent vowels and the Mongolian
// selectors.
constexpr std::pair<char32_t, char32_t> Blanks[] = {
    {0x034F, 0x034F}, {0x115F, 0x1160}, {0x17B4, 0x17B5}, {0x180B, 0x180F},   {0x2800, 0x2800},
    {0x3164, 0x3164}, {0xFE00, 0xFE0F}, {0xFFA0, 0xFFA0}, {0xE0100, 0xE01EF},
};

bool Invisible(char32_t c) {
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Format || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph ||
           std::any_of(std::begin(Blanks), std::end(Blanks),
                       [c](const auto& range) { return c >= range.first && c <= range.second; });
}

}  // namespace

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
    // Two names that look the same would be two profiles: "Film" and "Film ", "Fi\u200Blm" or
    // "Film\u3164", or a name shown backwards by a direction override.
    if (name != name.trimmed()) {
        return Tr(QT_TRANSLATE_NOOP("ProfileName",
                                    "Il nome del profilo non può cominciare né finire con uno spazio."));
    }
    // By code point: a tag or a variation selector past U+FFFF is two code units of no category.
    const QList<uint> codes = name.toUcs4();
    if (std::any_of(codes.cbegin(), codes.cend(), Invisible)) {
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
