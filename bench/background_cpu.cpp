// CPU cost of reading with nobody at the window. For a few seconds each, the main window reads an SDL
// virtual controller shown, then hidden in background mode, at rest (the controller untouched) and
// active (a stick and a button change at every poll), then waits hidden with no controller attached.
// Prints CPU milliseconds per second of wall time for each.
// Usage: background_cpu [seconds per measure, default 10]; run it offscreen or under xvfb-run.
#include "background/BackgroundMode.h"
#include "mainwindow/MainForm.h"
#include "platform/QtShell.h"
#include "platform/input/JoystickDriver.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <SDL.h>
#include <cstdio>
#include <ctime>

namespace {

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Runs the event loop for `seconds`; the controller's state changes every 25 ms when `pad` is given.
double CpuMsPerSecond(int seconds, SDL_Joystick* pad) {
    QTimer move;
    int step = 0;
    QObject::connect(&move, &QTimer::timeout, [pad, &step] {
        ++step;
        SDL_JoystickSetVirtualAxis(pad, 0, Sint16((step % 2) ? 20000 : -20000));
        SDL_JoystickSetVirtualButton(pad, 0, Uint8(step % 2));
    });
    if (pad != nullptr) {
        move.start(25);
    }
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    const double before = CpuSeconds();
    loop.exec();
    return (CpuSeconds() - before) * 1000.0 / seconds;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    platform::QtShell shell;
    const std::shared_ptr<platform::JoystickDriver> driver = platform::MakeSdlJoystickDriver();
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 14, 1);
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    MainForm form(driver, shell);

    const auto measure = [&](const char* name, bool hidden, bool active) {
        form.setVisible(!hidden);
        BackgroundMode mode(form, driver, shell, hidden);
        mode.Read();
        const double ms = CpuMsPerSecond(seconds, active ? pad : nullptr);
        std::printf("%-28s %-8s %7.2f ms CPU/s\n", name,
                    mode.Current() == BackgroundMode::State::Reading ? "reading" : "waiting", ms);
        form.Cmd_Stop_Click();
    };
    measure("shown, at rest", false, false);
    measure("hidden, at rest", true, false);
    measure("shown, active", false, true);
    measure("hidden, active", true, true);
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
    measure("hidden, no controller", true, false);
    return 0;
}
