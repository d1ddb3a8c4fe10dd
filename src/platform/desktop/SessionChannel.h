#pragma once
// One program per desktop session: the first launch listens on a local socket, keyed by user and
// display, and every later launch hands it its request and ends. The socket lives in
// $XDG_RUNTIME_DIR, or in a private folder of the user's own when that is unset or not safe.

#include "platform/desktop/SessionRequest.h"

#include <QLockFile>
#include <QObject>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace platform {

// <folder>/corvane-<uid>-<display hash>. The folder is $XDG_RUNTIME_DIR when it is a directory owned
// by the user that no one else may write; otherwise <temp>/corvane-<uid>, created 0700. Empty when
// neither is safe to use.
QString SessionSocketPath();

class SessionChannel final : public QObject {
    Q_OBJECT
public:
    enum class Delivery {
        Done,         // the running program did it
        Refused,      // it answered, but not "ok"
        NoneRunning,  // no program listens (or the socket is not the user's own)
    };
    // The request handler's answer: true for "ok".
    using Handler = std::function<bool(SessionRequest)>;

    explicit SessionChannel(QString socketPath);
    ~SessionChannel() override;

    // Serialises the launches of a session, from looking for a running program to listening, so two
    // launches at once do not both become the running one. False when it could not be had in time.
    bool Lock();
    Delivery Send(SessionRequest request);
    // Listens for later launches, taking over a socket left by a program that ended without removing
    // it, then lets the next launch look. False when it cannot listen; the program goes on alone.
    bool Listen(Handler onRequest);

private:
    void Receive(QLocalSocket* socket);
    // True when no file is at the socket's path, or a socket of the user's own.
    bool OwnSocketOrNone() const;

    QString path;
    QLockFile lock;
    Handler handler;
    QLocalServer* server = nullptr;
};

}  // namespace platform
