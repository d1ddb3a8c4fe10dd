#pragma once
// SIGTERM (a logout, a service manager, kill), SIGINT (Ctrl+C in the terminal), SIGHUP (the terminal
// closed) and SIGQUIT end the program as "Fine Programma" does, so that what it holds down on the
// desktop is let go; a second of any of them ends it at once. One the program was started ignoring
// (nohup, a shell's job in the background) stays ignored.

namespace platform {

// Once, with the application object made.
void QuitOnTerminate();

}  // namespace platform
