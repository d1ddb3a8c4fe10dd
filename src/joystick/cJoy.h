#pragma once
// The controller monitor: reads one controller through the platform's joystick driver, turns each
// reading into change events and reports every failure as a ready-to-show text.
// Events are Qt signals delivered synchronously (direct connections, same thread).

#include "platform/JoystickDriver.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class cJoy final : public QObject, public std::enable_shared_from_this<cJoy> {
    Q_OBJECT
public:
    // Always owned by a shared_ptr: a running monitor is kept alive by timer_module.
    explicit cJoy(std::shared_ptr<platform::JoystickDriver> driver);
    ~cJoy() override;  // teardown: End_JoyMonitor, failures ignored

    bool IsJoystick1_Valid();
    bool IsJoystick2_Valid();
    void Start_JoyMonitor(int32_t validJoystickNum);
    void End_JoyMonitor();

    // Program-internal. One poll; true when the controller was read. A poll made by the timer
    // (fromTimer) does not repeat the error text of the previous timer poll.
    bool Joystick_GetPos(bool fromTimer = false);
    bool ConfiguratedJoy();

    // True while a poll is raising its events; the timer skips ticks that arrive meanwhile.
    bool IsPolling() const;

signals:
    void JoyButton(int32_t BtnPressed);
    void JoyLeftStick(int32_t leftStickX, int32_t leftStickY);
    void JoyRightStick(int32_t rightStickX, int32_t rightStickY);
    void JoyDpad(int32_t Dpadpos);
    void JoyError(const QString& sErrMessage);
    void JoyNumbers(int32_t lNumJoys);

private:
    // (the implementation adds the fields of the monitor here)
};
