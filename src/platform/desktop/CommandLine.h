#pragma once
// The program's command line, read before any window opens and without a display.

#include "platform/desktop/SessionRequest.h"

#include <QStringList>
#include <optional>

namespace platform {

struct CommandLine {
    QString map;      // --map FILE, as an absolute path; empty: search for Corvane.ini
    QString profile;  // --profile NAME, a name the profiles' rules allow; empty: none asked
    int pad = 0;      // --pad N with --profile: the profile is for the Nth pad listed; 0: the one shown
    bool listProfiles = false;  // --profiles: print the profiles and end
    bool emulation = false;     // --emulation: show the "Emulazione Corvane" menu entry
    bool background = false;    // --background: window hidden, reading at once, tray icon
    // --start, --stop, --quit; none: show. Sent to the program already running, if any.
    SessionRequest::Action request = SessionRequest::Action::Show;
    bool requested = false;  // one of --start, --stop, --quit was given
    QString platform;        // Qt's -platform, empty when not given
    QString display;         // Qt's -display, empty when not given
};

// Exit status of a command line that cannot be used (unknown option, missing or unusable map).
inline constexpr int UsageError = 2;
// Exit status when --help or --version could not be written out.
inline constexpr int OutputError = 1;

// Reads arguments (the program's name first). Qt's own options (-platform, -style, -reverse, ...)
// are let through for the application object. Returns the exit status when the program must end
// at once: 0 after printing --help or --version on standard output (OutputError when that write
// fails), UsageError after printing why on standard error. Otherwise fills options and returns
// nothing.
std::optional<int> ReadCommandLine(const QStringList& arguments, CommandLine& options);

// Whether the application object will find a display to open: one named for X11 that answers, or for
// Wayland, or a platform that needs none (-platform offscreen). Without one, Qt ends the program.
bool DisplayFound(const CommandLine& options);

// Writes text on standard output: 0, or OutputError when it could not be written whole.
int Answer(const QString& text);

// What a launch with these options asks the program already running: all of them, --background as
// reading that leaves the window as it is.
SessionRequest RequestOf(const CommandLine& options);

}  // namespace platform
