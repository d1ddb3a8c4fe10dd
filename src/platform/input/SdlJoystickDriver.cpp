// The joystick driver over SDL2. SDL holds its joystick lock while it opens a device, and every SDL
// joystick call waits on that lock: a HID pad whose feature reports never answer holds it for the
// kernel's 5 s limit a report. So a thread of the driver's own owns the device table and makes every
// SDL call, and the contract's calls answer from what that thread read last.
//
// A call wants a fresh reading: it asks the thread for a new look and waits for it; once that look has
// lasted kWait with the thread asleep, SDL waits on a device, and the call answers from the last
// reading, so an open that hangs costs the poll kWait, once. A look that is only slow, its thread
// working or waiting for a processor on a busy machine, is waited for up to kBusyWait. The
// monitor polls at a steady pace, and the thread looks kLead before each poll is due, so the poll finds
// its reading waiting and takes it at once, or waits for that look alone should it still be under way.
#include "platform/input/DeviceDiscovery.h"
#include "platform/input/JoystickDriver.h"
#include "platform/input/SdlDeviceTable.h"
#include "platform/input/ThreadState.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Longest a call waits for a look under way while the thread sleeps (within the 25 ms between two
// polls), and while it works.
constexpr auto kWait = 20ms;
constexpr auto kBusyWait = 100ms;
// Longest a call waits for the thread to begin a look, the driver for SDL to start, and for SDL to stop.
constexpr auto kStartWait = 2s;
// The look made ahead of a poll comes this long before the poll is due, and serves only while this young.
constexpr auto kLead = 3ms;
constexpr auto kFresh = 5ms;
// A wakeup this close to its time is on time: waiting again for so little would wake the thread twice.
constexpr auto kSlack = 1ms;
// Calls that come this far apart make a steady pace worth looking ahead for.
constexpr auto kSteadyMin = 20ms;
constexpr auto kSteadyMax = 250ms;
// ...and no further apart than this from the gap before: a timer's, not a loop's that does varied work.
constexpr auto kSteadyJitter = 2ms;
// Calls closer together than this are one poll's.
constexpr auto kOnePoll = 5ms;

// The driver's state, shared with its reading thread: a thread that SDL holds past the driver's end
// keeps it, and stops SDL should SDL ever let it go.
class Reader final : public JoystickDriver {
public:
    static std::shared_ptr<Reader> Start() {
        // Made here rather than on the reading thread: the environment is set and unset on the thread
        // that owns it, and not a moment past this start, whatever SDL does.
        const DeviceDiscovery discovery;
        auto reader = std::make_shared<Reader>();
        reader->thread_ = std::thread([reader] {
            reader->ReadLoop();
            const std::lock_guard lock(reader->mutex_);
            reader->ended_ = true;
            reader->looked_.notify_all();
        });
        std::unique_lock lock(reader->mutex_);
        reader->looked_.wait_for(lock, kStartWait, [&reader] { return reader->done_ >= 1; });
        return reader;
    }

    // Waits kStartWait at most for the thread to stop SDL: a device that never answers would keep the
    // program from ending.
    void End() {
        std::unique_lock lock(mutex_);
        stop_ = true;
        wake_.notify_one();
        const bool ended = looked_.wait_for(lock, kStartWait, [this] { return ended_; });
        lock.unlock();
        ended ? thread_.join() : thread_.detach();
    }

    uint32_t joyGetNumDevs() override {
        std::unique_lock lock(mutex_);
        LookNow(lock);
        return readings_.slotCount;
    }

    uint32_t joyGetDevCapsA(uint32_t uJoyID, JOYCAPSA& caps) override {
        std::unique_lock lock(mutex_);
        LookNow(lock);
        const uint32_t code = Code(uJoyID);
        if (code == JOYERR_NOERROR) {
            caps = readings_.slot[uJoyID].caps;
        }
        return code;
    }

