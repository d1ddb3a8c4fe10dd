#pragma once
// The user's own settings, apart from the map: $XDG_CONFIG_HOME/corvane/corvane.conf, with
// XDG_CONFIG_HOME ~/.config when unset. Corvane.ini is never written.

#include "platform/files/ProfileReader.h"

#include <QString>

#include <optional>

namespace platform {

// $XDG_CONFIG_HOME/corvane (~/.config/corvane when the variable is unset, empty or relative): the
// settings file, the user's gamecontrollerdb.txt and the user's own map.
QString UserConfigDirectory();

// The settings file in UserConfigDirectory(). Read and written as a map is, with a map's limit.
inline constexpr qint64 MaxSettingsFileBytes = MaxProfileBytes;
QString UserSettingsFile();

// The controller the user chose to read: its SDL GUID, its name to show while it is unplugged, and the
// port it was plugged into (the kernel's physical path), which tells it from a pad of the same model.
// An empty GUID is the automatic choice (the first controller that answers); an empty port, as in a
// choice saved before ports were kept, chooses by GUID alone.
struct ChosenController {
    QString guid;
    QString name;
    QString port;
};

// The file is read without waiting: a named pipe, a folder or a file larger than the program ever
// writes in its place reads as the automatic choice, and is not written over.
ChosenController ReadChosenController();
// False, with a warning, when the settings file cannot be written.
bool WriteChosenController(const ChosenController& chosen);

// The profile the user chose last, by name; empty for the default map. Read as the controller is.
QString ReadActiveProfile();
// An empty name forgets the choice. False, with a warning, when the settings file cannot be written.
bool WriteActiveProfile(const QString& name);

// The profile remembered for one pad, by its SDL GUID and port; none for a pad never given one.
std::optional<QString> ReadPadProfile(const QString& guid, const QString& port);
// Remembers a pad's profile (an empty name: the default). False, with a warning, when the settings
// file cannot be written.
bool WritePadProfile(const QString& guid, const QString& port, const QString& name);

}  // namespace platform
