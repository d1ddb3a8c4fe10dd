// The live display: the monitor's events written into the controls over the controller picture, by
// the rules every reading of the pad follows.

#include "keymap/Generale.h"
#include "keymap/Significato.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/ShapeWidget.h"
#include "platform/WindowServices.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScopedValueRollback>
#include <QSlider>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// Visibility and captions are repainted at once, and only when they change: the look is the same
// as repainting on every write, at a fraction of the cost of the 14 buttons of every button event.
void MostraControllo(QWidget& controllo, bool visibile) {
    if (controllo.isHidden() == visibile) {
        controllo.setVisible(visibile);
        platform::RepaintNow(controllo);
    }
}

void ScriviCaption(QLabel& etichetta, const QString& testo) {
    if (etichetta.text() != testo) {
        etichetta.setText(testo);
        platform::RepaintNow(etichetta);
    }
}

QString CodiceTastoTesto(int32_t codice) {
    return QCoreApplication::translate("MainForm", " Codice tasto: ") + QString::number(codice);
}

bool Premuto(int32_t maschera, int indice) {
    return Generale::TastoAcceso(maschera, Generale::CodiceTasto[indice]);
}

// A stick's readings on its two sliders, in the map's order and signs; a product that does not fit 32
// bits is not written and its slider keeps its value.
void ImpostaCursori(QSlider& orizzontale, QSlider& verticale, bool ordine, int16_t segnoH, int16_t segnoV,
                    int32_t x, int32_t y) {
    const std::array<int64_t, 2> valori = Generale::LevaSulQuadro<int64_t>(ordine, segnoH, segnoV, x, y);
    const std::array<QSlider*, 2> cursori = {&orizzontale, &verticale};
    for (std::size_t i = 0; i < valori.size(); ++i) {
        if (valori[i] >= std::numeric_limits<int32_t>::min() &&
            valori[i] <= std::numeric_limits<int32_t>::max()) {
            cursori[i]->setValue(int(valori[i]));
        }
    }
}

// The "#0" pattern: a whole number, with a minus sign when negative.
QString TestoLeva(float valore) {
    return QString::number(std::lround(valore));
}

}  // namespace

void MainForm::cJoy_JoyButton(int32_t BtnPressed) {
    Generale::EventoDaJoy = true;
    const int32_t precedente = CodiceLetto;
    CodiceLetto = BtnPressed;
    // The chord that switches profile: it switches as it forms, and while it is held the buttons it
    // covers start nothing (the next profile's, or this one's, commands would surprise).
    const int32_t accordo = Generale::CodiceSuccessivo;
    if (Generale::AccordoTenuto(CodiceLetto, accordo) && !Generale::AccordoTenuto(precedente, accordo)) {
        profili.Switch(profili.Next());
    }
    for (int i = 0; i < Generale::NumTasti; ++i) {
        if (Premuto(CodiceLetto, i)) {
            MostraTastoPremuto(i);
            // A command runs when its button goes down, not again while it is held.
            const bool coperto = Generale::TastoCoperto(CodiceLetto, Generale::CodiceTasto[i], accordo);
            if (!Premuto(precedente, i) && !coperto) {
                AvviaComando(i);
            }
        } else {
            MostraTastoRilasciato(i);
        }
    }
    Generale::EventoDaJoy = false;
}

void MainForm::MostraTastoPremuto(int Index) {
    MostraControllo(*Img_Tasto[Index], true);
    ScriviCaption(*Lab_Tasto[0],
                  CodiceTastoTesto(Generale::EventoDaJoy ? CodiceLetto : Generale::CodiceTasto[Index]));
}

void MainForm::MostraTastoRilasciato(int Index) {
    MostraControllo(*Img_Tasto[Index], false);
    ScriviCaption(*Lab_Tasto[0], CodiceTastoTesto(CodiceLetto));
}

void MainForm::AvviaComando(int Index) {
    AvviaRiga(Generale::ComandoTasto[Index]);
}

// Every pad's commands start here: the one shown by its button events, the others by their own profiles.
void MainForm::AvviaRiga(const QString& comando) {
    if (comando.isEmpty()) {
        return;
    }
    const QString motivo = shell.StartProgram(comando, platform::ShowStyle::NormalNoFocus);
    if (!motivo.isEmpty()) {
        ComandoNonAvviato(comando, motivo);
    }
}

