#pragma once
// Linux stand-ins for the two programs the main window starts by name: the game-controller
// settings and a text editor on the map file.

#include "platform/Shell.h"

#include <QString>

namespace platform {

// The first installed of: jstest-gtk, Plasma 6's and then Plasma 5's game-controller module.
// Empty when none is installed; the caller then shows GameControllerMissingText().
QString GameControllerCommandLine(Shell& shell);

// Information text (lines separated by carriage returns) naming the package to install.
QString GameControllerMissingText();

// The first installed of a few common graphical editors, else xdg-open, on
// <program directory>/Corvane.ini as one argument. The file need not exist for the editors;
// xdg-open opens only an existing file.
QString MapEditorCommandLine(Shell& shell);

// argument quoted for QProcess::splitCommand, so that blanks and quotes stay in one argument.
QString QuotedArgument(const QString& argument);

}  // namespace platform
