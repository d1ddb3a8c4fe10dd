// Window life and menu commands. Not written yet: every handler here does nothing so far.

#include "mainwindow/MainForm.h"

void MainForm::Form_Activate() {}

void MainForm::Form_Unload(bool&) {}

void MainForm::Cmd_Start_Click() {}

void MainForm::Cmd_Stop_Click() {}

void MainForm::MenuEmula_Click() {}

void MainForm::MenuNumeroPad_Click() {}

void MainForm::cJoy_JoyNumbers(int32_t) {}

void MainForm::MenuPGioco_Click() {}

void MainForm::MenuFine_Click() {}

void MainForm::MenuAssegna_Click() {}

void MainForm::MenuAbout_Click() {}

void MainForm::Img_Logo_DblClick() {}
