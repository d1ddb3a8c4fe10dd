// The windows and their message boxes in English against Italian. A text that the English run shows
// unchanged must be one that reads the same in both languages; so a text left out of the translation,
// or never marked for it, fails here with the place where it is shown.

#include "joystick/cJoy.h"
#include "joystick/timer_module.h"
#include "keymap/Generale.h"
#include "mainwindow/MainForm.h"
#include "platform/desktop/Language.h"
#include "platform/QtShell.h"
#include "splash_about/frmAbout.h"
#include "splash_about/frmSplash.h"
#include "support/FakeJoystickDriver.h"
#include "support/QtPrinters.h"
#include "support/RecordingShell.h"
#include "support/TempProgramDirectory.h"
#include "support/TopLevel.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

using platform::Language;

// Each text shown, by where it is shown.
using Texts = std::map<QString, QString>;

// Names, the controller's own labels and the controller monitor's English texts.
bool SameInBothLanguages(const QString& text) {
    static const QStringList same{
        QStringLiteral("Corvane (DEMO)"),
        QStringLiteral("Corvane Demo"),
        QStringLiteral("Corvane"),
        QStringLiteral("Logo"),
        QStringLiteral("&File"),
        QStringLiteral("File"),
        QStringLiteral("&?"),
        QStringLiteral("&Start"),
        QStringLiteral("&Stop"),
        QStringLiteral("OK"),
        QStringLiteral("Mode"),
        QStringLiteral("Vibr"),
        QStringLiteral("L1"),
        QStringLiteral("L2"),
        QStringLiteral("R1"),
        QStringLiteral("R2"),
        QStringLiteral("X/Y"),
        QStringLiteral("Z/R"),
        QStringLiteral("Joystick Unplugged"),
    };
    static const QRegularExpression letter(QStringLiteral("\\p{L}"));
    return same.contains(text) || !text.contains(letter);
}

void Add(Texts& texts, const QString& where, const QString& text) {
    if (!text.isEmpty()) {
        texts.emplace(where, text);
    }
}

// Every text of a window and the objects in it: captions, titles, tool tips, accessible names.
void AddWindow(Texts& texts, const QString& window, QWidget* top) {
    QList<QObject*> objects = top->findChildren<QObject*>();
    objects.prepend(top);
    int index = 0;
    for (QObject* object : objects) {
        const QString name = object->objectName();
        if (name.startsWith(QLatin1String("qt_"))) {
            continue;  // Qt's own parts, translated by Qt
        }
        const QString where =
            QStringLiteral("%1 %2 %3 ")
                .arg(window)
                .arg(index++)
                .arg(name.isEmpty() ? QLatin1String(object->metaObject()->className()) : name);
        if (auto* widget = qobject_cast<QWidget*>(object)) {
            Add(texts, where + QLatin1String("title"), widget->windowTitle());
            Add(texts, where + QLatin1String("tool tip"), widget->toolTip());
            Add(texts, where + QLatin1String("status tip"), widget->statusTip());
            Add(texts, where + QLatin1String("what's this"), widget->whatsThis());
            Add(texts, where + QLatin1String("description"), widget->accessibleDescription());
            if (widget->accessibleName() != name) {  // a drawing named after itself
                Add(texts, where + QLatin1String("accessible name"), widget->accessibleName());
            }
        }
        if (auto* label = qobject_cast<QLabel*>(object)) {
            Add(texts, where + QLatin1String("text"), label->text());
        }
        if (auto* button = qobject_cast<QAbstractButton*>(object)) {
            Add(texts, where + QLatin1String("text"), button->text());
        }
        if (auto* menu = qobject_cast<QMenu*>(object)) {
            Add(texts, where + QLatin1String("menu title"), menu->title());
        }
        if (auto* action = qobject_cast<QAction*>(object)) {
            Add(texts, where + QLatin1String("text"), action->text());
            Add(texts, where + QLatin1String("tool tip"), action->toolTip());
            Add(texts, where + QLatin1String("status tip"), action->statusTip());
        }
    }
}

