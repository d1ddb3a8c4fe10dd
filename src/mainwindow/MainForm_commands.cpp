// The window's life and its commands: activation, closing, Start and Stop, the menus and the
// double-click on the logo that reloads the map.

#include "mainwindow/MainForm.h"

#include "joystick/cJoy.h"
#include "keymap/Generale.h"
#include "platform/DesktopPrograms.h"
#include "platform/WindowServices.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QStringList>

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
        Informa(Righe({QStringLiteral("Come usare il programma:"),
                       QStringLiteral("  -1-  Collegare il Corvane alla porta USB del computer."),
                       QStringLiteral("  -2-  Premere < Start > per iniziare l'acquisizione dei dati."),
                       QStringLiteral("  -3-  Muovere i comandi del corvane ed osservarne gli effetti.")}),
                Avviso);
    }
}

void MainForm::Form_Unload(bool& Cancel) {
    Cancel = true;
    MenuFine_Click();
}

void MainForm::Cmd_Start_Click() {
    Cmd_Stop->setEnabled(false);
    // The driver puts a chosen controller in slot 0, or reads slot 0 as unplugged while it is away;
    // no other controller stands in for it.
    driver->PreferDevice(CorvaneScelto.guid);
    if (joy->IsJoystick1_Valid()) {
        joy->Start_JoyMonitor(0);
        Cmd_Stop->setEnabled(true);
    } else if (CorvaneScelto.guid.isEmpty() && joy->IsJoystick2_Valid()) {
        joy->Start_JoyMonitor(1);
        Cmd_Stop->setEnabled(true);
    }
    platform::RepaintNow(*Cmd_Stop);
}

void MainForm::Cmd_Stop_Click() {
    joy->End_JoyMonitor();
    Cmd_Start->setEnabled(true);
    platform::RepaintNow(*Cmd_Start);
}

void MainForm::MenuEmula_Click() {
    // The menu item is checkable: the click that runs this has already inverted its check mark.
    platform::SetOuterWidthTwips(*this, MenuEmula->isChecked() ? LarghezzaEstesa : LarghezzaRidotta);
    repaint();
}

void MainForm::MenuNumeroPad_Click() {
    joy->ConfiguratedJoy();
}

void MainForm::cJoy_JoyNumbers(int32_t lNumJoys) {
    const QString n = QString::number(lNumJoys);
    if (lNumJoys == 0) {
        Informa(QStringLiteral("Nessun corvane è stato rilevato."), Avviso);
    } else if (lNumJoys == 1) {
        Informa(QStringLiteral("E' stato rilevato ") + n + QStringLiteral(" corvane."), Avviso);
    } else if (lNumJoys >= 2) {
        Informa(QStringLiteral("Sono stati rilevati ") + n + QStringLiteral(" corvane."), Avviso);
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
    if (joy) {
        joy->End_JoyMonitor();
    }
    joy.reset();  // the monitor's teardown runs here, unless the timer module still held it
    QApplication::exit(0);
}

void MainForm::MenuAssegna_Click() {
    const QString testo = Righe({
        QStringLiteral("Modifica della codifica dei tasti/assi:"),
        QString(),
        QStringLiteral("Questo programma supporta la maggior parte dei Corvane/Joystick in commercio."),
        QStringLiteral("Per codificare una nuova periferica aprire il file ") + NomeMappa +
            QStringLiteral(", assegnare ai tasti i codici"),
        QStringLiteral("letti nel programma quindi (dopo aver salvato i dati nel file ") + NomeMappa +
            QStringLiteral(") eseguire un"),
        QStringLiteral(
            "doppio click sul simbolo posto al centro dell'immagine del corvane per caricare la nuova"),
        QStringLiteral("mappa dei tasti/assi."),
        QString(),
        QStringLiteral("Premere OK per editare il file ") + NomeMappa,
    });
    if (Informa(testo, AvvisoOkAnnulla) == platform::IDOK) {
        shell.StartProgram(platform::MapEditorCommandLine(shell), platform::ShowStyle::NormalFocus);
    }
}

void MainForm::MenuAbout_Click() {
    setEnabled(false);
    repaint();
    platform::ShowModeless(*about);
    about->repaint();
}

void MainForm::Img_Logo_DblClick() {
    Generale::CaricaMappa();
    Informa(QStringLiteral("Mappa dei tasti/assi caricata"), Avviso);
}
