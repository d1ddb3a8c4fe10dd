#pragma once
// The user's own settings, apart from the map: $XDG_CONFIG_HOME/corvane/corvane.conf, with
// XDG_CONFIG_HOME ~/.config when unset. Corvane.ini is never written.

#include <QString>

namespace platform {

// $XDG_CONFIG_HOME/corvane (~/.config/corvane when the variable is unset, empty or relative): the
// settings file, the user's gamecontrollerdb.txt and the user's own map.
QString UserConfigDirectory();

// The controller the user chose to read: its SDL GUID, and its name to show while it is unplugged.
// An empty GUID is the automatic choice (the first controller that answers).
struct ChosenController {
    QString guid;
    QString name;
};

ChosenController ReadChosenController();
// False, with a warning, when the settings file cannot be written.
bool WriteChosenController(const ChosenController& chosen);

}  // namespace platform
