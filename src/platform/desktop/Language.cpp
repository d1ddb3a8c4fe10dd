#include "platform/desktop/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <optional>

Q_LOGGING_CATEGORY(lcLanguage, "corvane.language")

namespace platform {

namespace {

// The language part of a locale name: "en_GB.UTF-8@euro" gives "en".
QStringView LanguageOf(QStringView locale) {
    qsizetype end = 0;
    while (end < locale.size() && locale[end] != u'_' && locale[end] != u'.' && locale[end] != u'@') {
        ++end;
    }
    return locale.left(end);
}

// The language of a locale name or a LANGUAGE entry, when the program has it; C and POSIX stand for
// the program's own texts.
std::optional<Language> Named(QStringView locale) {
    const QStringView language = LanguageOf(locale);
    if (language == u"it" || language == u"C" || language == u"POSIX") {
        return Language::Italian;
    }
    if (language == u"en") {
        return Language::English;
    }
    return std::nullopt;
}

}  // namespace

Language ChooseLanguage(const LocaleVariables& variables) {
    QString locale = variables.lcAll;
    if (locale.isEmpty()) {
        locale = variables.lcMessages;
    }
    if (locale.isEmpty()) {
        locale = variables.lang;
    }
    // The C locale keeps the program's own messages, whatever LANGUAGE asks for.
    if (locale.isEmpty() || locale == u"C" || locale == u"POSIX") {
        return Language::Italian;
    }
    if (!variables.language.isEmpty()) {
        for (const QStringView entry : QStringView(variables.language).split(u':')) {
            if (const std::optional<Language> language = Named(entry)) {
                return *language;
            }
        }
        return Language::Italian;
    }
    return Named(locale).value_or(Language::Italian);
}

LocaleVariables LocaleVariablesOfProcess() {
    return {qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"),
            qEnvironmentVariable("LC_MESSAGES"), qEnvironmentVariable("LANG")};
}

Translations::Translations(Language language) {
    const QLocale locale(language == Language::English ? QLocale::English : QLocale::Italian);
    if (language == Language::English) {
        if (program.load(QStringLiteral(":/i18n/corvane_en.qm"))) {
            QCoreApplication::installTranslator(&program);
        } else {
            qCWarning(lcLanguage) << "the English translation is missing from the program";
        }
    }
    if (qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qt);
    }
}

Translations::~Translations() {
    QCoreApplication::removeTranslator(&qt);
    QCoreApplication::removeTranslator(&program);
}

}  // namespace platform
