// One poll of the monitor through the SDL driver: a virtual pad whose stick and button change before
// every poll, so the driver's reading thread, which looks at a virtual pad every 25 ms, keeps handing
// new readings over, and the polls that take one raise their events to a connected receiver.
// BM_JoystickPoll polls at the monitor's pace (a poll every 25 ms); BM_JoystickPollOutOfPace polls back
// to back. Either takes the newest reading without waiting for the thread. BM_HandOver times that
// taking alone (the driver's joyGetPosEx) at the monitor's pace: after 25 ms asleep the poll meets cold
// caches, and the monitor's events cost most of its time; it counts the readings it took that were older
// than a tick (the thread looks at a virtual pad at the same pace). BM_SdlClock times a call that waits
// for nothing, SDL_GetTicks, at the same pace: what any call costs on this machine after 25 ms asleep.

#include "joystick/cJoy.h"
#include "platform/input/JoystickDriver.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

enum class Timed { Monitor, HandOver, SdlClock };

void Poll(benchmark::State& state, bool atPace, Timed timed = Timed::Monitor) {
    const std::shared_ptr<platform::JoystickDriver> driver = platform::MakeSdlJoystickDriver();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = 6;
    desc.nbuttons = 16;
    desc.name = "Virtual pad";
    SDL_Joystick* pad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
    if (pad == nullptr) {
        state.SkipWithError("no virtual joystick");
        return;
    }

    const auto joy = std::make_shared<cJoy>(driver);
    int64_t received = 0;
    int64_t buttonEvents = 0;
    QObject::connect(joy.get(), &cJoy::JoyButton, [&](int32_t buttons) {
        received += buttons;
        ++buttonEvents;
    });
    QObject::connect(joy.get(), &cJoy::JoyLeftStick, [&](int32_t x, int32_t y) { received += x + y; });
    QObject::connect(joy.get(), &cJoy::JoyError, [&] { state.SkipWithError("the poll failed"); });
    driver->PreferDevice({}, {});  // as Start does: the driver looks at what is attached now
    joy->IsJoystick1_Valid();
    joy->End_JoyMonitor();  // selects controller 0 without starting the timer

    bool pressed = false;
    int64_t old = 0;
    auto due = std::chrono::steady_clock::now();
    for (auto _ : state) {
        pressed = !pressed;
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, pressed ? SDL_PRESSED : SDL_RELEASED);
        SDL_JoystickSetVirtualAxis(pad, 0, pressed ? -32768 : 32767);
        if (atPace) {
            due += std::chrono::milliseconds(25);
            std::this_thread::sleep_until(due);
        }
        platform::JOYINFOEX info;
        const auto start = std::chrono::steady_clock::now();
        switch (timed) {
        case Timed::Monitor:
            benchmark::DoNotOptimize(joy->Joystick_GetPos());
            break;
        case Timed::HandOver:
            benchmark::DoNotOptimize(driver->joyGetPosEx(0, info));
            old += platform::IsOld(info) ? 1 : 0;
            break;
        case Timed::SdlClock:
            benchmark::DoNotOptimize(SDL_GetTicks());
            break;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    // Polls that raised the button's change: the others took a reading the thread made before it.
    if (timed == Timed::Monitor) {
        state.counters["changes"] = static_cast<double>(buttonEvents);
    }
    if (timed == Timed::HandOver) {
        state.counters["old"] = static_cast<double>(old);
    }
    benchmark::DoNotOptimize(received);
    SDL_JoystickClose(pad);
}

void BM_JoystickPoll(benchmark::State& state) {
    Poll(state, true);
}

void BM_JoystickPollOutOfPace(benchmark::State& state) {
    Poll(state, false);
}

void BM_HandOver(benchmark::State& state) {
    Poll(state, true, Timed::HandOver);
}

void BM_SdlClock(benchmark::State& state) {
    Poll(state, true, Timed::SdlClock);
}

// Timed by hand around the poll alone: the pad's changes and the wait for the pace are not the poll's.
BENCHMARK(BM_JoystickPoll)->Iterations(400)->UseManualTime();
BENCHMARK(BM_JoystickPollOutOfPace)->UseManualTime();
BENCHMARK(BM_HandOver)->Iterations(400)->UseManualTime();
BENCHMARK(BM_SdlClock)->Iterations(400)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
