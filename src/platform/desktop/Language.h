#pragma once
// The language of the interface: Italian, the program's own, or English when the user's locale
// asks for it; and the translators that show it.

#include <QString>
#include <QTranslator>

namespace platform {

enum class Language { Italian, English };

// The environment variables that name the language of messages, as the process received them.
struct LocaleVariables {
    QString language;    // LANGUAGE: a colon-separated list of preferences
    QString lcAll;       // LC_ALL
    QString lcMessages;  // LC_MESSAGES
    QString lang;        // LANG
};

// The language by the rules of GNU gettext: the locale is the first non-empty of LC_ALL,
// LC_MESSAGES and LANG; unless that locale is C or POSIX, a non-empty LANGUAGE list replaces it,
// and its first entry that names Italian or English decides. Italian for everything else.
Language ChooseLanguage(const LocaleVariables& variables);

LocaleVariables LocaleVariablesOfProcess();

// The program's translation and Qt's own (standard buttons), installed on the application for as
// long as this object lives. Italian needs no translation of the program; a missing Qt
// translation leaves Qt's English texts.
class Translations {
public:
    explicit Translations(Language language);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

private:
    QTranslator program;
    QTranslator qt;
};

}  // namespace platform
