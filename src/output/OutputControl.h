#pragma once
// The output's owner on the user interface's side: the keyboard and mouse exist while the map in force
// has entries that act, and hear the controller while acquisition reads it and no window of this
// program is in front.

#include "output/OutputMap.h"
#include "output/OutputThread.h"
#include "platform/input/JoystickDriver.h"
#include "platform/output/OutputDevice.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace output {

class OutputControl final : public QObject {
    Q_OBJECT
public:
    using Opener = std::function<platform::OpenedOutput()>;
    explicit OutputControl(std::shared_ptr<platform::JoystickDriver> driver,
                           Opener open = platform::OpenOutputDevice);
    ~OutputControl() override;  // everything held is released, and the device goes
    OutputControl(const OutputControl&) = delete;
    OutputControl& operator=(const OutputControl&) = delete;

    // A map put in force: the device comes or goes with its entries; what was held is released.
    void SetMap(const OutputMap& map);
    // The slot acquisition reads, none while it is stopped; what was held is released.
    void SetSlot(std::optional<uint32_t> slot);
    void SetPaused(bool paused);

    bool Active() const { return thread_ != nullptr; }
    bool Paused() const { return paused_; }
    // What Unavailable told, if it did.
    const QString& Reason() const { return reason_; }

signals:
    // The map has entries that act, and no keyboard and mouse could be made: why, and what to do.
    // Once a run.
    void Unavailable(const QString& why);

private:
    std::shared_ptr<platform::JoystickDriver> driver_;
    Opener open_;
    std::unique_ptr<OutputThread> thread_;
    std::atomic<int64_t> slot_{-1};  // read on the driver's thread
    bool paused_ = false;
    QString reason_;
};

}  // namespace output
