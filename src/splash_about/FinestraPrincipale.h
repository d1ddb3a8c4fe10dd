#pragma once
// The main window with the windows it loads from the libraries above it (About, the key-assignment
// dialog): the splash and a start without it build it the same way.

#include "mainwindow/MainForm.h"

#include <memory>

// The main window, hidden, with the loaders of its About window and its key dialog set: a start
// without the splash loads About only when it is first shown.
std::unique_ptr<MainForm> CreaFinestraPrincipale(const std::shared_ptr<platform::JoystickDriver>& driver,
                                                 platform::Shell& shell);
