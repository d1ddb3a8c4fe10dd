#pragma once
// The controller monitor: reads one controller through the platform's joystick driver, turns each
// reading into change events and reports every failure as a ready-to-show text.
// Events are Qt signals delivered synchronously (direct connections, same thread).

#include "platform/input/JoystickDriver.h"

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

    // Polls in progress: a handler may open a box inside a poll, and the timer poll again inside it.
    int PollDepth() const;

signals:
    void JoyButton(int32_t BtnPressed);
    void JoyLeftStick(int32_t leftStickX, int32_t leftStickY);
    void JoyRightStick(int32_t rightStickX, int32_t rightStickY);
    void JoyDpad(int32_t Dpadpos);
    void JoyError(const QString& sErrMessage);
    void JoyNumbers(int32_t lNumJoys);

private:
    // Capabilities in the monitor's own form: the driver's names widened to 16-bit text.
    struct JOYCAPS {
        char16_t szPname[32] = {};
        uint32_t wXmin = 0, wXmax = 0;
        uint32_t wYmin = 0, wYmax = 0;
        uint32_t wZmin = 0, wZmax = 0;
        uint32_t wRmin = 0, wRmax = 0;
        uint32_t wNumButtons = 0;
        uint32_t wNumAxes = 0;
        char16_t szRegKey[32] = {};
        char16_t szOEMVxD[260] = {};
    };

    void GetJoyCapabilities(int32_t NumJoys);

    bool IsJoystickValid(int32_t num, const char* label);
    // Reads the selected controller into joyInfo; the error text when it cannot, else empty.
    QString ReadPosition();
    // Raises the change events of one reading, each value stored before its event.
    void RaiseChanges(platform::JOYINFOEX reading);
    // Inside a catch block only: "cJoy." + label + the caught failure's description.
    static QString CaughtFailure(const char* label);
    // Inside a catch block only: "cJoy." + label + what failed, without the values involved.
    static QString CaughtFailureKind(const char* label);

    // Capabilities of the controller calibrated last; only the axis ranges are used.
    JOYCAPS joyCaps;
    // The latest reading.
    platform::JOYINFOEX joyInfo;
    // Values last raised; they start at 0 and are never reset.
    int32_t lastButtons = 0;
    int32_t lastLeftStickX = 0;
    int32_t lastLeftStickY = 0;
    int32_t lastRightStickX = 0;  // from the R axis
    int32_t lastRightStickY = 0;  // from the Z axis
    int32_t lastDpadpos = 0;
    // Calibration: axis value = (raw - center) / scale; a scale of exactly 0 reads as 0.
    float centerX = 0, centerY = 0, centerR = 0, centerZ = 0;
    float scaleX = 0, scaleY = 0, scaleR = 0, scaleZ = 0;
    // Identifier of the running polling timer; 0 when none runs.
    int32_t timerId = 0;
    // Controller polled: 0 or 1; -1 after a validity test (none selected).
    int32_t joystickNum = 0;

    std::shared_ptr<platform::JoystickDriver> driver;
    // What failed in the previous timer poll (label and kind, without the values read), empty when
    // it read the controller: a timer poll failing the same way again stays silent, so an unplugged
    // controller or an axis that stays out of range reports once, not 40 times a second.
    QString lastTimerFailure;
    // Polls in progress (a handler may start one inside another).
    int pollDepth = 0;
};
