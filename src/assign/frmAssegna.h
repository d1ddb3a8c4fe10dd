#pragma once
// The key-assignment dialog: the map as its file holds it when the dialog opens, one row per on-screen
// button (its code, learnt by pressing the controller's buttons or typed, its command, and the keys it
// sends, learnt from the keyboard, typed or chosen), the direction cross and the sticks' order, signs
// and output. Salva writes only what the user changed here into
// the map file as it is at that moment (the program's own, or the user's where that one cannot be
// written; the first one starts as the example) and loads it again; Annulla changes nothing.

#include "keymap/Generale.h"
#include "output/OutputThread.h"
#include "platform/Shell.h"
#include "platform/desktop/MapFile.h"
#include "platform/input/JoystickDriver.h"
#include "platform/output/OutputDevice.h"

#include <QByteArray>
#include <QDialog>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class MainForm;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class frmAssegna final : public QDialog {
    Q_OBJECT
public:
    frmAssegna(MainForm& main, std::shared_ptr<platform::JoystickDriver> driver, platform::Shell& shell,
               platform::OutputOpener apriUscita = platform::OpenOutputDevice);
    ~frmAssegna() override;

    // The tables as the dialog shows them.
    Generale::Mappa MappaMostrata() const;

    // Closing by any way stops a reading the dialog started.
    void done(int result) override;

protected:
    // While a row learns its output, every key of the program goes to the learning, Tab and Esc too.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Riga {
        QSpinBox* codice = nullptr;
        QPushButton* premi = nullptr;
        QLineEdit* comando = nullptr;
        QPushButton* sfoglia = nullptr;
        QPushButton* tastiera = nullptr;
        QPushButton* prova = nullptr;
        QLabel* avviso = nullptr;
    };

    void CreaControlli();
    void Mostra(const Generale::Mappa& tabelle);
    void AggiornaAvvisi();
    // The buttons of the controller read, or nullopt when none answers (or there is no driver).
    static std::optional<uint32_t> TastiDelCorvane(platform::JoystickDriver* driver);
    // Premi… and the status line for tastiCorvane.
    void MostraCorvane();
    void Impara(int riga);
    void cJoy_JoyButton(int32_t BtnPressed);
    // Gives the main window the monitor's button events back.
    void FineApprendimento();
    void Sfoglia(int riga);
    // The keys pressed together on the keyboard, from the first press until all are up, become the
    // row's output.
    void ImparaTastiera(int riga);
    void FineTastiera(const QString& esito);
    void Prova(int riga);
    // The output tried is sent once no window of this program is in front, where it would press the
    // dialog's own buttons.
    void InviaProva();
    void Salva();
    // Reads the file a save would start from (the map, else the map to copy, else the example):
    // empty when there is none, nullopt when it cannot be read whole.
    std::optional<QByteArray> LeggiOrigine() const;
    int Avvisa(const QString& text, uint32_t flags);

    MainForm& main;
    std::shared_ptr<platform::JoystickDriver> driver;
    platform::Shell& shell;

    std::array<Riga, Generale::NumTasti> righe;
    std::array<QComboBox*, Generale::NumUscite> uscite{};
    std::array<QLabel*, 3> avvisiLeve{};  // why a stick's or the cross's output does nothing
    std::array<QSpinBox*, Generale::NumPosizioni> posizioni{};
    QCheckBox* ordineXY = nullptr;
    QCheckBox* ordineZR = nullptr;
    std::array<QCheckBox*, 4> segni{};  // X, Y, Z, R: checked for -1
    QLabel* mappa = nullptr;            // where the map is saved, when that needs saying
    QLabel* stato = nullptr;            // the controller and the learning
    QPushButton* salva = nullptr;

    std::optional<uint32_t> tastiCorvane;  // the attached controller's buttons; nullopt: none
    // The file the dialog shows and saves into, fixed when it opens: a map switched meanwhile (a later
    // launch's --map) does not take the user's edits.
    platform::MapTarget destinazione;
    QString lettoDa;                     // the map in use when the dialog opened
    QString sceltaDa;                    // the map chosen then (a profile, --map); empty: the search's
    std::optional<QByteArray> letto;     // the file as it was when the dialog showed it
    bool esisteva = false;               // the file to save into was there when the dialog showed it
    Generale::Mappa prima;               // the tables the dialog showed first: what the user changed
    int rigaInApprendimento = -1;        // the row whose code the next chord sets, or -1
    int32_t accordo = 0;                 // buttons seen down since the chord's first press
    bool letturaAvviata = false;         // the dialog started the reading and stops it on close
    int rigaTastiera = -1;               // the row whose output the keyboard sets, or -1
    std::vector<uint16_t> tastiPremuti;  // in the order pressed
    std::vector<uint16_t> tastiGiu;      // still down
    platform::OutputOpener apriUscita;
    std::unique_ptr<output::OutputThread> prova;  // a keyboard and mouse of the dialog's own, once tried
    int rigaProva = -1;                           // the row whose output waits to be sent, or -1
    QTimer provaScade;
    QTimer provaAltrove;  // another window in front for this long: the trial goes
};