    uint32_t joyGetPosEx(uint32_t uJoyID, JOYINFOEX& info) override {
        std::unique_lock lock(mutex_);
        Fresh(lock);
        const uint32_t code = Code(uJoyID);
        if (code == JOYERR_NOERROR) {
            const JOYINFOEX request = info;
            info = readings_.slot[uJoyID].info;
            info.dwSize = request.dwSize;
            info.dwFlags = request.dwFlags;
        }
        return code;
    }

    std::vector<AttachedDevice> AttachedDevices() override {
        std::unique_lock lock(mutex_);
        LookNow(lock);
        return readings_.attached;
    }

    void PreferDevice(const QString& guid, const QString& port) override {
        std::unique_lock lock(mutex_);
        preference_ = Preference{guid, port};
        ahead_ = false;  // begun before the change
        LookNow(lock);
    }

private:
    struct Preference {
        QString guid;
        QString port;
    };

    uint32_t Code(uint32_t uJoyID) const {
        if (readings_.slotCount == 0) {
            return JOYERR_NOCANDO;
        }
        return uJoyID < JoystickSlots ? readings_.slot[uJoyID].code : JOYERR_PARMS;
    }

    // Makes readings_ fit for a poll now: the look begun ahead of a steady poll, waited for should it be
    // under way still, else a new one. Only the poll keeps the pace and takes the look made ahead of it.
    void Fresh(std::unique_lock<std::mutex>& lock) {
        const Clock::time_point now = Clock::now();
        // The calls of one poll keep the pace its first call set.
        if (now - std::exchange(previousCall_, now) >= kOnePoll) {
            const Clock::duration gap = now - lastCall_;
            const bool steady = gap >= kSteadyMin && gap <= kSteadyMax &&
                                std::chrono::abs(gap - std::exchange(lastGap_, gap)) <= kSteadyJitter;
            steady_ = steady ? gap : Clock::duration::zero();
            lastCall_ = now;
        }
        // The thread, waking when this call was due, sees it came and plans the next look.
        const bool ahead = std::exchange(ahead_, false) && now - runningSince_ <= kFresh;
        Await(lock, ahead ? started_ : started_ + 1);
    }

    // Makes readings_ fit for any call but the poll: a look that begins after it. A look made ahead of
    // the poll may be older than a device plugged in or a choice made a moment before the call.
    void LookNow(std::unique_lock<std::mutex>& lock) { Await(lock, started_ + 1); }

    // Waits for look number wanted, unless a look under way has lasted kWait asleep in the kernel, or
    // kBusyWait, or the call has waited kBusyWait: the look under way as it came may end just before its
    // limit, and the next one only work.
    void Await(std::unique_lock<std::mutex>& lock, uint64_t wanted) {
        if (wanted > started_) {
            asked_ = std::max(asked_, wanted);
            wake_.notify_one();
        }
        const Clock::time_point called = Clock::now();
        Clock::time_point working;  // when the look under way was last found working
        while (done_ < wanted) {
            const bool running = started_ > done_;
            const Clock::time_point busyLimit = std::min(runningSince_, called) + kBusyWait;
            const Clock::time_point limit =
                running ? std::min(std::max(runningSince_, working) + kWait, busyLimit) : called + kStartWait;
            if (looked_.wait_until(lock, limit) == std::cv_status::no_timeout || done_ >= wanted ||
                (started_ > done_) != running) {
                continue;
            }
            const Clock::time_point now = Clock::now();
            if (!running || now >= busyLimit || ThreadAsleep(readerId_)) {
                return;
            }
            working = now;
        }
    }

    // While the calls come at a steady pace, when the thread next wakes by itself: to look ahead of the
    // next call, or, having looked ahead of it, to see at the time of the call after it that it came.
    std::optional<Clock::time_point> Wakeup() const {
        if (steady_ == Clock::duration::zero()) {
            return std::nullopt;
        }
        return lastCall_ + (plannedFor_ == lastCall_ ? 2 * steady_ : steady_) - kLead;
    }

