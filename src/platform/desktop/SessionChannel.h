#pragma once
// One program per desktop session: the first launch listens on a local socket, keyed by user and
// display, and every later launch hands it its request and ends. The socket lives in a folder only the
// user can make: $XDG_RUNTIME_DIR, /run/user/<uid>, or the user's cache folder.

#include "platform/desktop/SessionRequest.h"

#include <QLockFile>
#include <QObject>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace platform {

// The display server a program opens its windows on, one spelling for each server. Qt's -platform and
// -display options (empty when not given) win over QT_QPA_PLATFORM and DISPLAY as they do for Qt:
// "x11 :77" for :77, :77.0, unix:77 and /tmp/.X11-unix/X77 alike ("x11 host:77" over the network),
// "wayland <socket path>" for $WAYLAND_DISPLAY, both when the platform is left to Qt, the platform's
// name for the others (offscreen).
QString DisplayKey(const QString& platformOption, const QString& displayOption);

// <folder>/corvane-<uid>-<hash of host and display key>. The folder is the first of $XDG_RUNTIME_DIR,
// /run/user/<uid> and <cache>/corvane (created 0700; $XDG_CACHE_HOME or ~/.cache) that is a
// directory owned by the user that no one else may write and in which the path fits a socket's
// address. Empty when none is.
QString SessionSocketPath(const QString& displayKey);

class SessionChannel final : public QObject {
    Q_OBJECT
public:
    enum class Delivery {
        Done,         // the running program took the request
        Refused,      // it answered, but not "ok"
        NoneRunning,  // no program listens: this launch is to be the program (listening if it has the turn)
        // A program listens but does not answer in time (stalled, or its queue full), or another launch
        // has held the turn too long: this launch gives up rather than become a second program.
        NotAnswering,
    };
    // Whether the running program takes a request: quick, no box, no event loop.
    using Accept = std::function<bool(const SessionRequest&)>;
    // What an accepted request asks for, done from the event loop once the answer has gone out.
    using Act = std::function<void(const SessionRequest&)>;

    explicit SessionChannel(QString socketPath);
    ~SessionChannel() override;

    // Hands the request to the running program. Launches of a session take turns, from looking for a
    // running program to listening, so two launches at once do not both become the running one; while
    // another launch has the turn and no program answers yet, this one keeps looking, up to StartMs.
    Delivery HandOver(const SessionRequest& request);
    // Listens for later launches, taking over a socket left by a program that ended without removing
    // it, then gives up the turn. Only with the turn held; false when it cannot listen.
    bool Listen(Accept accept, Act act);

private:
    Delivery Send(const SessionRequest& request);
    void Receive(QLocalSocket* socket);
    // True when no file is at the socket's path, or a socket of the user's own.
    bool OwnSocketOrNone() const;

    QString path;
    QLockFile lock;
    Accept accept;
    Act act;
    QLocalServer* server = nullptr;
};

}  // namespace platform
