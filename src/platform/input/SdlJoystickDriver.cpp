// The joystick driver over SDL2. SDL holds its joystick lock while it opens a device, and every SDL
// joystick call waits on that lock: a HID pad whose feature reports never answer holds it for the
// kernel's 5 s limit a report. So a thread of the driver's own owns the device table and makes every
// SDL call. It looks at the devices when one of them has something to say, keeps the newest reading
// with the presses seen since a poll last took it, and hands every change on as it finds it.
//
// A poll takes a copy of the newest reading, with its age, and never waits: while SDL holds the thread,
// that is the last reading SDL gave. The rarer calls (slot count, capabilities, the device list, a new
// choice) want what is attached now: they ask for a look and wait for it, kWait at most from when the
// look under way began, so that once SDL has held the thread that long every call answers at once. A new
// choice (every Start makes one) also forgets the presses kept so far: they were made while no poll read
// the pads.
//
// Stick changes that no output needs now do not wake the thread (see DeviceWatch): a poll peeks at them
// and asks for a look when its picture, or an output, would show them.
#include "platform/input/DeviceDiscovery.h"
#include "platform/input/DeviceWatch.h"
#include "platform/input/JoystickDriver.h"
#include "platform/input/SdlDeviceTable.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Longest a call but the poll waits for a look: a menu opened while SDL is held answers this late.
constexpr auto kWait = 100ms;
// Longest the driver waits for SDL to start, and to stop.
constexpr auto kStartWait = 2s;
// SDL opens a device a moment after udev tells of it, or after its node comes or goes where udevd does
// not run (SDL's own watch, its HID pads): the thread looks at the pace for this long after either.
constexpr auto kSettle = 1s;

