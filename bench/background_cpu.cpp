// CPU cost of reading with nobody at the window. For a few seconds each, the main window reads an SDL
// virtual controller shown, then hidden in background mode, at rest (the controller untouched) and
// active (a stick and a button change at every poll), then waits hidden with no controller attached.
// Where a controller is attached already (a kernel device), that one is read, at rest only: nothing here
// can move it. Prints, for each, CPU milliseconds and voluntary context switches (the process's threads
// going to sleep) per second of wall time.
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
#include <sys/resource.h>

namespace {

struct Cost {
    double cpuMs = 0;
    double switches = 0;
};

Cost Spent() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return {ms(usage.ru_utime) + ms(usage.ru_stime), double(usage.ru_nvcsw)};
}

// Runs the event loop for `seconds`; the controller's state changes every 25 ms when `pad` is given.
Cost PerSecond(int seconds, SDL_Joystick* pad) {
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
    const Cost before = Spent();
    loop.exec();
    const Cost after = Spent();
    return {(after.cpuMs - before.cpuMs) / seconds, (after.switches - before.switches) / seconds};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    platform::QtShell shell;
    const std::shared_ptr<platform::JoystickDriver> driver = platform::MakeSdlJoystickDriver();
    const bool kernelPad = !driver->AttachedDevices().empty();
    const int index = kernelPad ? -1 : SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 14, 1);
    SDL_Joystick* pad = kernelPad ? nullptr : SDL_JoystickOpen(index);
    MainForm form(driver, shell);

    const auto measure = [&](const char* name, bool hidden, bool active) {
        form.setVisible(!hidden);
        BackgroundMode mode(form, driver, shell, hidden);
        mode.Read();
        const Cost cost = PerSecond(seconds, active ? pad : nullptr);
        std::printf("%-28s %-8s %7.2f ms CPU/s %6.1f switches/s\n", name,
                    mode.Current() == BackgroundMode::State::Reading ? "reading" : "waiting", cost.cpuMs,
                    cost.switches);
        form.Cmd_Stop_Click();
    };
    std::printf("reading %s\n", kernelPad ? "the controller attached" : "an SDL virtual controller");
    measure("shown, at rest", false, false);
    measure("hidden, at rest", true, false);
    if (kernelPad) {
        return 0;
    }
    measure("shown, active", false, true);
    measure("hidden, active", true, true);
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
    measure("hidden, no controller", true, false);
    return 0;
}
