#pragma once
// The desktop session's message bus, asked once before anything else uses it: a bus that takes the
// connection and never answers would hold SDL's reading thread and the window's start for good.

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

namespace platform {

// The socket a session bus address names first, as connect() takes it: a path, or an abstract name
// starting with a NUL byte. None for other transports or an address that names no socket.
std::optional<QByteArray> BusSocket(const QString& address);

// Whether the session bus (DBUS_SESSION_BUS_ADDRESS, else $XDG_RUNTIME_DIR/bus) answers a client's
// first words within the wait. True where there is no bus to ask, or it is reached another way.
bool SessionBusAnswers(std::chrono::milliseconds wait);

// For this process and the programs it starts: no session bus, so that nothing waits on one that does
// not answer.
void ForgetSessionBus();

}  // namespace platform
