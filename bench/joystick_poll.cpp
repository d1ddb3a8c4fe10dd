// One poll of the monitor through the SDL driver: a virtual pad whose stick and button change at
// every poll, so each poll reads the device and raises its events to a connected receiver.

#include "joystick/cJoy.h"
#include "platform/input/JoystickDriver.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_JoystickPoll(benchmark::State& state) {
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
    QObject::connect(joy.get(), &cJoy::JoyButton, [&](int32_t buttons) { received += buttons; });
    QObject::connect(joy.get(), &cJoy::JoyLeftStick, [&](int32_t x, int32_t y) { received += x + y; });
    QObject::connect(joy.get(), &cJoy::JoyError, [&] { state.SkipWithError("the poll failed"); });
    joy->IsJoystick1_Valid();
    joy->End_JoyMonitor();  // selects controller 0 without starting the timer

    bool pressed = false;
    for (auto _ : state) {
        pressed = !pressed;
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, pressed ? SDL_PRESSED : SDL_RELEASED);
        SDL_JoystickSetVirtualAxis(pad, 0, pressed ? -32768 : 32767);
        benchmark::DoNotOptimize(joy->Joystick_GetPos());
    }
    benchmark::DoNotOptimize(received);
    SDL_JoystickClose(pad);
}

BENCHMARK(BM_JoystickPoll);

}  // namespace

BENCHMARK_MAIN();
