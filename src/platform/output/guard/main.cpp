// corvane-xtest-guard <display>: lets go, on that X display, of what Corvane Demo holds down through
// XTest once Corvane Demo ends, however it ends. X keeps a key XTest pressed down after the connection
// that pressed it closes, and auto-repeats it into whatever window has the focus: the kernel lets go of
// a removed uinput device's keys, this process of XTest's.
// Its standard input is a socket to the program (SOCK_SEQPACKET): it answers one byte once it can let
// go on the display, then hears each press and release (HeldInputs.h). The program's end closes the
// socket; the guard then releases what is still held and ends. It presses nothing itself.
#include "platform/output/guard/HeldInputs.h"

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kProgram = STDIN_FILENO;

// Until the program's socket closes: what it holds then. Empty when the X connection broke first, as
// the display's keys went with it.
platform::guard::HeldInputs Listen(xcb_connection_t* x) {
    platform::guard::HeldInputs held;
    std::array<pollfd, 2> ready{{{kProgram, POLLIN, 0}, {xcb_get_file_descriptor(x), POLLIN, 0}}};
    for (;;) {
        if (poll(ready.data(), ready.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return held;
        }
        if (ready[1].revents != 0) {
            while (xcb_generic_event_t* const event = xcb_poll_for_event(x)) {
                std::free(event);  // errors of requests it made: nothing to do about them
            }
            if (xcb_connection_has_error(x) != 0) {
                return {};
            }
        }
        if (ready[0].revents != 0) {
            platform::guard::Change change{};
            const ssize_t length = recv(kProgram, change.data(), change.size(), 0);
            if (length == static_cast<ssize_t>(change.size())) {
                held.Apply(change);
            } else if (length == 0 || (length < 0 && errno != EINTR)) {
                return held;
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs(
            "usage: corvane-xtest-guard <display> (started by corvane, its socket on standard input)\n",
            stderr);
        return 2;
    }
    // The terminal's signals are for the program, whose end closes the socket.
    for (const int signal : {SIGINT, SIGHUP, SIGQUIT, SIGPIPE}) {
        std::signal(signal, SIG_IGN);
    }
    // Nothing of the program's kept busy: no descriptor but the socket and the standard output and
    // error, no working folder.
    close_range(STDERR_FILENO + 1, ~0U, 0);
    if (chdir("/") != 0) {
        return 1;
    }
    xcb_connection_t* const x = xcb_connect(argv[1], nullptr);
    const xcb_query_extension_reply_t* const xtest =
        xcb_connection_has_error(x) == 0 ? xcb_get_extension_data(x, &xcb_test_id) : nullptr;
    const uint8_t able = 1;
    if (xtest == nullptr || xtest->present == 0 || send(kProgram, &able, 1, MSG_NOSIGNAL) != 1) {
        xcb_disconnect(x);
        return 1;
    }
    for (const platform::guard::Change& release : Listen(x).Releases()) {
        xcb_test_fake_input(x, release[0], release[1], XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    // A server that sees a connection close drops the requests it has not read yet: the releases are
    // waited for, with a request that has a reply.
    std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
    xcb_disconnect(x);
    return 0;
}
