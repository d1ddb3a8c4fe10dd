// The window's life and its commands: activation, closing, Start and Stop, the menus and the
// double-click on the logo that reloads the map.

#include "mainwindow/MainForm.h"

#include "joystick/cJoy.h"
#include "keymap/Generale.h"
#include "platform/WindowServices.h"
#include "platform/desktop/DesktopPrograms.h"
#include "platform/desktop/MapFile.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

// Notices: information icon, brought to the foreground; OK, or OK and Cancel.
constexpr uint32_t Avviso = platform::MB_ICONINFORMATION | platform::MB_SETFOREGROUND;
constexpr uint32_t AvvisoOkAnnulla = Avviso | platform::MB_OKCANCEL;

// Outer widths of the window in twips: the controller picture alone, or with the emulation panel.
constexpr int LarghezzaRidotta = 9090;
constexpr int LarghezzaEstesa = 13710;

// Lines of one message are separated by a single carriage return.
QString Righe(const QStringList& lines) {
    return lines.join(QChar(u'\r'));
}

const QString NomeMappa = QStringLiteral("Corvane.ini");

}  // namespace

int MainForm::Informa(const QString& text, uint32_t flags) {
    return shell.MsgBox(this, text, flags, windowTitle());
}

void MainForm::Form_Activate() {
    // Cleared before the box is shown: the box's own closing activates this window again, and the
    // instructions must still appear only once.
    const bool mostra = Generale::MostraIstruzioni;
    Generale::MostraIstruzioni = false;
    if (mostra) {
        Informa(Righe({tr("Come usare il programma:"),
                       tr("  -1-  Collegare il Corvane alla porta USB del computer."),
                       tr("  -2-  Premere < Start > per iniziare l'acquisizione dei dati."),
                       tr("  -3-  Muovere i comandi del corvane ed osservarne gli effetti.")}),
                Avviso);
    }
}

void MainForm::Form_Unload(bool& Cancel) {
    Cancel = true;
    MenuFine_Click();
}

// After "Fine Programma" there is no monitor; clicks already queued then find nothing to do.
void MainForm::Cmd_Start_Click() {
    if (!joy) {
        return;
    }
    Cmd_Stop->setEnabled(false);
    if (acquisizione->Avvia(CorvaneScelto)) {
        Cmd_Stop->setEnabled(true);
    }
    platform::RepaintNow(*Cmd_Stop);
}

void MainForm::Cmd_Stop_Click() {
    if (!joy) {
        return;
    }
    acquisizione->Ferma();
    Cmd_Start->setEnabled(true);
    platform::RepaintNow(*Cmd_Start);
}

void MainForm::AcquisizioneCambiata() {
    if (!joy) {
        return;
    }
    if (!acquisizione->Leggendo()) {
        padMostrato.clear();
        if (!Cmd_Start->isEnabled()) {
            Cmd_Start->setEnabled(true);
            platform::RepaintNow(*Cmd_Start);
        }
        return;
    }
    if (!Cmd_Stop->isEnabled()) {
        Cmd_Stop->setEnabled(true);
        platform::RepaintNow(*Cmd_Stop);
    }
    const std::vector<session::Pad> pads = acquisizione->Pads();
    const auto mostrato =
        std::find_if(pads.begin(), pads.end(), [](const session::Pad& pad) { return pad.mostrato; });
    if (mostrato == pads.end()) {
        return;
    }
    const QString pad = mostrato->device.guid + u'@' + mostrato->device.port;
    if (std::exchange(padMostrato, pad) == pad || !profili.CommandLineFile().isEmpty()) {
        return;
    }
    // A pad that was never given a profile of its own keeps the one in force.
    const std::optional<QString> suo = session::Acquisizione::ProfiloRicordato(mostrato->device);
    if (suo && *suo != profili.Active()) {
        profili.Switch(*suo);
    }
}

// A window that never waits keeps its design: the line is built at the first wait.
void MainForm::MostraAttesa(bool attesa) {
    if (Lab_Attesa == nullptr && !attesa) {
        return;
    }
    if (Lab_Attesa == nullptr) {
        Lab_Attesa = new QLabel(tr("In attesa di un corvane…"), centralWidget());
        Lab_Attesa->setObjectName(QStringLiteral("Lab_Attesa"));
        Lab_Attesa->setTextFormat(Qt::PlainText);
        Lab_Attesa->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        Lab_Attesa->setAutoFillBackground(true);
        Lab_Attesa->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Centred under Start and Stop.
        platform::SetTwipsGeometry(*Lab_Attesa, QRect(3240, 6600, 2595, 255));
    }
    Lab_Attesa->setVisible(attesa);
    if (attesa) {
        Lab_Attesa->raise();
        Cmd_Stop->setEnabled(true);
    }
}

