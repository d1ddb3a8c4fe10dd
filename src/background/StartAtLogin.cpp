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
    connect(file, &QMenu::aboutToShow, this, &StartAtLogin::Refresh);
    Refresh();
}

void StartAtLogin::Refresh() {
    entry->setChecked(platform::ReadAutostart() == platform::AutostartState::Ours);
}

void StartAtLogin::MenuAvvioAccesso_Click(bool checked) {
    const QString path = QDir::toNativeSeparators(platform::AutostartPath());
    QString problem;
    if (checked && platform::ReadAutostart() == platform::AutostartState::Foreign) {
        problem = tr("Il file %1 esiste già e non avvia questo programma: non è stato modificato.").arg(path);
    } else if (checked && !platform::WriteAutostart()) {
        problem = tr("Impossibile scrivere il file %1.").arg(path);
    } else if (!checked && !platform::RemoveAutostart()) {
        problem = tr("Impossibile eliminare il file %1.").arg(path);
    }
    Refresh();
    if (!problem.isEmpty()) {
        shell.MsgBox(&form, problem, platform::MB_ICONINFORMATION | platform::MB_SETFOREGROUND,
                     form.windowTitle());
    }
}