// Said in the menu bar's corner, not in a box that would stop the reading; on the desktop while the
// window is hidden. Once a second per command at most: a button pressed fast would flood.
void MainForm::ComandoNonAvviato(const QString& comando, const QString& motivo) {
    QDeadlineTimer& prossimo = avvisiComandi[comando];
    if (!prossimo.hasExpired()) {
        return;
    }
    prossimo.setRemainingTime(1000);
    const QString testo = tr("Il comando \"%1\" non si è avviato: %2").arg(comando, motivo);
    if (!isVisible()) {
        shell.MsgBox(this, testo, platform::MB_ICONERROR, windowTitle());
        return;
    }
    ScriviAngolo(testo, true);
    fineAvviso.start();
}

void MainForm::AzzeraTasti() {
    for (QLabel* immagine : Img_Tasto) {
        MostraControllo(*immagine, false);
    }
    CodiceLetto = 0;
    ScriviCaption(*Lab_Tasto[0], CodiceTastoTesto(CodiceLetto));
}

void MainForm::cJoy_JoyDpad(int32_t Dpadpos) {
    if (const std::optional<int16_t> posizione = Generale::PosizioneCroce(Dpadpos, Generale::PosizioneDig)) {
        MostraPosizione(*posizione);
    }
}

void MainForm::MostraPosizione(int16_t Posizione) {
    for (int p = 0; p < Generale::NumPosizioni; ++p) {
        MostraControllo(*Img_Dig[p], p == Posizione);
    }
    ScriviCaption(*Lab_Tasto[1], tr("Posizione: ") + QString::number(Posizione));
}

void MainForm::cJoy_JoyLeftStick(int32_t leftStickX, int32_t leftStickY) {
    ImpostaCursori(*Sld_X, *Sld_Y, Generale::OrdineXY, Generale::SegnoX, Generale::SegnoY, leftStickX,
                   leftStickY);
    MostraAnalogico(float(Sld_X->value()), float(Sld_Y->value()), true);
}

void MainForm::cJoy_JoyRightStick(int32_t rightStickX, int32_t rightStickY) {
    ImpostaCursori(*Sld_Z, *Sld_R, Generale::OrdineZR, Generale::SegnoZ, Generale::SegnoR, rightStickX,
                   rightStickY);
    // Live path: Sld_Z horizontal, Sld_R vertical (the slider path passes them the other way round).
    MostraAnalogico(float(Sld_Z->value()), float(Sld_R->value()), false);
}

void MainForm::MostraAnalogico(float ValoreH, float ValoreV, bool Sinistra) {
    // 66 twips per slider step, in single precision, multiplying first.
    const float dH = ValoreH * 660.0f / 10.0f;
    const float dV = ValoreV * 660.0f / 10.0f;
    ShapeWidget& punto = Sinistra ? *Shp_XP : *Shp_ZR;
    const int origineH = Sinistra ? 1080 : 7800;
    constexpr int origineV = 5520;
    QLabel& etichettaH = Sinistra ? *Lab_Tasto[2] : *Lab_Tasto[4];
    QLabel& etichettaV = Sinistra ? *Lab_Tasto[3] : *Lab_Tasto[5];

    const QRect prima = punto.geometry();
    platform::SetTwipsTop(punto, int(std::floor(dV)) + origineV);
    platform::SetTwipsLeft(punto, int(std::floor(dH)) + origineH);
    if (punto.geometry() != prima) {
        platform::RepaintNow(punto, prima);
    }
    ScriviCaption(etichettaH, TestoLeva(ValoreH));
    ScriviCaption(etichettaV, TestoLeva(ValoreV));
}

// A box that a poll opens keeps the polling going one level deep (see timer_module). A failure that a
// poll inside it tells (the pad plugged back in and out again) opens no second box, under which the polls
// would stop and the pad, plugged back once more, go unread until both closed: the open box says it.
void MainForm::cJoy_JoyError(const QString& sErrMessage) {
    static bool aperta = false;
    if (aperta) {
        return;
    }
    const QScopedValueRollback boxAperta(aperta, true);
    shell.MsgBox(this, sErrMessage, platform::MB_ICONERROR | platform::MB_SETFOREGROUND, windowTitle());
}
