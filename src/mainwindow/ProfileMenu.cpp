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

void AggiungiVoce(QMenu& menu, QActionGroup& gruppo, const SceltaProfilo& scegli, const QString& nome,
                  bool attivo) {
    // "&" would mark a shortcut letter: "R&B" showed as "RB".
    const QString nomeMostrato = QString(ProfileStore::Shown(nome)).replace(u'&', QStringLiteral("&&"));
    const QString testo =
        ProfileStore::Readable(nome)
            ? nomeMostrato
            : Tr(QT_TRANSLATE_NOOP("ProfileMenu", "%1 (non si può leggere)")).arg(nomeMostrato);
    QAction* voce = menu.addAction(testo, &menu, [scegli, nome] { scegli(nome); });
    voce->setCheckable(true);
    voce->setChecked(attivo);
    voce->setActionGroup(&gruppo);
}

// Every profile in a list that scrolls. (Qt keeps the calling entry's lambda, and so these, alive while
// the list is open, even when the menu is rebuilt meanwhile.)
void ScegliTraTutti(const SceltaProfilo& scegli, const QStringList& nomi, const QString& attivo) {
    bool ok = false;
    const QString scelto = QInputDialog::getItem(nullptr, Tr(QT_TRANSLATE_NOOP("ProfileMenu", "Profilo")),
                                                 Tr(QT_TRANSLATE_NOOP("ProfileMenu", "Profilo da usare:")),
                                                 nomi, std::max(0, int(nomi.indexOf(attivo))), false, &ok);
    if (ok) {
        scegli(scelto);
    }
}

}  // namespace

void AggiungiProfili(QMenu& menu, ProfileSet& profili) {
    AggiungiProfili(
        menu, profili.CommandLineFile().isEmpty() ? profili.Active() : QString(),
        [&profili](const QString& nome) { profili.Switch(nome); }, profili.CommandLineFile());
}

void AggiungiProfili(QMenu& menu, const QString& attivo, const SceltaProfilo& scegli, const QString& file) {
    // One group for the menu's life: clearing the menu removes its entries, not the group.
    auto* gruppo = menu.findChild<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly);
    if (gruppo == nullptr) {
        gruppo = new QActionGroup(&menu);
    }
    if (!file.isEmpty()) {
        // Given for this run only: shown, not offered again once another profile is chosen.
        QAction* voce = menu.addAction(
            Tr(QT_TRANSLATE_NOOP("ProfileMenu", "Mappa %1 (--map)")).arg(QFileInfo(file).fileName()));
        voce->setCheckable(true);
        voce->setChecked(true);
        voce->setActionGroup(gruppo);
    }
    AggiungiVoce(menu, *gruppo, scegli, {}, file.isEmpty() && attivo.isEmpty());
    const QStringList nomi = ProfileStore::Names();
    for (const QString& nome : nomi.first(std::min<qsizetype>(nomi.size(), ProfiliNelMenu))) {
        AggiungiVoce(menu, *gruppo, scegli, nome, nome == attivo);
    }
    if (nomi.size() > ProfiliNelMenu) {
        menu.addAction(Tr(QT_TRANSLATE_NOOP("ProfileMenu", "Altri…")), &menu,
                       [scegli, nomi, attivo] { ScegliTraTutti(scegli, nomi, attivo); });
    }
    for (const QString& fuori : ProfileStore::LeftOut()) {
        menu.addAction(fuori)->setEnabled(false);
    }
    if (platform::ActiveWindow::NativeWayland()) {
        // Said where the profiles are chosen, so a [Profili] Finestre list that does nothing is explained.
        menu.addAction(Tr(QT_TRANSLATE_NOOP("ProfileMenu", "Cambio per finestra: spento su Wayland")))
            ->setEnabled(false);
    }
}
