#pragma once
// What a second launch asks the program already running in the same desktop session: a few lines of
// text, each a word from a fixed set, the last one saying what to do. Kept apart from the channel so
// the parsing is plain and testable.
//
//   map <absolute path>\n   optional: load this map, as a reload does
//   profile <name>\n        optional, not with map: switch to this profile (UTF-8)
//   pad <number>\n          optional, only after profile: on that pad, 1 the first listed
//   emulation\n             optional: show the "Emulazione Corvane" menu entry
//   show|start|stop|quit\n  what to do; it ends the request

#include "platform/desktop/ProfileName.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

struct SessionRequest {
    enum class Action {
        Show,   // a plain launch: show the window and raise it
        Start,  // --start, or --background: read as Start does, the window left as it is
        Stop,   // --stop: stop reading as Stop does
        Quit,   // --quit: end the program as "Fine Programma" does
    };
    Action action = Action::Show;
    QString map;             // --map, an absolute path; empty: the map in force stays
    bool emulation = false;  // --emulation
    QString profile;         // --profile, a name; empty: the profile in force stays
    int pad = 0;             // --pad, 1..MaxPadNumber: the pad the profile is for; 0: the one shown

    friend bool operator==(const SessionRequest&, const SessionRequest&) = default;
};

// The highest pad number: as many pads as the driver has slots.
inline constexpr int MaxPadNumber = 16;

// Longest map path a request carries, in bytes: the system's own limit on a path.
inline constexpr int MapPathMaxBytes = 4095;
// Longest request, its last line feed included; a longer one is not read further.
inline constexpr int RequestMaxBytes =
    int(sizeof "map \n" - 1) + MapPathMaxBytes + int(sizeof "profile \n" - 1) + ProfileNameMaxBytes +
    int(sizeof "pad 16\n" - 1) + int(sizeof "emulation\n" - 1) + int(sizeof "start\n" - 1);

// True for a map path a request can carry: absolute, 1 to MapPathMaxBytes bytes in the file system's
// encoding, no control character (a line feed would end the line, a NUL the path).
bool CarriesMap(const QString& path);

// The bytes a launch sends; empty when the request's map or profile name cannot be carried, or it has
// both.
QByteArray RequestLines(const SessionRequest& request);

// The request of the received bytes: the lines above in that order, each exactly once at most, the
// action last and nothing after it. Empty for anything else (a partial line, an unknown word, a
// relative or unfit map path, a carriage return, lines out of order, too long).
std::optional<SessionRequest> ParseRequest(const QByteArray& bytes);

// True while the bytes received so far may still become a request: within the bound, and every whole
// line so far one that another line must follow. False once there is something to answer.
bool RequestGoesOn(const QByteArray& bytes);

}  // namespace platform
