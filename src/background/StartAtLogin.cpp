#include "background/StartAtLogin.h"

#include "mainwindow/MainForm.h"
#include "platform/Shell.h"
#include "platform/desktop/Autostart.h"

#include <QAction>
#include <QDir>
#include <QMenu>

StartAtLogin::StartAtLogin(MainForm& form, platform::Shell& shell) : form(form), shell(shell) {
    auto* file = form.findChild<QMenu*>(QStringLiteral("MenuFile"));
    auto* fine = form.findChild<QAction*>(QStringLiteral("MenuFine"));
    if (file == nullptr || fine == nullptr) {
        return;
    }
    entry = new QAction(tr("Avvia all'accesso"), file);
    entry->setObjectName(QStringLiteral("MenuAvvioAccesso"));
    entry->setCheckable(true);
    // Before the separator that sets "Fine Programma" apart.
    const QList<QAction*> actions = file->actions();
    const qsizetype at = actions.indexOf(fine);
    file->insertAction(at > 0 ? actions.at(at - 1) : fine, entry);
    connect(entry, &QAction::triggered, this, &StartAtLogin::MenuAvvioAccesso_Click);
    // The file is read when the menu opens, not at start: the session may change it meanwhile.
    connect(file, &QMenu::aboutToShow, this, &StartAtLogin::Refresh);
}

void StartAtLogin::Refresh() {
    entry->setChecked(platform::ReadAutostart() == platform::AutostartState::Ours);
}

void StartAtLogin::MenuAvvioAccesso_Click(bool checked) {
    const QString path = QDir::toNativeSeparators(platform::AutostartPath());
    QString problem;
    if (!checked) {
        if (!platform::RemoveAutostart()) {
            problem = tr("Impossibile eliminare il file %1.").arg(path);
        }
    } else {
        switch (platform::WriteAutostart()) {
        case platform::AutostartWrite::Written:
            break;
        case platform::AutostartWrite::Foreign:
            problem = tr("Il file %1 esiste già e non è stato scritto da questo programma: "
                         "non è stato modificato.")
                          .arg(path);
            break;
        case platform::AutostartWrite::BadProgram:
            problem = tr("Il percorso di questo programma contiene caratteri che un file di avvio "
                         "automatico non può contenere (per esempio un a capo): %1 non è stato scritto.")
                          .arg(path);
            break;
        case platform::AutostartWrite::Failed:
            problem = tr("Impossibile scrivere il file %1.").arg(path);
            break;
        }
    }
    Refresh();
    if (!problem.isEmpty()) {
        shell.MsgBox(&form, problem, platform::MB_ICONINFORMATION | platform::MB_SETFOREGROUND,
                     form.windowTitle());
    }
}
