// A signal handler may do almost nothing: it writes a byte, and the event loop does the rest.
#include "platform/QuitOnTerminate.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

int terminated[2] = {-1, -1};  // written by the handler, read by the event loop

void Terminated(int /*signal*/) {
    const char byte = 1;
    if (write(terminated[0], &byte, 1) < 0) {
        // The byte of a first SIGTERM is already there.
    }
}

}  // namespace

void QuitOnTerminate() {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, terminated) != 0) {
        return;  // SIGTERM keeps ending the program at once
    }
    auto* notifier = new QSocketNotifier(terminated[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] { QCoreApplication::exit(0); });
    struct sigaction action {};
    action.sa_handler = Terminated;
    action.sa_flags = SA_RESETHAND | SA_RESTART;  // the next SIGTERM has its default effect
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace platform
