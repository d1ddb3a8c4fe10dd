#pragma once
// XTest's keys outlive the connection that pressed them, and so a crash or a SIGKILL of this program:
// a process of its own, corvane-xtest-guard, hears what the program holds down through XTest and lets
// go of it when the program ends, however it ends (the end closes the guard's socket).

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <sys/types.h>

namespace platform {

class XTestGuard {
public:
    // The guard of the display, once it can let go there; null when it cannot start (not installed
    // beside the program, no X server there, or one without XTest).
    static std::unique_ptr<XTestGuard> Start(const QByteArray& display);
    // Its socket closes: it lets go of what it was told is still held, and ends. Waited for.
    ~XTestGuard();
    XTestGuard(const XTestGuard&) = delete;
    XTestGuard& operator=(const XTestGuard&) = delete;

    // An X input the program fakes (its event type and keycode or button): a press before the server
    // has it, a release after, so the guard knows of every one X may hold for the program.
    void Tell(uint8_t type, uint8_t detail);

private:
    XTestGuard(int socket, pid_t pid) : socket_(socket), pid_(pid) {}

    int socket_;
    pid_t pid_;
};

}  // namespace platform
