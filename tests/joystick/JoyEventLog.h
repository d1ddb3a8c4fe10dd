#pragma once
// Records the events of one cJoy as short texts, in the order they are raised:
// "JoyButton(1)", "JoyLeftStick(-10,0)", "JoyError(Joystick Unplugged)" ...

#include "joystick/cJoy.h"

#include <QObject>
#include <string>
#include <utility>
#include <vector>

class JoyEventLog {
public:
    explicit JoyEventLog(cJoy& joy) {
        const auto record = [this](std::string event) { events.push_back(std::move(event)); };
        QObject::connect(&joy, &cJoy::JoyButton, &context_,
                         [record](int32_t b) { record("JoyButton(" + std::to_string(b) + ")"); });
        QObject::connect(&joy, &cJoy::JoyLeftStick, &context_, [record](int32_t x, int32_t y) {
            record("JoyLeftStick(" + std::to_string(x) + "," + std::to_string(y) + ")");
        });
        QObject::connect(&joy, &cJoy::JoyRightStick, &context_, [record](int32_t x, int32_t y) {
            record("JoyRightStick(" + std::to_string(x) + "," + std::to_string(y) + ")");
        });
        QObject::connect(&joy, &cJoy::JoyDpad, &context_,
                         [record](int32_t d) { record("JoyDpad(" + std::to_string(d) + ")"); });
        QObject::connect(&joy, &cJoy::JoyError, &context_,
                         [record](const QString& text) { record("JoyError(" + text.toStdString() + ")"); });
        QObject::connect(&joy, &cJoy::JoyNumbers, &context_,
                         [record](int32_t n) { record("JoyNumbers(" + std::to_string(n) + ")"); });
    }

    // The events recorded since the last Take.
    std::vector<std::string> Take() { return std::exchange(events, {}); }

    std::vector<std::string> events;

private:
    QObject context_;  // ends the connections with the log
};
