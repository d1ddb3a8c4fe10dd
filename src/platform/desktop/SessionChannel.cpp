#include "platform/desktop/SessionChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTimer>
#include <cerrno>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSession, "corvane.session")

namespace platform {
namespace {

constexpr int ConnectMs = 1000;
// The running program answers as soon as it has read the request; the work comes afterwards.
constexpr int AnswerMs = 5000;
// How long a launch waits for the turn at a time before it looks again for a running program.
constexpr int TurnMs = 1000;
// How long a launch waits, in all, for another one that is starting (a slow login, a slow home folder).
constexpr int StartMs = 30000;
// A request not complete in this time is dropped: a slow sender cannot hold the program.
constexpr int RequestMs = 1000;

// A directory owned by this user that neither group nor others may write (symbolic links not followed).
bool PrivateFolder(const QString& folder) {
    struct stat info {};
    return lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == getuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The user's cache folder is theirs alone: no one else can make corvane/ in it first.
QString CacheFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache)) {
        return {};
    }
    QString folder = cache + QStringLiteral("/corvane");
    if (mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    return folder;
}

// X's own spellings of one local server: ":77", ":77.0", "unix:77", "unix/:77", "/tmp/.X11-unix/X77".
QString XServer(const QString& display) {
    static const QRegularExpression socket(QStringLiteral("^/tmp/\\.X11-unix/X(\\d+)$"));
    if (const QRegularExpressionMatch found = socket.match(display); found.hasMatch()) {
        return QLatin1Char(':') + found.captured(1);
    }
    static const QRegularExpression name(QStringLiteral("^(?:([^/]*)/)?([^/:]*):(\\d+)(?:\\.\\d+)?$"));
    const QRegularExpressionMatch found = name.match(display);
    if (!found.hasMatch()) {
        return display;
    }
    const QString protocol = found.captured(1).toLower();
    QString host = found.captured(2).toLower();
    if (protocol == QLatin1String("unix") || host == QLatin1String("unix")) {
        host.clear();
    }
    return host + QLatin1Char(':') + found.captured(3);
}

QString WaylandServer(const QString& name) {
    const QString socket = name.isEmpty() ? QStringLiteral("wayland-0") : name;
    return QDir::isAbsolutePath(socket)
               ? QDir::cleanPath(socket)
               : QDir::cleanPath(qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/' + socket);
}

}  // namespace

QString DisplayKey(const QString& platformOption, const QString& displayOption) {
    const QString chosen =
        platformOption.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : platformOption;
    // "wayland;xcb" tries them in turn, "xcb:option" carries the plugin's options.
    QString platform = chosen.section(u';', 0, 0).section(u':', 0, 0);
    QString x = QStringLiteral("x11 ") +
                XServer(displayOption.isEmpty() ? qEnvironmentVariable("DISPLAY") : displayOption);
    QString wayland = QStringLiteral("wayland ") + WaylandServer(qEnvironmentVariable("WAYLAND_DISPLAY"));
    if (platform == QLatin1String("xcb")) {
        return x;
    }
    if (platform.startsWith(QLatin1String("wayland"))) {
        return wayland;
    }
    if (!platform.isEmpty()) {
        return platform;
    }
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ? x + u'\n' + wayland : x;
}

QString SessionSocketPath(const QString& displayKey) {
    // The host too: a cache folder in a home shared over the network serves several machines.
    const QString name =
        QStringLiteral("corvane-%1-%2")
            .arg(getuid())
            .arg(QString::fromLatin1(
                QCryptographicHash::hash((QSysInfo::machineHostName() + u'\n' + displayKey).toUtf8(),
                                         QCryptographicHash::Sha256)
                    .toHex()
                    .left(12)));
    const auto usable = [&name](const QString& folder) {
        return QDir::isAbsolutePath(folder) && PrivateFolder(folder) &&
               QFile::encodeName(folder + u'/' + name).size() < int(sizeof(sockaddr_un::sun_path));
    };
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && !usable(runtime)) {
        qCWarning(lcSession) << "XDG_RUNTIME_DIR" << runtime
                             << "is not the user's own private folder, or too long for a socket; not used";
    }
    for (const QString& folder : {runtime, QStringLiteral("/run/user/%1").arg(getuid())}) {
        if (usable(folder)) {
            return folder + u'/' + name;
        }
    }
    if (const QString cache = CacheFolder(); usable(cache)) {
        return cache + u'/' + name;
    }
    qCWarning(lcSession) << "no private folder for the session socket; this program runs on its own";
    return {};
}