// Builds the windows as the program does, shows every message box of the commands and of the
// controller failures, and returns every text seen; without translations when no language is given.
Texts TextsShown(std::optional<Language> language) {
    std::optional<platform::Translations> translations;
    if (language) {
        translations.emplace(*language);
    }
    TempProgramDirectory dir;
    RecordingShell shell;
    shell.version = platform::QtShell().App();
    auto driver = std::make_shared<FakeJoystickDriver>();
    frmSplash splash(driver, shell);
    auto* form = TopLevel<MainForm>();
    auto* about = TopLevel<frmAbout>();
    if (form == nullptr || about == nullptr) {
        ADD_FAILURE() << "the splash built no main or about window";
        return {};
    }
    const auto menu = [form](const char* name) { form->findChild<QAction*>(QLatin1String(name))->trigger(); };
    const auto start = [form] { form->findChild<QAbstractButton*>(QStringLiteral("Cmd_Start"))->click(); };

    form->Form_Activate();  // the instructions
    menu("MenuNumeroPad");  // none
    driver->Answering(0);
    menu("MenuNumeroPad");  // one
    driver->Answering(1);
    menu("MenuNumeroPad");  // two
    menu("MenuPGioco");     // nothing installed
    menu("MenuAssegna");  // and no editor to open the map with
    form->Img_Logo_DblClick();

    // The monitor's failures, each shown in an error box.
    driver->scripted.clear();
    driver->Answering(0, 1).reading.dwXpos = 0x7FFFFFFF;  // calibrated, then a value out of range
    start();
    driver->Answering(0).reading.dwXpos = 0x80000000;  // the lowest reading, far below the range
    start();
    FakeJoystickDriver::Slot& wide = driver->Answering(0);  // an axis span out of range
    wide.caps.wXmin = 0x80000000;
    wide.caps.wXmax = 0x7FFFFFFF;
    start();
    form->findChild<QAbstractButton*>(QStringLiteral("Cmd_Stop"))->click();
    driver->Answering(0).readResult = 999;  // a driver answer with no text
    start();
    driver->numDevs = 40000;  // too many slots to count
    menu("MenuNumeroPad");
    form->ElencaCorvane();  // the controller menu as it opens: the automatic entry, and none connected

    Texts texts;
    AddWindow(texts, QStringLiteral("splash"), &splash);
    AddWindow(texts, QStringLiteral("main"), form);
    AddWindow(texts, QStringLiteral("about"), about);
    for (std::size_t i = 0; i < shell.boxes.size(); ++i) {
        // The map's path is a temporary folder of each run.
        Add(texts, QStringLiteral("box %1 text").arg(i),
            QString(shell.boxes[i].text).replace(dir.path(), QStringLiteral("<dir>")));
        Add(texts, QStringLiteral("box %1 title").arg(i), shell.boxes[i].title);
    }
    if (timer_module::CurrentJoyMonitor) {
        timer_module::CurrentJoyMonitor->End_JoyMonitor();
    }
    return texts;
}

std::vector<QString> Places(const Texts& texts) {
    std::vector<QString> places;
    for (const auto& [where, text] : texts) {
        places.push_back(where);
    }
    return places;
}

TEST(Translation, EveryTextOfTheEnglishRunIsEnglishAndTheItalianRunIsUnchanged) {
    const Texts untranslated = TextsShown(std::nullopt);
    const Texts italian = TextsShown(Language::Italian);
    const Texts english = TextsShown(Language::English);

    EXPECT_EQ(italian, untranslated);
    ASSERT_EQ(Places(english), Places(italian));
    int boxes = 0;
    for (const auto& [where, text] : italian) {
        boxes += where.startsWith(QLatin1String("box")) && where.endsWith(QLatin1String("text")) ? 1 : 0;
        if (english.at(where) == text) {
            EXPECT_TRUE(SameInBothLanguages(text))
                << where.toStdString() << " is not translated: \"" << text.toStdString() << '"';
        }
    }
    EXPECT_EQ(boxes, 14) << "every message box of the run was seen";
}

}  // namespace
