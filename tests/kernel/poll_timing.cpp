// How long one poll of the program's joystick driver takes while controllers come and go, how old the
// readings it gives are and what the polling costs: reads slot 0 every 25 ms, as the monitor's timer does,
// for the given seconds, then prints "longest poll <us> us, median <us> us, <n> polls, <n> over 25 ms,
// reading age p50 <ms> ms, p99 <ms> ms, <n> old, <n> switches/s; slots answering: <slots>". The switches
// are the process's voluntary context switches a second after its first seconds, where SDL opens the
// devices (two, or half of a shorter run); the slots, those attached once they have stayed the same for
// two seconds, "none" for none: a device just unplugged may be read a moment longer, more on a busy
// machine. With a wish, slot 0's sticks are wished for as acquisition does (SetAxisInterest): "none" for
// no stick output, else the dead zone in percent.
// Usage: poll_timing <seconds> [none|<dead zone>]
#include "platform/input/JoystickDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <utility>
#include <vector>

namespace {

long Switches() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

}  // namespace

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kTick = std::chrono::milliseconds(platform::JoyTickMs);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: poll_timing <seconds> [none|<dead zone>]\n");
        return 2;
    }
    const auto starting =
        std::min<Clock::duration>(std::chrono::seconds(2), std::chrono::seconds(seconds) / 2);
    const auto driver = platform::MakeSdlJoystickDriver();
    if (argc > 2) {
        const std::string wish = argv[2];
        driver->SetAxisInterest(0, wish == "none" ? std::nullopt : std::optional(std::atoi(wish.c_str())));
    }
    std::vector<Clock::duration> took;
    std::vector<uint32_t> ages;
    const auto begun = Clock::now();
    const auto end = begun + std::chrono::seconds(seconds);
    std::optional<std::pair<Clock::time_point, long>> counted;  // from when, and the switches then
    for (auto tick = Clock::now(); tick < end; tick = Clock::now()) {
        if (!counted && tick - begun >= starting) {
            counted = {tick, Switches()};
        }
        platform::JOYINFOEX info;
        info.dwSize = sizeof info;
        info.dwFlags = platform::JOY_RETURNALL;
        const auto started = Clock::now();
        if (driver->joyGetPosEx(0, info) == platform::JOYERR_NOERROR) {
            ages.push_back(info.dwReserved1);
        }
        took.push_back(Clock::now() - started);
        std::this_thread::sleep_until(tick + kTick);
    }
    const double switches = counted ? double(Switches() - counted->second) /
                                          std::chrono::duration<double>(Clock::now() - counted->first).count()
                                    : 0;
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
    const auto old =
        std::count_if(ages.begin(), ages.end(), [](uint32_t age) { return age > platform::JoyTickMs; });
    std::sort(took.begin(), took.end());
    std::sort(ages.begin(), ages.end());
    if (ages.empty()) {
        ages.push_back(0);  // none read
    }
    const auto us = [](Clock::duration d) {
        return static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(d).count());
    };
    std::printf("longest poll %lld us, median %lld us, %zu polls, %ld over 25 ms, reading age p50 %u ms, "
                "p99 %u ms, %ld old, %.1f switches/s; slots answering:%s\n",
                us(took.back()), us(took[took.size() / 2]), took.size(), static_cast<long>(late),
                ages[(ages.size() - 1) / 2], ages[(ages.size() - 1) * 99 / 100], static_cast<long>(old),
                switches, answering.empty() ? " none" : answering.c_str());
    return 0;
}
