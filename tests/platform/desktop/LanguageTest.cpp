#include "platform/desktop/Language.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using platform::Language;

struct Choice {
    const char* name;
    platform::LocaleVariables variables;  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
    Language expected;
};

TEST(ChooseLanguage, EnglishOnlyWhenTheLocaleNamesEnglishItalianOtherwise) {
    const auto v = [](const char* language, const char* lcAll, const char* lcMessages, const char* lang) {
        return platform::LocaleVariables{QString::fromLatin1(language), QString::fromLatin1(lcAll),
                                         QString::fromLatin1(lcMessages), QString::fromLatin1(lang)};
    };
    const std::vector<Choice> cases{
        {"nothing set", v("", "", "", ""), Language::Italian},
        {"English LANG", v("", "", "", "en_US.UTF-8"), Language::English},
        {"a language alone", v("", "", "", "en"), Language::English},
        {"a modifier", v("", "", "", "en_IE@euro"), Language::English},
        {"Italian LANG", v("", "", "", "it_IT.UTF-8"), Language::Italian},
        {"another language", v("", "", "", "de_DE.UTF-8"), Language::Italian},
        {"C", v("", "", "", "C"), Language::Italian},
        {"POSIX", v("", "", "", "POSIX"), Language::Italian},
        {"C.UTF-8", v("", "", "", "C.UTF-8"), Language::Italian},
        {"a locale that names no language", v("", "", "", ".UTF-8"), Language::Italian},
        {"garbage", v("", "", "", "xx"), Language::Italian},
        {"a dot", v("", "", "", "."), Language::Italian},
        {"a language tag is no locale name", v("", "", "", "en-US"), Language::Italian},
        {"a longer language code", v("", "", "", "eng_US"), Language::Italian},
        {"LC_ALL before LC_MESSAGES and LANG", v("", "it_IT.UTF-8", "en_US.UTF-8", "en_US.UTF-8"),
         Language::Italian},
        {"LC_MESSAGES before LANG", v("", "", "en_GB.UTF-8", "it_IT.UTF-8"), Language::English},
        {"empty LC_ALL is unset", v("", "", "", "en_GB.UTF-8"), Language::English},
        {"LANGUAGE before the locale", v("en_GB:it", "", "", "it_IT.UTF-8"), Language::English},
        {"LANGUAGE's first Italian or English entry decides", v("de:fr:it:en", "", "", "en_US.UTF-8"),
         Language::Italian},
        {"LANGUAGE with empty entries", v("::en", "", "", "it_IT.UTF-8"), Language::English},
        {"LANGUAGE naming neither keeps the program's texts", v("de:fr", "", "", "en_US.UTF-8"),
         Language::Italian},
        {"a C entry in LANGUAGE is the program's texts", v("C:en", "", "", "en_US.UTF-8"), Language::Italian},
        {"LANGUAGE is ignored in the C locale", v("en", "", "", "C"), Language::Italian},
        {"LANGUAGE is ignored in the POSIX locale", v("en", "", "", "POSIX"), Language::Italian},
        {"a modifier with no territory", v("en@quot:it", "", "", "it_IT.UTF-8"), Language::English},
        {"LANGUAGE is ignored with no locale set", v("en", "", "", ""), Language::Italian},
        {"LANGUAGE applies under C.UTF-8", v("en_GB", "", "", "C.UTF-8"), Language::English},
        {"LANGUAGE applies under a garbage locale", v("en", "", "", "xx"), Language::English},
    };
    for (const Choice& c : cases) {
        EXPECT_EQ(platform::ChooseLanguage(c.variables), c.expected) << c.name;
    }
}

// The program's own texts and Qt's standard buttons follow the language, and go back to the
// Italian source when the translations go.
TEST(Translations, TranslateTheProgramAndQtsStandardButtons) {
    struct Case {
        Language language;
        QString about;
        QString cancel;
    };
    const std::vector<Case> cases{
        {Language::Italian, QStringLiteral("Informazioni su..."), QStringLiteral("Annulla")},
        {Language::English, QStringLiteral("About..."), QStringLiteral("Cancel")},
    };
    for (const Case& c : cases) {
        const platform::Translations translations(c.language);
        EXPECT_EQ(QCoreApplication::translate("MainForm", "Informazioni su..."), c.about);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), c.cancel);
    }
    EXPECT_EQ(QCoreApplication::translate("MainForm", "Informazioni su..."),
              QStringLiteral("Informazioni su..."));
}

}  // namespace
