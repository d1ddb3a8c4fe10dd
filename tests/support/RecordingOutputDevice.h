#pragma once
// An OutputDevice that logs each call: "KEY_SPACE down", "BTN_LEFT up", "move 3 -2", "wheel 1".

#include "platform/output/KeyNames.h"
#include "platform/output/OutputDevice.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class RecordingOutputDevice final : public platform::OutputDevice {
public:
    explicit RecordingOutputDevice(std::shared_ptr<std::vector<std::string>> log) : log_(std::move(log)) {}
    void Key(uint16_t code, bool down) override {
        const QString name = platform::KeyName(code);
        log_->push_back((name.startsWith(QLatin1String("BTN_")) ? name : "KEY_" + name).toStdString() +
                        (down ? " down" : " up"));
    }
    void Move(int32_t dx, int32_t dy) override {
        log_->push_back("move " + std::to_string(dx) + " " + std::to_string(dy));
    }
    void Wheel(int32_t notches) override { log_->push_back("wheel " + std::to_string(notches)); }
    void Scroll(int32_t vertical, int32_t horizontal) override {
        log_->push_back("scroll " + std::to_string(vertical) + " " + std::to_string(horizontal));
    }

private:
    std::shared_ptr<std::vector<std::string>> log_;  // outlives the device
};
