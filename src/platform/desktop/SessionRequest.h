#pragma once
// What a second launch asks the program already running in the same desktop session: one line of
// text, one word from a fixed set. Kept apart from the channel so the parsing is plain and testable.

#include <QByteArray>
#include <optional>

namespace platform {

enum class SessionRequest {
    Show,   // a plain launch: show the window and raise it
    Start,  // --start: read as Start does
    Stop,   // --stop: stop reading as Stop does
    Quit,   // --quit: end the program as "Fine Programma" does
};

// Longest request line, its line feed included; a longer one is not read further.
inline constexpr int RequestMaxBytes = 16;

// The line a launch sends for a request, line feed included.
QByteArray RequestLine(SessionRequest request);

// The request of one received line: a known word followed by exactly one line feed, nothing else.
// Empty for anything else (a partial line, an unknown word, a second line, a carriage return, too long).
std::optional<SessionRequest> ParseRequest(const QByteArray& line);

}  // namespace platform
