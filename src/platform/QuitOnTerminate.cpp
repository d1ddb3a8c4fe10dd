// A signal handler may do almost nothing: it writes a byte, and the event loop does the rest.
#include "platform/QuitOnTerminate.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <atomic>

#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::array<int, 4> kEnding{SIGTERM, SIGINT, SIGHUP, SIGQUIT};
std::array<bool, kEnding.size()> caught{};  // set before any handler runs, read by it

int ended[2] = {-1, -1};  // written by the handler, read by the event loop
// Set once the event loop runs: before, nobody would read the byte (a start held up by a service that
// never answers), and nothing is held yet that the event loop would let go.
std::atomic<bool> looping{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read in a signal handler");

void Ended(int /*signal*/) {
    // The next one has its default effect: a program that does not end is ended at once.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    for (std::size_t i = 0; i < kEnding.size(); ++i) {
        if (caught[i]) {
            sigaction(kEnding[i], &fallback, nullptr);
        }
    }
    if (!looping.load()) {
        _exit(0);
    }
    const char byte = 1;
    if (write(ended[0], &byte, 1) < 0) {
        // The byte of a first signal is already there.
    }
}

}  // namespace

void QuitOnTerminate() {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ended) != 0) {
        return;  // the signals keep ending the program at once
    }
    auto* notifier = new QSocketNotifier(ended[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] { QCoreApplication::exit(0); });
    QTimer::singleShot(0, notifier, [] { looping = true; });
    struct sigaction action {};
    action.sa_handler = Ended;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEnding) {
        sigaddset(&action.sa_mask, signal);  // one handler at a time
    }
    for (std::size_t i = 0; i < kEnding.size(); ++i) {
        struct sigaction before {};
        caught[i] = sigaction(kEnding[i], nullptr, &before) == 0 && before.sa_handler != SIG_IGN;
    }
    for (std::size_t i = 0; i < kEnding.size(); ++i) {
        if (caught[i]) {
            sigaction(kEnding[i], &action, nullptr);
        }
    }
}

}  // namespace platform