SessionChannel::SessionChannel(QString socketPath)
    : path(std::move(socketPath)), lock(path + QStringLiteral(".lock")) {
    // Only a holder that has ended frees the turn: one that is slow still holds it, however long.
    lock.setStaleLockTime(0);
}

SessionChannel::~SessionChannel() = default;

bool SessionChannel::OwnSocketOrNone() const {
    struct stat info {};
    if (lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return errno == ENOENT;
    }
    return S_ISSOCK(info.st_mode) && info.st_uid == getuid();
}

SessionChannel::Delivery SessionChannel::HandOver(const SessionRequest& request) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const bool turn = lock.tryLock(TurnMs);
        const Delivery delivery = Send(request);
        if (delivery == Delivery::Done || delivery == Delivery::Refused) {
            lock.unlock();
            return delivery;
        }
        // With no turns to take at all (a lock file that cannot be written) the program runs on its own.
        if (delivery == Delivery::NoneRunning && (turn || lock.error() != QLockFile::LockFailedError)) {
            return delivery;
        }
        // A program that is there but slow may answer the next try; its socket is never taken over.
        if (turn) {
            lock.unlock();
        }
        if (waited.hasExpired(StartMs)) {
            return Delivery::NotAnswering;
        }
    }
}

SessionChannel::Delivery SessionChannel::Send(const SessionRequest& request) {
    if (!OwnSocketOrNone()) {
        qCWarning(lcSession) << path << "is not a socket of this user's own; not used";
        return Delivery::NoneRunning;
    }
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(ConnectMs)) {
        // Only a socket nobody listens on is free to take over; a full queue or a slow connect is a
        // program that is there.
        const QLocalSocket::LocalSocketError error = socket.error();
        return error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError
                   ? Delivery::NoneRunning
                   : Delivery::NotAnswering;
    }
    const QByteArray lines = RequestLines(request);
    if (lines.isEmpty()) {
        return Delivery::Refused;
    }
    socket.write(lines);
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < RequestMaxBytes && socket.waitForReadyRead(AnswerMs)) {
        answer += socket.read(RequestMaxBytes);
    }
    if (!answer.contains('\n')) {
        return Delivery::NotAnswering;  // the program does not act on a request whose answer finds no one
    }
    return answer == "ok\n" ? Delivery::Done : Delivery::Refused;
}

bool SessionChannel::Listen(Accept onAccept, Act onAct) {
    if (!lock.isLocked()) {
        // Another launch has the turn: the socket may be the running program's, or soon be.
        qCWarning(lcSession) << "not listening on" << path << "without the turn";
        return false;
    }
    accept = std::move(onAccept);
    act = std::move(onAct);
    if (!OwnSocketOrNone()) {
        qCWarning(lcSession) << path << "is not a socket of this user's own; not listening";
        lock.unlock();
        return false;
    }
    // Nothing answered on it while this launch had the turn: a crashed program's socket.
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

// One request, read up to its bounded length within a time limit, answered at once; anything else is
// answered "error". The work comes after the answer, from the event loop: it may open a box, spin an
// event loop or end the program, none of which the socket would survive.
void SessionChannel::Receive(QLocalSocket* socket) {
    socket->setParent(this);
    socket->setReadBufferSize(RequestMaxBytes + 1);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(RequestMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    const auto answer = [this, socket] {
        const QByteArray bytes = socket->peek(RequestMaxBytes + 1);
        if (RequestGoesOn(bytes)) {
            return;  // more to come
        }
        socket->disconnect(this);  // one request a connection
        const std::optional<SessionRequest> request = ParseRequest(bytes);
        if (!request) {
            qCWarning(lcSession) << "malformed request ignored";
        }
        const bool accepted = request && accept && accept(*request);
        socket->write(accepted ? "ok\n" : "error\n");
        // A launch that gave up waiting (this program was stalled) has gone and counts it as not done.
        const bool heard = socket->flush();
        socket->disconnectFromServer();
        if (accepted && heard && act) {
            QTimer::singleShot(0, this, [this, taken = *request] { act(taken); });
        }
    };
    connect(socket, &QLocalSocket::readyRead, this, answer);
    answer();  // bytes that came with the connection
}

}  // namespace platform
