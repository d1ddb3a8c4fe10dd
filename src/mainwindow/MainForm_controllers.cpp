// The choice of controller: a submenu of "File" lists the attached controllers, current each time it
// opens, beside the automatic entry (the first that answers); the check mark shows the choice.

#include "mainwindow/MainForm.h"

#include "joystick/cJoy.h"
#include "joystick/timer_module.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

void MainForm::CreaMenuCorvane(QMenu& file) {
    MenuScegliPad = file.addMenu(tr("Scegli il Corvane"));
    MenuScegliPad->setObjectName(QStringLiteral("MenuScegliPad"));
    MenuScegliPad->menuAction()->setObjectName(QStringLiteral("MenuScegliPad"));
    GruppoCorvane = new QActionGroup(MenuScegliPad);
    connect(MenuScegliPad, &QMenu::aboutToShow, this, &MainForm::ElencaCorvane);
}

void MainForm::ElencaCorvane() {
    MenuScegliPad->clear();  // the entries go; the group stays
    bool segnato = false;
    // A controller's name is shown as it is: an ampersand would otherwise mark a shortcut key.
    const auto letterale = [](QString nome) { return nome.replace(u'&', QStringLiteral("&&")); };
    const auto voce = [&](const QString& testo, const QString& nome,
                          const platform::ChosenController& scelta) {
        QAction* action = MenuScegliPad->addAction(testo);
        action->setObjectName(nome);
        action->setCheckable(true);
        action->setActionGroup(GruppoCorvane);
        // Two pads of one model share a GUID: the first of them is the one read.
        if (!segnato && scelta.guid == CorvaneScelto.guid) {
            action->setChecked(true);
            segnato = true;
        }
        connect(action, &QAction::triggered, this, [this, scelta] { ScegliCorvane(scelta); });
    };
    voce(tr("Automatico (il primo che risponde)"), QStringLiteral("MenuPadAutomatico"), {});
    MenuScegliPad->addSeparator();
    const std::vector<platform::AttachedDevice> collegati = driver->AttachedDevices();
    for (std::size_t n = 0; n < collegati.size(); ++n) {
        const platform::AttachedDevice& corvane = collegati[n];
        const QString nome = corvane.name.isEmpty() ? tr("Corvane senza nome") : corvane.name;
        voce(letterale(nome), QStringLiteral("MenuPad(%1)").arg(n), {corvane.guid, corvane.name});
    }
    if (!segnato) {
        // The chosen controller is unplugged: still listed, so the user sees why nothing is read.
        const QString nome = CorvaneScelto.name.isEmpty() ? CorvaneScelto.guid : CorvaneScelto.name;
        voce(tr("%1 (scollegato)").arg(letterale(nome)), QStringLiteral("MenuPadScollegato"), CorvaneScelto);
    } else if (collegati.empty()) {
        QAction* nessuno = MenuScegliPad->addAction(tr("Nessun corvane collegato"));
        nessuno->setObjectName(QStringLiteral("MenuPadNessuno"));
        nessuno->setEnabled(false);
    }
}

void MainForm::ScegliCorvane(const platform::ChosenController& scelta) {
    CorvaneScelto = scelta;
    // The choice holds for this run all the same; the user learns that the next run won't know it.
    if (!platform::WriteChosenController(scelta)) {
        Informa(tr("Impossibile salvare la scelta del Corvane in %1: vale fino alla chiusura del programma.")
                    .arg(platform::UserSettingsFile()),
                platform::MB_ICONERROR | platform::MB_SETFOREGROUND);
    }
    if (joy && timer_module::CurrentJoyMonitor == joy) {
        // Stopped first, so that a chosen controller that is away reports once, as at Start.
        joy->End_JoyMonitor();
        Cmd_Start_Click();
    }
}
