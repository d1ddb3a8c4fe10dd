#pragma once
// The output's own thread: it keeps the engine's time (sequences, repeats, the pointer at 125 Hz) and
// sleeps while nothing is due. Readings are acted on by the thread that hands them in, at once: a
// press reaches the desktop from the driver's thread, without a wake-up in between.

#include "output/OutputEngine.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace output {

class OutputThread {
public:
    // The device may be shared with other threads: each releases what it holds.
    explicit OutputThread(std::shared_ptr<platform::OutputDevice> device);
    ~OutputThread();  // releases everything, then lets go of the device
    OutputThread(const OutputThread&) = delete;
    OutputThread& operator=(const OutputThread&) = delete;

    // From any thread.
    void SetMap(const OutputMap& map);
    void SetPaused(bool paused);
    // What the controller read now means; a reading lost (an unplug) is a ReleaseAll.
    void Read(const Generale::Significato& reading);
    void ReleaseAll();
    // As if a button with this output alone were pressed and released at once (a toggle twice): a
    // trial of an entry, on a map of its own.
    void Try(const ButtonOutput& output);

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::shared_ptr<platform::OutputDevice> device_;
    OutputEngine engine_;
    bool stop_ = false;
    std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace output