    // The reading thread: SDL starts, looks and stops on it alone.
    void ReadLoop() {
        {
            const std::lock_guard lock(mutex_);
            readerId_ = CurrentThreadId();
        }
        SdlDeviceTable table;
        std::unique_lock lock(mutex_);
        bool ahead = false;
        for (;;) {
            const std::optional<Preference> preference = std::exchange(preference_, std::nullopt);
            lock.unlock();
            if (preference) {
                table.Prefer(preference->guid, preference->port);
            }
            Readings readings = table.Read();
            lock.lock();
            readings_ = std::move(readings);
            done_ = started_;
            looked_.notify_all();

            for (;;) {
                if (stop_) {
                    return;
                }
                if (asked_ > started_) {
                    ahead = false;
                    break;
                }
                const std::optional<Clock::time_point> wakeup = Wakeup();
                const bool late = wakeup && Clock::now() + kSlack >= *wakeup;
                if (late && plannedFor_ != lastCall_) {
                    plannedFor_ = lastCall_;
                    ahead = true;
                    break;
                }
                if (wakeup && !late) {
                    wake_.wait_until(lock, *wakeup);
                } else {
                    wake_.wait(lock);  // the pace broke: the next call asks
                }
            }
            ++started_;
            runningSince_ = Clock::now();
            ahead_ = ahead;
            looked_.notify_all();  // a waiting call now bounds its wait by this look's start
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;    // to the thread: a look is asked for, or the driver ends
    std::condition_variable looked_;  // from the thread: a look began or ended
    Readings readings_;               // the last look's; no device until SDL has started
    uint64_t started_ = 1;            // looks begun; the first begins with the thread, and starts SDL
    uint64_t done_ = 0;               // looks ended
    uint64_t asked_ = 0;              // the look the calls wait for
    Clock::time_point runningSince_ = Clock::now();  // when the last look began
    bool ahead_ = false;  // the last look begun was begun ahead of a poll, and no call has taken it yet
    Clock::time_point previousCall_;
    Clock::duration lastGap_{};             // between the first calls of the last two polls
    Clock::time_point lastCall_;            // the first call of the last poll
    Clock::duration steady_{};              // the pace of the calls, zero while they come at no steady pace
    Clock::time_point plannedFor_;          // the call the thread last looked ahead after
    std::optional<Preference> preference_;  // a choice the thread has yet to give the table
    bool stop_ = false;
    bool ended_ = false;  // the thread has stopped SDL
    pid_t readerId_ = 0;  // the reading thread's kernel id
    std::thread thread_;
};

class SdlJoystickDriver final : public JoystickDriver {
public:
    ~SdlJoystickDriver() override { reader_->End(); }
    SdlJoystickDriver() = default;
    SdlJoystickDriver(const SdlJoystickDriver&) = delete;
    SdlJoystickDriver& operator=(const SdlJoystickDriver&) = delete;

    uint32_t joyGetNumDevs() override { return reader_->joyGetNumDevs(); }
    uint32_t joyGetDevCapsA(uint32_t uJoyID, JOYCAPSA& caps) override {
        return reader_->joyGetDevCapsA(uJoyID, caps);
    }
    uint32_t joyGetPosEx(uint32_t uJoyID, JOYINFOEX& info) override {
        return reader_->joyGetPosEx(uJoyID, info);
    }
    std::vector<AttachedDevice> AttachedDevices() override { return reader_->AttachedDevices(); }
    void PreferDevice(const QString& guid, const QString& port) override {
        reader_->PreferDevice(guid, port);
    }

private:
    const std::shared_ptr<Reader> reader_ = Reader::Start();
};

}  // namespace

std::shared_ptr<JoystickDriver> MakeSdlJoystickDriver() {
    return std::make_shared<SdlJoystickDriver>();
}

}  // namespace platform
