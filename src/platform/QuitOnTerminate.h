#pragma once
// SIGTERM (a logout, a service manager, kill) ends the program as "Fine Programma" does, so that what it
// holds down on the desktop is let go; a second SIGTERM ends it at once.

namespace platform {

// Once, with the application object made.
void QuitOnTerminate();

}  // namespace platform
