#pragma once
// The tray icon's pictures: the program's icon with a badge in its lower right corner, of a colour and
// a shape of its own for each state, so that the state shows without the tooltip (and to a user who
// does not tell green from red).

#include "background/BackgroundMode.h"

#include <QIcon>

// Reading: a green badge with a play triangle. Waiting: an amber badge with three dots. Stopped: the
// icon greyed, with a grey badge holding a square.
QIcon TrayPicture(BackgroundMode::State state);
