// Handling the monitor's events on a shown window, offscreen, with every changed control painted at
// once. Targets: a button event under 500 µs, a stick event under 200 µs.
#include "mainwindow/MainForm.h"
#include "platform/QtShell.h"
#include "platform/input/JoystickDriver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QWindow>
#include <array>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct ShownWindow {
    platform::QtShell shell;
    MainForm form{platform::MakeSdlJoystickDriver(), shell};
    ShownWindow() {
        form.show();
        for (int turn = 0; turn < 100 && !form.windowHandle()->isExposed(); ++turn) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }
};

// Alternates between two masks, so that every event changes the highlights and the key-code caption:
// one button to another (arg 0) or no button to all fourteen and back (arg 1).
void BM_JoyButton(benchmark::State& state) {
    ShownWindow window;
    const std::array<std::array<int32_t, 2>, 2> masks = {{{1, 2}, {0, 0x3FFF}}};
    const auto& pair = masks[std::size_t(state.range(0))];
    std::size_t next = 0;
    for (auto _ : state) {
        window.form.cJoy_JoyButton(pair[next]);
        next ^= 1;
    }
}
BENCHMARK(BM_JoyButton)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Alternates the left stick between two positions: the dot moves and both labels change.
void BM_JoyLeftStick(benchmark::State& state) {
    ShownWindow window;
    bool flip = false;
    for (auto _ : state) {
        window.form.cJoy_JoyLeftStick(flip ? 5 : -3, flip ? -5 : 7);
        flip = !flip;
    }
}
BENCHMARK(BM_JoyLeftStick)->Unit(benchmark::kMicrosecond);

}  // namespace
