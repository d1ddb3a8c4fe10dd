#include "platform/output/XTestGuard.h"
#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QFile>

#include <array>
#include <cerrno>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

std::unique_ptr<XTestGuard> XTestGuard::Start(const QByteArray& display) {
    // Where the package installs it: CORVANE_XTEST_GUARD is relative to the program's own folder.
    QByteArray program =
        QFile::encodeName(QDir(ProgramDirectory()).filePath(QStringLiteral(CORVANE_XTEST_GUARD)));
    QByteArray displayArgument = display;
    // Packets: a change is read whole or not at all. Close on exec: a command the program starts must not
    // keep the socket open past the program's end.
    std::array<int, 2> ends{};
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends.data()) != 0) {
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    // A process group of its own: Ctrl+C in the terminal, or a kill of the program's group, ends the
    // program, not its guard. No signal blocked, whichever thread starts it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    std::array<char*, 3> arguments{program.data(), displayArgument.data(), nullptr};
    pid_t pid = 0;
    const int failed =
        posix_spawn(&pid, program.constData(), &actions, &attributes, arguments.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (failed != 0) {
        close(ends[0]);
        return nullptr;
    }
    std::unique_ptr<XTestGuard> guard(new XTestGuard(ends[0], pid));
    // One byte once it is connected; the socket's end if it cannot be.
    char able = 0;
    ssize_t length = 0;
    do {
        length = recv(ends[0], &able, 1, 0);
    } while (length < 0 && errno == EINTR);
    return length == 1 ? std::move(guard) : nullptr;
}

XTestGuard::~XTestGuard() {
    close(socket_);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
}

void XTestGuard::Tell(uint8_t type, uint8_t detail) {
    const std::array<uint8_t, 2> change{type, detail};
    // The controller's reading thread sends: it never waits for the guard. A guard stopped for so long
    // that its socket is full misses changes rather than stopping the controller.
    send(socket_, change.data(), change.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
}

}  // namespace platform
