// How long one poll of the program's joystick driver takes while controllers come and go: reads slots
// 0 and 1 every 25 ms, as the monitor's timer does, for the given seconds, then prints
// "longest poll <us> us, <n> polls, <n> over 25 ms; slots answering: <slots>" (the slots that gave a
// reading at the last poll, "none" for none). Usage: poll_timing <seconds>
#include "platform/input/JoystickDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    using std::chrono::microseconds;
    constexpr auto kTick = std::chrono::milliseconds(25);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: poll_timing <seconds>\n");
        return 2;
    }
    const auto driver = platform::MakeSdlJoystickDriver();
    driver->joyGetNumDevs();
    Clock::duration longest{};
    long polls = 0;
    long late = 0;
    std::string answering;
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    for (auto tick = Clock::now(); tick < end; tick = Clock::now()) {
        answering.clear();
        for (const uint32_t slot : {0u, 1u}) {
            platform::JOYINFOEX info;
            info.dwSize = sizeof info;
            info.dwFlags = platform::JOY_RETURNALL;
            const auto started = Clock::now();
            const bool read = driver->joyGetPosEx(slot, info) == platform::JOYERR_NOERROR;
            const auto took = Clock::now() - started;
            longest = std::max(longest, took);
            ++polls;
            late += took > kTick ? 1 : 0;
            answering += read ? " " + std::to_string(slot) : "";
        }
        std::this_thread::sleep_until(tick + kTick);
    }
    std::printf("longest poll %lld us, %ld polls, %ld over 25 ms; slots answering:%s\n",
                static_cast<long long>(std::chrono::duration_cast<microseconds>(longest).count()), polls,
                late, answering.empty() ? " none" : answering.c_str());
    return 0;
}
