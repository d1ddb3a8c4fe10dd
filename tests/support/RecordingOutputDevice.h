#pragma once
// An OutputDevice that logs each call ("KEY_SPACE down", "BTN_LEFT up", "move 3 -2", "wheel 1") and, as it
// ends, "released KEY_A" for each key still held, into a log that outlives it.

#include "platform/output/KeyNames.h"
#include "platform/output/OutputDevice.h"

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class RecordingOutputDevice final : public platform::OutputDevice {
public:
    explicit RecordingOutputDevice(std::shared_ptr<std::vector<std::string>> log) : log_(std::move(log)) {}
    ~RecordingOutputDevice() override {
        for (const uint16_t code : held_) {
            log_->push_back("released " + Name(code));
        }
    }
    void Key(uint16_t code, bool down) override {
        down ? void(held_.insert(code)) : void(held_.erase(code));
        log_->push_back(Name(code) + (down ? " down" : " up"));
    }
    void Move(int32_t dx, int32_t dy) override {
        log_->push_back("move " + std::to_string(dx) + " " + std::to_string(dy));
    }
    void Wheel(int32_t notches) override { log_->push_back("wheel " + std::to_string(notches)); }

private:
    static std::string Name(uint16_t code) {  // "KEY_" alone for a code without a name
        const QString name = platform::KeyName(code);
        return (name.startsWith(QLatin1String("BTN_")) ? name : "KEY_" + name).toStdString();
    }

    std::shared_ptr<std::vector<std::string>> log_;
    std::set<uint16_t> held_;
};
