#include "platform/desktop/SessionBus.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// The first line a client sends after the credentials byte, and the start of the answer that accepts it.
QByteArray AuthLine() {
    return "AUTH EXTERNAL " + QByteArray::number(getuid()).toHex() + "\r\n";
}

// Waits for fd to be ready until the deadline; false once it has passed.
bool Ready(int fd, short events, Clock::time_point deadline) {
    pollfd ready{fd, events, 0};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const int n = poll(&ready, 1, int(std::max<int64_t>(0, left.count())));
        if (n > 0) {
            return true;
        }
        if (n == 0 || errno != EINTR) {
            return false;
        }
    }
}

}  // namespace

std::optional<QByteArray> BusSocket(const QString& address) {
    // Addresses are tried in order, separated by ";"; a unix one names its socket by path or abstract.
    for (const QString& one : address.split(u';', Qt::SkipEmptyParts)) {
        if (!one.startsWith(u"unix:")) {
            continue;
        }
        for (const QString& pair : one.sliced(5).split(u',')) {
            if (pair.startsWith(u"path=")) {
                return QFile::encodeName(pair.sliced(5));
            }
            if (pair.startsWith(u"abstract=")) {
                return QByteArray(1, '\0') + QFile::encodeName(pair.sliced(9));
            }
        }
    }
    return std::nullopt;
}

bool SessionBusAnswers(std::chrono::milliseconds wait) {
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const std::optional<QByteArray> socketName =
        !address.isEmpty()  ? BusSocket(address)
        : runtime.isEmpty() ? std::nullopt
                            : std::optional(QFile::encodeName(QDir(runtime).filePath(QStringLiteral("bus"))));
    sockaddr_un where{};
    if (!socketName || socketName->isEmpty() || std::size_t(socketName->size()) >= sizeof where.sun_path) {
        return true;
    }
    where.sun_family = AF_UNIX;
    std::memcpy(where.sun_path, socketName->constData(), std::size_t(socketName->size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return true;
    }
    const Clock::time_point deadline = Clock::now() + wait;
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + std::size_t(socketName->size()));
    bool answers = true;  // a bus that refuses the connection fails fast for everyone: nothing waits on it
    const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&where), length) == 0;
    if (!connected && errno == EAGAIN) {
        answers = false;  // its queue is full: a client that waits would wait for good
    } else if (connected || (errno == EINPROGRESS && Ready(fd, POLLOUT, deadline))) {
        const QByteArray hello = QByteArray(1, '\0') + AuthLine();
        char answer[3] = {};
        answers = send(fd, hello.constData(), std::size_t(hello.size()), MSG_NOSIGNAL) == hello.size() &&
                  Ready(fd, POLLIN, deadline) && recv(fd, answer, sizeof answer, 0) > 0;
    }
    close(fd);
    return answers;
}

void ForgetSessionBus() {
    // An address of no transport: libdbus, which Qt and SDL use, gives up on it at once.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

}  // namespace platform
