// The on-screen emulation panel: mouse and slider input driving the same display as the live events.

#include "keymap/Generale.h"
#include "mainwindow/MainForm.h"

#include <QSlider>

namespace {
bool TastoValido(int16_t Index) {
    return Index >= 0 && Index < Generale::NumTasti;
}
}  // namespace

void MainForm::Cmd_tasto_MouseDown(int16_t Index, int16_t, int16_t, float, float) {
    if (TastoValido(Index)) {
        MostraTastoPremuto(Index);
        AvviaComando(Index);
    }
}

void MainForm::Cmd_tasto_MouseUp(int16_t Index, int16_t, int16_t, float, float) {
    if (TastoValido(Index)) {
        MostraTastoRilasciato(Index);
    }
}

void MainForm::Cmd_Dig_MouseDown(int16_t Index, int16_t, int16_t, float, float) {
    MostraPosizione(Index);
}

// Any release returns the cross to its centre.
void MainForm::Cmd_Dig_MouseUp(int16_t, int16_t, int16_t, float, float) {
    MostraPosizione(0);
}

void MainForm::Sld_X_Scroll() {
    MostraAnalogico(float(Sld_X->value()), float(Sld_Y->value()), true);
}

void MainForm::Sld_Y_Scroll() {
    Sld_X_Scroll();
}

// Slider path: Sld_R horizontal, Sld_Z vertical (the live path passes them the other way round).
void MainForm::Sld_Z_Scroll() {
    MostraAnalogico(float(Sld_R->value()), float(Sld_Z->value()), false);
}

void MainForm::Sld_R_Scroll() {
    Sld_Z_Scroll();
}

void MainForm::Cmd_0_XY_Click() {
    Sld_X->setValue(0);
    Sld_Y->setValue(0);
    Sld_X_Scroll();
}

void MainForm::Cmd_0_ZR_Click() {
    Sld_Z->setValue(0);
    Sld_R->setValue(0);
    Sld_Z_Scroll();
}