void MainForm::MenuEmula_Click() {
    // The menu item is checkable: the click that runs this has already inverted its check mark.
    platform::SetOuterWidthTwips(*this, MenuEmula->isChecked() ? LarghezzaEstesa : LarghezzaRidotta);
    platform::KeepOnScreen(*this);  // a window widened near the right edge would hide the panel
    repaint();
}

// The count's box may run "Fine Programma": the local owner outlives the call.
void MainForm::MenuNumeroPad_Click() {
    if (const std::shared_ptr<cJoy> monitor = joy) {
        monitor->ConfiguratedJoy();
    }
}

void MainForm::cJoy_JoyNumbers(int32_t lNumJoys) {
    const QString n = QString::number(lNumJoys);
    if (lNumJoys == 0) {
        Informa(tr("Nessun corvane è stato rilevato."), Avviso);
    } else if (lNumJoys == 1) {
        Informa(tr("E' stato rilevato %1 corvane.").arg(n), Avviso);
    } else if (lNumJoys >= 2) {
        Informa(tr("Sono stati rilevati %1 corvane.").arg(n), Avviso);
    }
}

void MainForm::MenuPGioco_Click() {
    const QString commandLine = platform::GameControllerCommandLine(shell);
    if (commandLine.isEmpty()) {
        // Nothing to start here: say what to install rather than do nothing.
        Informa(platform::GameControllerMissingText(), Avviso);
        return;
    }
    shell.StartProgram(commandLine, platform::ShowStyle::MinimizedFocus);
}

void MainForm::MenuFine_Click() {
    FineAcquisizione();
    QApplication::exit(0);
}

void MainForm::FineAcquisizione() {
    joy.reset();
    // Nothing stays held once the program stops reading: the device goes with the output.
    acquisizione->Fine();
}

void MainForm::MenuAssegna_Click() {
    const QString testo = Righe({
        tr("Modifica della codifica dei tasti/assi:"),
        QString(),
        tr("Questo programma supporta la maggior parte dei Corvane/Joystick in commercio."),
        tr("Per codificare una nuova periferica aprire il file %1, assegnare ai tasti i codici")
            .arg(NomeMappa),
        tr("letti nel programma quindi (dopo aver salvato i dati nel file %1) eseguire un").arg(NomeMappa),
        tr("doppio click sul simbolo posto al centro dell'immagine del corvane per caricare la nuova"),
        tr("mappa dei tasti/assi."),
        QString(),
        tr("Premere OK per editare il file %1").arg(NomeMappa),
    });
    if (Informa(testo, AvvisoOkAnnulla) != platform::IDOK) {
        return;
    }
    // The map that is read, or the user's own one started from the example: one the user can save.
    const QString mappa = platform::MapToEdit();
    if (mappa.isEmpty()) {
        Informa(platform::MapBlockedText(platform::MapFile()), Avviso);
        return;
    }
    const QString commandLine = platform::MapEditorCommandLine(shell, mappa);
    if (commandLine.isEmpty()) {
        Informa(platform::MapEditorMissingText(mappa), Avviso);
        return;
    }
    shell.StartProgram(commandLine, platform::ShowStyle::NormalFocus);
}

void MainForm::SetAssegnaLoader(CaricaAbout loader) {
    assegnaLoader = std::move(loader);
}

// One dialog at a time: a request while it is open brings it to the front, so a request that arrives
// while its own box is up (through the accessibility bus, say) cannot destroy it under that box.
// Closed, it goes when its event loop is done with it; a new one shows the map file as it is then.
// While it is open this window is disabled, as while About shows; the dialog enables it again.
void MainForm::MenuAssegnaTasti_Click() {
    if (assegna && assegna->isVisible()) {
        assegna->raise();
        assegna->activateWindow();
        return;
    }
    if (!assegnaLoader) {
        return;
    }
    if (assegna) {
        assegna.release()->deleteLater();
    }
    assegna = assegnaLoader(*this);
    setEnabled(false);
    platform::ShowModeless(*assegna);
}

// Loads the About window at its first showing when nothing loaded it before.
void MainForm::MenuAbout_Click() {
    QWidget* finestra = AboutWindow();
    if (finestra == nullptr) {
        return;
    }
    setEnabled(false);
    repaint();
    platform::ShowModeless(*finestra);
    finestra->repaint();
}

void MainForm::Img_Logo_DblClick() {
    Generale::CaricaMappa();
    MostraProfilo();  // a later launch's --map comes this way
    Informa(tr("Mappa dei tasti/assi caricata"), Avviso);
}