struct Change {
    uint32_t slot;
    uint32_t code;
    JOYINFOEX info;
};

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
        {
            // A thread that SDL lets go after this hands nothing on.
            const std::lock_guard calling(calling_);
            listener_ = nullptr;
        }
        std::unique_lock lock(mutex_);
        stop_ = true;
        watch_.Wake();
        if (std::this_thread::get_id() == thread_.get_id()) {  // the driver's last owner was its listener
            lock.unlock();
            thread_.detach();
            return;
        }
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
        const std::lock_guard lock(mutex_);
        const uint32_t code = Code(uJoyID);
        if (code == JOYERR_NOERROR) {
            const JOYINFOEX request = info;
            info = readings_.slot[uJoyID].info;
            info.dwSize = request.dwSize;
            info.dwFlags = request.dwFlags;
            info.dwButtons |= std::exchange(pressed_[uJoyID], 0);
            info.dwReserved1 = AgeMs();
        }
        // Nothing announces a device that comes back without a node: the next poll finds it.
        if (sticks_.Moved(uJoyID) || code == JOYERR_UNPLUGGED) {
            Ask();
        }
        return code;
    }

    std::vector<AttachedDevice> AttachedDevices() override {
        std::unique_lock lock(mutex_);
        LookNow(lock);
        return readings_.attached;
    }

    std::vector<AttachedDevice> LastSeenDevices() override {
        const std::lock_guard lock(mutex_);
        return readings_.attached;
    }

    void PreferDevice(const QString& guid, const QString& port) override {
        std::unique_lock lock(mutex_);
        preference_ = Preference{guid, port};
        pressed_.fill(0);
        LookNow(lock);
    }

    void SetChangeListener(ChangeListener listener) override {
        const std::lock_guard calling(calling_);
        listener_ = std::move(listener);
    }

    void SetTriggerThreshold(uint32_t slot, int percent) override {
        const std::lock_guard lock(mutex_);
        triggers_[slot] = percent;
        Ask();
    }

    void SetAxisInterest(uint32_t slot, std::optional<int> deadZonePercent) override {
        const std::lock_guard lock(mutex_);
        if (slot < JoystickSlots) {
            interest_[slot].emplace(deadZonePercent);
            Ask();  // which sticks wake the thread is settled after a look
        }
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

    // Asks for a look that begins after now; returns its number.
    uint64_t Ask() {
        watch_.Wake();
        return started_ + 1;
    }

    // Makes readings_ a look begun after the call, unless the look under way began kWait ago, or the
    // call has waited kWait: SDL then holds the thread, and the last reading is all there is.
    void LookNow(std::unique_lock<std::mutex>& lock) {
        const uint64_t wanted = Ask();
        const Clock::time_point limit = (started_ > done_ ? runningSince_ : Clock::now()) + kWait;
        looked_.wait_until(lock, limit, [&] { return done_ >= wanted; });
    }

    // Milliseconds since the readings were last known to be the devices' state: when the last look read
    // them, or now while the thread sleeps on devices that have said nothing since.
    uint32_t AgeMs() const {
        if (resting_) {
            return 0;
        }
        const auto age =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - knownAt_).count();
        return static_cast<uint32_t>(std::clamp<int64_t>(age, 0, UINT32_MAX));
    }

    // Keeps a look's readings: the presses it saw wait in pressed_ for the poll, and every slot that
    // reads otherwise now is a change to hand on (a press released again, twice: down, then up; a device
    // in the place of another, as the other's unplug first).
    std::vector<Change> Keep(Readings readings, Clock::time_point readAt) {
        std::vector<Change> changes;
        for (uint32_t slot = 0; slot < JoystickSlots; ++slot) {
            const SlotReading& now = readings.slot[slot];
            const SlotReading& before = readings_.slot[slot];
            // Presses and wishes belong to the device that made them: a slot left empty, or taken by
            // another device, keeps none.
            const bool same = now.device == before.device;
            if (!same) {
                interest_[slot].reset();
            }
            pressed_[slot] = (same ? pressed_[slot] : 0) | now.pressed;
            if (!same && before.device >= 0 && now.device >= 0) {
                changes.push_back({slot, JOYERR_UNPLUGGED, {}});
            }
            const bool tapped = (now.pressed & ~now.info.dwButtons) != 0;
            if (tapped) {
                JOYINFOEX down = now.info;
                down.dwButtons |= now.pressed;
                changes.push_back({slot, now.code, down});
            }
            if (tapped || !same || now.code != before.code || now.info != before.info) {
                changes.push_back({slot, now.code, now.info});
            }
        }
        readings_ = std::move(readings);
        knownAt_ = readAt;
        return changes;
    }

    struct Watching {
        std::vector<Watched> nodes;
        bool whole = false;  // a HID pad read whole among them
    };

    // What the thread sleeps on after a look, and the sticks that wait: those of a slot whose wish lets
    // them (see StickSlack) stay out of its node's wake-ups, and the poll peeks at them.
    Watching Watch() {
        Watching watching;
        std::vector<StickWatch::Waiting> waiting;
        for (uint32_t slot = 0; slot < JoystickSlots; ++slot) {
            const SlotReading& reading = readings_.slot[slot];
            if (reading.code != JOYERR_NOERROR) {
                continue;
            }
            const std::optional<double> slack = StickSlack(interest_[slot], reading.info, reading.caps);
            std::vector<uint16_t> sticks = slack ? StickCodes(reading.pad) : std::vector<uint16_t>();
            if (slack && !reading.node.node.empty()) {
                waiting.push_back({slot, reading.node.node, sticks, *slack});
            }
            watching.nodes.push_back({reading.node.node, std::move(sticks)});
            watching.whole = watching.whole || reading.node.whole;
        }
        sticks_.Set(waiting);
        return watching;
    }

    // A listener's failure ends its hand-over of that change, not the reading thread.
    void HandOn(const std::vector<Change>& changes) {
        const std::lock_guard calling(calling_);
        for (const Change& change : changes) {
            const ChangeListener listener = listener_;  // which may replace itself
            try {
                if (listener) {
                    listener(change.slot, change.code, change.info);
                }
            } catch (...) {
            }
        }
    }

    // The reading thread: SDL starts, looks and stops on it alone.
    void ReadLoop() {
        SdlDeviceTable table;
        Clock::time_point settling;    // until when a node that came or went has SDL looked at at the pace
        Clock::time_point followedUp;  // until when a HID pad read whole that spoke is looked at at the pace
        std::unique_lock lock(mutex_);
        for (;;) {
            const std::optional<Preference> preference = std::exchange(preference_, std::nullopt);
            const std::map<uint32_t, int> triggers = std::exchange(triggers_, {});
            lock.unlock();
            if (preference) {
                table.Prefer(preference->guid, preference->port);
            }
            for (const auto& [slot, percent] : triggers) {
                table.SetTrigger(slot, percent);
            }
            Readings readings = table.Read();
            const Clock::time_point readAt = Clock::now();
            lock.lock();
            const std::vector<Change> changes = Keep(std::move(readings), readAt);
            const Watching watching = Watch();
            done_ = started_;
            looked_.notify_all();
            lock.unlock();
            const bool watched = watch_.Watch(watching.nodes);
            HandOn(changes);
            // A look asked for meanwhile was counted: the wait returns at once.
            const Clock::time_point now = Clock::now();
            const auto pace = NextLook(!watched, now < settling, now < followedUp);
            lock.lock();
            resting_ = !pace;
            lock.unlock();
            const DeviceWatch::Woken woken = watch_.Wait(pace);
            if (woken.devices) {
                settling = Clock::now() + kSettle;
            }
            if (woken.spoke && watching.whole) {
                followedUp = Clock::now() + HidFollowUp;
            }
            lock.lock();
            if (std::exchange(resting_, false)) {
                knownAt_ = Clock::now();  // the readings were the devices' state until one spoke
            }
            if (stop_) {
                return;
            }
            ++started_;
            runningSince_ = Clock::now();
        }
    }

    std::mutex mutex_;
    std::condition_variable looked_;                    // from the thread: a look ended, or the thread did
    DeviceWatch watch_;                                 // what the thread sleeps on; Wake() from any thread
    Readings readings_;                                 // the last look's; no device until SDL has started
    std::array<uint32_t, JoystickSlots> pressed_{};     // buttons pressed since the poll last took a slot's
    std::array<AxisInterest, JoystickSlots> interest_;  // what each slot's device wants of its sticks
    StickWatch sticks_;                                 // the sticks whose changes wait
    uint64_t started_ = 1;  // looks begun; the first begins with the thread, and starts SDL
    uint64_t done_ = 0;     // looks ended
    Clock::time_point runningSince_ = Clock::now();  // when the last look began
    Clock::time_point knownAt_ = runningSince_;      // when the readings were last the devices' state
    bool resting_ = false;                           // the thread sleeps until a device speaks
    std::optional<Preference> preference_;           // a choice the thread has yet to give the table
    std::map<uint32_t, int> triggers_;               // triggers' thresholds the thread has yet to give it
    std::recursive_mutex calling_;                   // held while the listener runs, which may replace itself
    ChangeListener listener_;                        // guarded by calling_
    bool stop_ = false;
    bool ended_ = false;  // the thread has stopped SDL
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
    std::vector<AttachedDevice> LastSeenDevices() override { return reader_->LastSeenDevices(); }
    void PreferDevice(const QString& guid, const QString& port) override {
        reader_->PreferDevice(guid, port);
    }
    void SetChangeListener(ChangeListener listener) override {
        reader_->SetChangeListener(std::move(listener));
    }
    void SetAxisInterest(uint32_t slot, std::optional<int> deadZonePercent) override {
        reader_->SetAxisInterest(slot, deadZonePercent);
    }
    void SetTriggerThreshold(uint32_t slot, int percent) override {
        reader_->SetTriggerThreshold(slot, percent);
    }

private:
    const std::shared_ptr<Reader> reader_ = Reader::Start();
};

}  // namespace

std::shared_ptr<JoystickDriver> MakeSdlJoystickDriver() {
    return std::make_shared<SdlJoystickDriver>();
}

}  // namespace platform
