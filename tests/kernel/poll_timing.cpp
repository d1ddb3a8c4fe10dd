// How long one poll of the program's joystick driver takes while controllers come and go: reads slot 0
// every 25 ms, as the monitor's timer does, for the given seconds, then prints
// "longest poll <us> us, median <us> us, <n> polls, <n> over 25 ms; slots answering: <slots>" (the
// slots attached once they have stayed the same for two seconds, "none" for none: a device just
// unplugged may be read a moment longer, more on a busy machine). Usage: poll_timing <seconds>
#include "platform/input/JoystickDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kTick = std::chrono::milliseconds(25);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: poll_timing <seconds>\n");
        return 2;
    }
    const auto driver = platform::MakeSdlJoystickDriver();
    std::vector<Clock::duration> took;
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    for (auto tick = Clock::now(); tick < end; tick = Clock::now()) {
        platform::JOYINFOEX info;
        info.dwSize = sizeof info;
        info.dwFlags = platform::JOY_RETURNALL;
        const auto started = Clock::now();
        driver->joyGetPosEx(0, info);
        took.push_back(Clock::now() - started);
        std::this_thread::sleep_until(tick + kTick);
    }
    const auto attached = [&driver] {
        std::string list;
        for (const platform::AttachedDevice& device : driver->AttachedDevices()) {
            list += " " + std::to_string(device.slot);
        }
        return list;
    };
    std::string answering = attached();
    const auto settled = Clock::now() + std::chrono::seconds(10);
    for (auto same = Clock::now(); Clock::now() - same < std::chrono::seconds(2) && Clock::now() < settled;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (std::string now = attached(); now != answering) {
            answering = std::move(now);
            same = Clock::now();
        }
    }
    const auto late = std::count_if(took.begin(), took.end(), [&](Clock::duration d) { return d > kTick; });
    std::sort(took.begin(), took.end());
    const auto us = [](Clock::duration d) {
        return static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(d).count());
    };
    std::printf("longest poll %lld us, median %lld us, %zu polls, %ld over 25 ms; slots answering:%s\n",
                us(took.back()), us(took[took.size() / 2]), took.size(), static_cast<long>(late),
                answering.empty() ? " none" : answering.c_str());
    return 0;
}
