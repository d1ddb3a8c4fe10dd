#include "output/OutputThread.h"

namespace output {

OutputThread::OutputThread(std::shared_ptr<platform::OutputDevice> device)
    : device_(std::move(device)), engine_(*device_), thread_([this] { Run(); }) {}

OutputThread::~OutputThread() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        engine_.ReleaseAll();
    }
    changed_.notify_all();
    thread_.join();
}

void OutputThread::SetMap(const OutputMap& map) {
    {
        const std::lock_guard lock(mutex_);
        engine_.SetMap(map);
    }
    changed_.notify_all();  // a stick held still acts at once
}

void OutputThread::SetPaused(bool paused) {
    {
        const std::lock_guard lock(mutex_);
        engine_.SetPaused(paused);
    }
    changed_.notify_all();
}

void OutputThread::ReleaseAll() {
    const std::lock_guard lock(mutex_);
    engine_.ReleaseAll();
}

void OutputThread::Read(const Generale::Significato& reading) {
    {
        const std::lock_guard lock(mutex_);
        engine_.Read(reading, OutputEngine::Clock::now());
    }
    changed_.notify_all();  // something may be due sooner now
}

void OutputThread::Try(const ButtonOutput& output) {
    OutputMap map;
    map.buttons[0] = output;
    Generale::Significato reading;
    {
        const std::lock_guard lock(mutex_);
        engine_.SetMap(map);
        for (int press = output.mode == Mode::Toggle ? 2 : 1; press > 0; --press) {
            for (const bool down : {true, false}) {
                reading.accesi.set(0, down);
                engine_.Read(reading, OutputEngine::Clock::now());
            }
        }
    }
    changed_.notify_all();  // a sequence goes on from the thread
}

void OutputThread::Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        engine_.Advance(OutputEngine::Clock::now());
        if (const auto due = engine_.Due()) {
            changed_.wait_until(lock, *due);
        } else {
            changed_.wait(lock);
        }
    }
}

}  // namespace output
