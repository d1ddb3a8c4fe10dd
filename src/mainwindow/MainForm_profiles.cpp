// The File menu's "Profilo" and the line in the menu bar that names the profile in force. Every
// switch is the profile set's; this only asks for names and shows the outcome.

#include "mainwindow/MainForm.h"
#include "mainwindow/ProfileMenu.h"
#include "platform/QtShell.h"
#include "platform/Twips.h"
#include "platform/desktop/ActiveWindow.h"
#include "platform/desktop/Settings.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <chrono>

namespace {

constexpr uint32_t Avviso = platform::MB_ICONINFORMATION | platform::MB_SETFOREGROUND;
// The widest the menu bar's corner grows, in twips: a third of a 1024-pixel screen.
constexpr int LarghezzaAngolo = 5100;
// How long a notice stays in the corner before the profile is shown again.
constexpr std::chrono::seconds DurataAvviso{6};

}  // namespace

void MainForm::CreaMenuProfili(QMenu& file) {
    MenuProfilo = file.addMenu(tr("Profilo"));
    MenuProfilo->setObjectName(QStringLiteral("MenuProfilo"));
    MenuProfilo->menuAction()->setObjectName(QStringLiteral("MenuProfilo"));
    connect(MenuProfilo, &QMenu::aboutToShow, this, &MainForm::ElencaProfili);
    Lab_Profilo = new QLabel(menuBar());
    Lab_Profilo->setObjectName(QStringLiteral("Lab_Profilo"));
    Lab_Profilo->setTextFormat(Qt::PlainText);
    Lab_Profilo->setContentsMargins(0, 0, platform::TwipsToPixels(120), 0);
    menuBar()->setCornerWidget(Lab_Profilo, Qt::TopRightCorner);
    connect(&profili, &ProfileSet::Switched, this, &MainForm::MostraProfilo);
    // A profile the user puts in force is the pad's own from then on; one the window in front chose is not.
    connect(&profili, &ProfileSet::Switched, this, [this](const QString&, bool byWindow) {
        const std::vector<session::Pad> pads = acquisizione->Pads();
        const auto mostrato =
            std::find_if(pads.begin(), pads.end(), [](const session::Pad& pad) { return pad.mostrato; });
        if (!byWindow && mostrato != pads.end() && profili.CommandLineFile().isEmpty()) {
            platform::WritePadProfile(mostrato->device.guid, mostrato->device.port, profili.Active());
        }
    });
    fineAvviso.setSingleShot(true);
    fineAvviso.setInterval(DurataAvviso);
    connect(&fineAvviso, &QTimer::timeout, this, &MainForm::MostraProfilo);
    // The output never acts on this program's own windows: a button's SPACE would press Start.
    const auto pausa = [this](Qt::ApplicationState stato) {
        acquisizione->SetPaused(stato == Qt::ApplicationActive);
        if (!fineAvviso.isActive()) {
            MostraProfilo();
        }
    };
    connect(qApp, &QGuiApplication::applicationStateChanged, this, pausa);
    const auto avviso = [this](const QString& perche) {
        ScriviAngolo(perche, true);
        fineAvviso.start();
    };
    connect(acquisizione.get(), &session::Acquisizione::Unavailable, this, avviso);
    connect(acquisizione.get(), &session::Acquisizione::Unsendable, this, avviso);
    pausa(QGuiApplication::applicationState());
    if (platform::ActiveWindow::Available()) {
        auto* finestra = new platform::ActiveWindow(this);
        connect(finestra, &platform::ActiveWindow::Changed, &profili, &ProfileSet::FollowWindow);
        connect(finestra, &platform::ActiveWindow::Changed, acquisizione.get(),
                &session::Acquisizione::SeguiFinestra);
    }
}

void MainForm::ElencaProfili() {
    MenuProfilo->clear();
    AggiungiProfili(*MenuProfilo, profili);
    MenuProfilo->addSeparator();
    const bool profilo = !profili.Active().isEmpty();
    MenuProfilo->addAction(tr("Nuovo profilo…"), this, &MainForm::MenuNuovoProfilo_Click);
    MenuProfilo->addAction(tr("Rinomina profilo…"), this, &MainForm::MenuRinominaProfilo_Click)
        ->setEnabled(profilo);
    MenuProfilo->addAction(tr("Elimina profilo…"), this, &MainForm::MenuEliminaProfilo_Click)
        ->setEnabled(profilo);
}

void MainForm::ChiediNome(const QString& titolo, const QString& domanda, const QString& attuale,
                          const std::function<QString(const QString&)>& make) {
    QString nome = attuale;
    for (;;) {
        bool ok = false;
        nome = QInputDialog::getText(this, titolo, domanda, QLineEdit::Normal, nome, &ok);
        if (!ok) {
            return;
        }
        const QString problema = make(nome);
        if (problema.isEmpty()) {
            return;
        }
        Informa(problema, Avviso);
    }
}

void MainForm::MenuNuovoProfilo_Click() {
    ChiediNome(tr("Nuovo profilo"),
               tr("Nome del nuovo profilo, copia di \"%1\":").arg(ProfileStore::Shown(profili.Active())), {},
               [this](const QString& nome) { return profili.Create(nome); });
}

void MainForm::MenuRinominaProfilo_Click() {
    const QString attivo = profili.Active();
    if (attivo.isEmpty()) {
        return;
    }
    ChiediNome(tr("Rinomina profilo"), tr("Nuovo nome del profilo \"%1\":").arg(attivo), attivo,
               [this, attivo](const QString& nome) { return profili.Rename(attivo, nome); });
}

void MainForm::MenuEliminaProfilo_Click() {
    const QString attivo = profili.Active();
    if (attivo.isEmpty() || Informa(tr("Spostare il profilo \"%1\" nel cestino?").arg(attivo),
                                    Avviso | platform::MB_OKCANCEL) != platform::IDOK) {
        return;
    }
    if (const QString problema = profili.Trash(attivo); !problema.isEmpty()) {
        Informa(problema, Avviso);
    }
}

// Nothing shows until there is a profile to tell apart, or a notice to give. The commands started
// from now on get the profile's name.
void MainForm::MostraProfilo() {
    platform::SetProfileOfCommands(profili.Active());
    fineAvviso.stop();
    const QString notice = profili.Notice();
    const QString testo = notice.isEmpty() ? profili.Describe() : notice;
    if (acquisizione->UscitaAttiva() && acquisizione->Paused()) {
        const QString ferma = tr("Uscita ferma: questa finestra è in primo piano");
        ScriviAngolo(testo.isEmpty() ? ferma : testo + QStringLiteral(" · ") + ferma, true);
        return;
    }
    ScriviAngolo(testo, !notice.isEmpty() || !ProfileStore::Names().isEmpty());
}

void MainForm::ScriviAngolo(const QString& testo, bool visibile) {
    // The menu bar sizes its corner as the corner shows, not when its text grows.
    Lab_Profilo->hide();
    Lab_Profilo->setText(Lab_Profilo->fontMetrics().elidedText(testo, Qt::ElideMiddle,
                                                               platform::TwipsToPixels(LarghezzaAngolo)));
    Lab_Profilo->setToolTip(testo);
    Lab_Profilo->setVisible(visibile);
}
