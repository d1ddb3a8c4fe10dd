// The choice of controller: a submenu of "File" lists the attached controllers, current each time it
// opens, beside the automatic entry (the first that answers); the check mark shows the choice.

#include "mainwindow/MainForm.h"

#include "platform/input/ChosenSlot.h"
#include "platform/input/DevicePort.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <optional>

void MainForm::CreaMenuCorvane(QMenu& file) {
    MenuScegliPad = file.addMenu(tr("Scegli il Corvane"));
    MenuScegliPad->setObjectName(QStringLiteral("MenuScegliPad"));
    MenuScegliPad->menuAction()->setObjectName(QStringLiteral("MenuScegliPad"));
    GruppoCorvane = new QActionGroup(MenuScegliPad);
    connect(MenuScegliPad, &QMenu::aboutToShow, this, &MainForm::ElencaCorvane);
}

void MainForm::ElencaCorvane() {
    MenuScegliPad->clear();  // the entries go; the group stays
    const std::vector<platform::AttachedDevice> collegati = driver->AttachedDevices();
    // The entry checked is the one the driver reads for the choice (in slot 0 once Start has handed it
    // the choice); none while the chosen controller is away.
    const std::optional<uint32_t> letto =
        CorvaneScelto.guid.isEmpty()
            ? std::nullopt
            : platform::ChosenSlot(collegati, CorvaneScelto.guid, CorvaneScelto.port, 0);
    // A controller's name is shown as it is: an ampersand would otherwise mark a shortcut key.
    const auto letterale = [](QString nome) { return nome.replace(u'&', QStringLiteral("&&")); };
    const auto voce = [&](const QString& testo, const QString& nome, const platform::ChosenController& scelta,
                          bool segnata) {
        QAction* action = MenuScegliPad->addAction(testo);
        action->setObjectName(nome);
        action->setCheckable(true);
        action->setActionGroup(GruppoCorvane);
        action->setChecked(segnata);
        connect(action, &QAction::triggered, this, [this, scelta] { ScegliCorvane(scelta); });
    };
    voce(tr("Automatico (il primo che risponde)"), QStringLiteral("MenuPadAutomatico"), {},
         CorvaneScelto.guid.isEmpty());
    MenuScegliPad->addSeparator();
    // Two pads of one model differ only by the port they are plugged into.
    const std::vector<QString> porte = platform::TwinPortLabels(collegati);
    for (std::size_t n = 0; n < collegati.size(); ++n) {
        const platform::AttachedDevice& corvane = collegati[n];
        QString nome = letterale(corvane.name.isEmpty() ? tr("Corvane senza nome") : corvane.name);
        if (!porte[n].isEmpty()) {
            nome += tr(" (porta %1)").arg(porte[n]);
        }
        // The number --pad names it by.
        nome = tr("%1. %2").arg(n + 1).arg(nome);
        voce(nome, QStringLiteral("MenuPad(%1)").arg(n), {corvane.guid, corvane.name, corvane.port},
             letto == corvane.slot);
    }
    if (!CorvaneScelto.guid.isEmpty() && !letto) {
        // The chosen controller is unplugged: still listed, so the user sees why nothing is read.
        const QString nome = CorvaneScelto.name.isEmpty() ? CorvaneScelto.guid : CorvaneScelto.name;
        voce(tr("%1 (scollegato)").arg(letterale(nome)), QStringLiteral("MenuPadScollegato"), CorvaneScelto,
             true);
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
    if (acquisizione->Leggendo()) {
        // Stopped first, so that a chosen controller that is away reports once, as at Start.
        acquisizione->Ferma();
        Cmd_Start_Click();
    }
}
