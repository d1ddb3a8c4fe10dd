#include "mainwindow/ProfileMenu.h"

#include "platform/desktop/ActiveWindow.h"
#include "profiles/ProfileSet.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>

namespace {

// The texts are marked where they stand, for lupdate.
QString Tr(const char* text) {
    return QCoreApplication::translate("ProfileMenu", text);
}

void AggiungiVoce(QMenu& menu, QActionGroup& gruppo, ProfileSet& profili, const QString& nome, bool attivo) {
    // "&" would mark a shortcut letter: "R&B" showed as "RB".
    const QString nomeMostrato = QString(ProfileSet::Shown(nome)).replace(u'&', QStringLiteral("&&"));
    const QString testo =
        ProfileSet::Readable(nome)
            ? nomeMostrato
            : Tr(QT_TRANSLATE_NOOP("ProfileMenu", "%1 (non si può leggere)")).arg(nomeMostrato);
    QAction* voce = menu.addAction(testo, &menu, [&profili, nome] { profili.Switch(nome); });
    voce->setCheckable(true);
    voce->setChecked(attivo);
    voce->setActionGroup(&gruppo);
}

// Every profile in a list that scrolls. (Qt keeps the calling entry's lambda, and so these, alive while
// the list is open, even when the menu is rebuilt meanwhile.)
void ScegliTraTutti(ProfileSet& profili, const QStringList& nomi, const QString& attivo) {
    bool ok = false;
    const QString scelto = QInputDialog::getItem(nullptr, Tr(QT_TRANSLATE_NOOP("ProfileMenu", "Profilo")),
                                                 Tr(QT_TRANSLATE_NOOP("ProfileMenu", "Profilo da usare:")),
                                                 nomi, std::max(0, int(nomi.indexOf(attivo))), false, &ok);
    if (ok) {
        profili.Switch(scelto);
    }
}

}  // namespace

void AggiungiProfili(QMenu& menu, ProfileSet& profili) {
    // One group for the menu's life: clearing the menu removes its entries, not the group.
    auto* gruppo = menu.findChild<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly);
    if (gruppo == nullptr) {
        gruppo = new QActionGroup(&menu);
    }
    const QString file = profili.CommandLineFile();
    if (!file.isEmpty()) {
        // Given for this run only: shown, not offered again once another profile is chosen.
        QAction* voce = menu.addAction(
            Tr(QT_TRANSLATE_NOOP("ProfileMenu", "Mappa %1 (--map)")).arg(QFileInfo(file).fileName()));
        voce->setCheckable(true);
        voce->setChecked(true);
        voce->setActionGroup(gruppo);
    }
    const QString attivo = file.isEmpty() ? profili.Active() : QString();
    AggiungiVoce(menu, *gruppo, profili, {}, file.isEmpty() && attivo.isEmpty());
    const QStringList nomi = profili.Names();
    for (const QString& nome : nomi.first(std::min<qsizetype>(nomi.size(), ProfiliNelMenu))) {
        AggiungiVoce(menu, *gruppo, profili, nome, nome == attivo);
    }
    if (nomi.size() > ProfiliNelMenu) {
        menu.addAction(Tr(QT_TRANSLATE_NOOP("ProfileMenu", "Altri…")), &menu,
                       [&profili, nomi, attivo] { ScegliTraTutti(profili, nomi, attivo); });
    }
    if (const qsizetype nonUtf8 = ProfileSet::NotUtf8(); nonUtf8 > 0) {
        menu.addAction(Tr(QT_TRANSLATE_NOOP("ProfileMenu", "%1 file di profilo con un nome non UTF-8: "
                                                           "rinominarli per usarli"))
                           .arg(nonUtf8))
            ->setEnabled(false);
    }
    if (platform::ActiveWindow::NativeWayland()) {
        // Said where the profiles are chosen, so a [Profili] Finestre list that does nothing is explained.
        menu.addAction(Tr(QT_TRANSLATE_NOOP("ProfileMenu", "Cambio per finestra: spento su Wayland")))
            ->setEnabled(false);
    }
}
