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

// The desktop's default text editor (the text/plain association), else the first installed of a few
// common graphical editors, on file as one argument. Empty when there is none; the caller then
// shows MapEditorMissingText(file).
QString MapEditorCommandLine(Shell& shell, const QString& file);

// Information text (lines separated by carriage returns) naming the file to edit by hand.
QString MapEditorMissingText(const QString& file);

// argument quoted for QProcess::splitCommand, so that blanks and quotes stay in one argument.
QString QuotedArgument(const QString& argument);

}  // namespace platform
