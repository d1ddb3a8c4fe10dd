#include "platform/desktop/SessionChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QTimer>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSession, "corvane.session")

namespace platform {
namespace {

constexpr int ConnectMs = 1000;
// A running program answers once it has done the request (showing the window, starting to read).
constexpr int AnswerMs = 5000;
// A launch waits this long for another one that is starting up at the same moment.
constexpr int LockMs = 10000;
// A request not complete in this time is dropped: a slow sender cannot hold the program.
constexpr int RequestMs = 1000;

// A directory owned by this user that neither group nor others may write (symbolic links not followed).
bool PrivateFolder(const QString& folder) {
    struct stat info {};
    return lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == getuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString OwnFolder() {
    const QString folder = QDir::tempPath() + QStringLiteral("/corvane-%1").arg(getuid());
    if (mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    return PrivateFolder(folder) ? folder : QString();
}

// Programs on separate displays (a test's own X server) do not meet.
QString DisplayKey() {
    const QByteArray display = qgetenv("DISPLAY") + '\n' + qgetenv("WAYLAND_DISPLAY");
    return QString::fromLatin1(
        QCryptographicHash::hash(display, QCryptographicHash::Sha256).toHex().left(12));
}

}  // namespace

QString SessionSocketPath() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!folder.isEmpty() && !(QDir::isAbsolutePath(folder) && PrivateFolder(folder))) {
        qCWarning(lcSession) << "XDG_RUNTIME_DIR" << folder
                             << "is not the user's own private folder; not used";
        folder.clear();
    }
    if (folder.isEmpty()) {
        folder = OwnFolder();
    }
    if (folder.isEmpty()) {
        qCWarning(lcSession) << "no private folder for the session socket; this program runs on its own";
        return {};
    }
    return QStringLiteral("%1/corvane-%2-%3").arg(folder).arg(getuid()).arg(DisplayKey());
}

SessionChannel::SessionChannel(QString socketPath)
    : path(std::move(socketPath)), lock(path + QStringLiteral(".lock")) {}

SessionChannel::~SessionChannel() = default;

bool SessionChannel::Lock() {
    return lock.tryLock(LockMs);
}

bool SessionChannel::OwnSocketOrNone() const {
    struct stat info {};
    if (lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return errno == ENOENT;
    }
    return S_ISSOCK(info.st_mode) && info.st_uid == getuid();
}

SessionChannel::Delivery SessionChannel::Send(SessionRequest request) {
    if (!OwnSocketOrNone()) {
        qCWarning(lcSession) << path << "is not a socket of this user's own; not used";
        return Delivery::NoneRunning;
    }
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(ConnectMs)) {
        return Delivery::NoneRunning;
    }
    socket.write(RequestLine(request));
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < RequestMaxBytes && socket.waitForReadyRead(AnswerMs)) {
        answer += socket.read(RequestMaxBytes);
    }
    return answer == "ok\n" ? Delivery::Done : Delivery::Refused;
}

bool SessionChannel::Listen(Handler onRequest) {
    handler = std::move(onRequest);
    if (!OwnSocketOrNone()) {
        qCWarning(lcSession) << path << "is not a socket of this user's own; not listening";
        lock.unlock();
        return false;
    }
    // Nothing answered on it (Send came first, under the lock): a crashed program's socket.
    QLocalServer::removeServer(path);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    const bool listening = server->listen(path);
    if (!listening) {
        qCWarning(lcSession) << "cannot listen on" << path << server->errorString();
    }
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            Receive(socket);
        }
    });
    lock.unlock();
    return listening;
}

// One line, read up to its bounded length within a time limit; anything else is answered "error".
void SessionChannel::Receive(QLocalSocket* socket) {
    socket->setParent(this);
    socket->setReadBufferSize(RequestMaxBytes + 1);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(RequestMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    const auto answer = [this, socket] {
        if (!socket->canReadLine() && socket->bytesAvailable() <= RequestMaxBytes) {
            return;  // more to come
        }
        socket->disconnect(this);  // one request a connection
        const std::optional<SessionRequest> request = ParseRequest(socket->read(RequestMaxBytes + 1));
        if (!request) {
            qCWarning(lcSession) << "malformed request ignored";
        }
        const bool done = request && handler && handler(*request);
        socket->write(done ? "ok\n" : "error\n");
        socket->flush();
        socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, this, answer);
    answer();  // bytes that came with the connection
}

}  // namespace platform
