#include "output/OutputControl.h"

namespace output {

OutputControl::OutputControl(std::shared_ptr<platform::JoystickDriver> driver, Opener open)
    : driver_(std::move(driver)), open_(std::move(open)) {}

OutputControl::~OutputControl() {
    SetMap({});
}

void OutputControl::SetMap(const OutputMap& map) {
    if (!map.Acts()) {
        if (thread_) {
            // Once this returns the listener is done with the thread.
            driver_->SetChangeListener(nullptr);
            thread_.reset();
        }
        return;
    }
    if (!thread_) {
        platform::OpenedOutput opened = open_();
        if (!opened.device) {
            if (reason_.isEmpty()) {
                reason_ = opened.why;
                emit Unavailable(reason_);
            }
            return;
        }
        thread_ = std::make_unique<OutputThread>(std::move(opened.device));
        thread_->SetPaused(paused_);
        OutputThread* const thread = thread_.get();
        driver_->SetChangeListener(
            [this, thread](uint32_t slot, uint32_t code, const platform::JOYINFOEX& info) {
                if (static_cast<int64_t>(slot) == slot_.load()) {
                    thread->Read(code, info);
                }
            });
    }
    thread_->SetMap(map);
}

void OutputControl::SetSlot(std::optional<uint32_t> slot) {
    slot_ = slot ? static_cast<int64_t>(*slot) : -1;
    if (thread_) {
        thread_->ReleaseAll();
    }
}

void OutputControl::SetPaused(bool paused) {
    paused_ = paused;
    if (thread_) {
        thread_->SetPaused(paused);
    }
}

}  // namespace output
