#include "joystick/cJoy.h"

#include "joystick/timer_module.h"
#include "platform/input/PollTimer.h"

#include <QByteArray>
#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

constexpr uint32_t kPollPeriodMs = 25;

constexpr const char* kIsJoystick1Label = "IsJoystick1_Valid: ";
constexpr const char* kIsJoystick2Label = "IsJoystick2_Valid: ";
constexpr const char* kCapabilitiesLabel = "GetJoyCapabilities: ";
constexpr const char* kStartLabel = "Start_JoyMonitor: ";
constexpr const char* kGetPosLabel = "friend_Joystick_GetPos: ";
constexpr const char* kConfiguratedLabel = "friend_ConfiguratedJoy: ";

// A failure with its description (Italian, UTF-8) for the operation's catch block. Its kind is what
// failed without the values involved: the same failure with other values is of the same kind.
class Failure : public std::runtime_error {
public:
    Failure(const QString& kind, const QString& description)
        : std::runtime_error(description.toStdString()), kind(kind) {}

    QString kind;
};

[[noreturn]] void Fail(const QString& kind, const QString& description) {
    throw Failure(kind, description);
}

[[noreturn]] void Fail(const QString& description) {
    Fail(description, description);
}

// A value that must fit a signed 32-bit integer: one beyond that range is a failure.
int32_t Int32(uint64_t value, const char* member) {
    if (value > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
        Fail(QCoreApplication::translate("cJoy", "%1 = %2 fuori dall'intervallo a 32 bit")
                 .arg(QLatin1String(member))
                 .arg(value));
    }
    return static_cast<int32_t>(value);
}

// (raw - center) / scale rounded half to even; 0 without dividing when the axis is not calibrated.
// The raw reading is a signed 32-bit integer: 0xFFFFFFFF is -1. Only a result that does not fit
// 32 bits is a failure.
int32_t AxisValue(uint32_t raw, float center, float scale, const char* member) {
    const auto position = static_cast<int32_t>(raw);
    if (scale == 0.0f) {
        return 0;
    }
    const double value =
        std::nearbyint((position - static_cast<double>(center)) / static_cast<double>(scale));
    if (!(value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max())) {
        Fail(
            QStringLiteral("valore di %1 convertito fuori dall'intervallo a 32 bit")
                .arg(QLatin1String(member)),
            QCoreApplication::translate("cJoy", "valore di %1 convertito (%2) fuori dall'intervallo a 32 bit")
                .arg(QLatin1String(member))
                .arg(value, 0, 'f', 0));
    }
    return static_cast<int32_t>(value);
}

// The capability members are read as signed 32-bit integers; their span must fit one too.
float Calibrated(uint32_t min, uint32_t max, double factor, char axis) {
    const int64_t span = int64_t{static_cast<int32_t>(max)} - int64_t{static_cast<int32_t>(min)};
    if (span < std::numeric_limits<int32_t>::min() || span > std::numeric_limits<int32_t>::max()) {
        Fail(QCoreApplication::translate("cJoy",
                                         "ampiezza dell'asse %1 (%2 - %3) fuori dall'intervallo a 32 bit")
                 .arg(QLatin1Char(axis))
                 .arg(static_cast<int32_t>(max))
                 .arg(static_cast<int32_t>(min)));
    }
    return static_cast<float>(static_cast<double>(span) * factor);
}

// The driver's 8-bit names into the monitor's 16-bit text, and back.
template<std::size_t N>
void ConvertText(const char (&from)[N], char16_t (&to)[N]) {
    const std::u16string text =
        QString::fromLocal8Bit(from, static_cast<qsizetype>(qstrnlen(from, N))).left(N - 1).toStdU16String();
    std::fill(std::begin(to), std::end(to), u'\0');
    std::copy(text.begin(), text.end(), to);
}

template<std::size_t N>
void ConvertText(const char16_t (&from)[N], char (&to)[N]) {
    const char16_t* end = std::find(from, from + N, u'\0');
    const QByteArray text = QString::fromUtf16(from, end - from).toLocal8Bit().left(N - 1);
    std::fill(std::begin(to), std::end(to), '\0');
    std::copy(text.begin(), text.end(), to);
}

// Copies a capability record between the driver's form and the monitor's.
template<typename From, typename To>
void CopyCaps(const From& from, To& to) {
    ConvertText(from.szPname, to.szPname);
    ConvertText(from.szRegKey, to.szRegKey);
    ConvertText(from.szOEMVxD, to.szOEMVxD);
    to.wXmin = from.wXmin;
    to.wXmax = from.wXmax;
    to.wYmin = from.wYmin;
    to.wYmax = from.wYmax;
    to.wZmin = from.wZmin;
    to.wZmax = from.wZmax;
    to.wRmin = from.wRmin;
    to.wRmax = from.wRmax;
    to.wNumButtons = from.wNumButtons;
    to.wNumAxes = from.wNumAxes;
}

// Marks a poll in progress for as long as it runs.
class PollScope {
public:
    explicit PollScope(int& depth) : depth_(depth) { ++depth_; }
    ~PollScope() { --depth_; }
    PollScope(const PollScope&) = delete;
    PollScope& operator=(const PollScope&) = delete;

private:
    int& depth_;
};

}  // namespace

cJoy::cJoy(std::shared_ptr<platform::JoystickDriver> driver) : driver(std::move(driver)) {}

cJoy::~cJoy() {
    try {
        End_JoyMonitor();
    } catch (...) {
        // The teardown ignores failures: nothing may leave a destructor.
    }
}

bool cJoy::IsJoystick1_Valid() {
    return IsJoystickValid(0, kIsJoystick1Label);
}

bool cJoy::IsJoystick2_Valid() {
    return IsJoystickValid(1, kIsJoystick2Label);
}

bool cJoy::IsJoystickValid(int32_t num, const char* label) {
    bool result = false;
    try {
        joystickNum = num;
        result = Joystick_GetPos();
        if (result) {
            GetJoyCapabilities(num);
        }
        joystickNum = -1;
    } catch (...) {
        emit JoyError(CaughtFailure(label));
    }
    return result;
}

void cJoy::GetJoyCapabilities(int32_t NumJoys) {
    try {
        // The query's result is not examined: a refused query leaves the previous record in place.
        platform::JOYCAPSA queried;
        CopyCaps(joyCaps, queried);
        driver->joyGetDevCapsA(static_cast<uint32_t>(NumJoys), queried);
        CopyCaps(queried, joyCaps);

        // This order matters: a span that does not fit stops here and the later fields keep their values.
        centerX = Calibrated(joyCaps.wXmin, joyCaps.wXmax, 0.5, 'X');
        centerY = Calibrated(joyCaps.wYmin, joyCaps.wYmax, 0.5, 'Y');
        centerR = Calibrated(joyCaps.wRmin, joyCaps.wRmax, 0.5, 'R');
        centerZ = Calibrated(joyCaps.wZmin, joyCaps.wZmax, 0.5, 'Z');
        scaleX = Calibrated(joyCaps.wXmin, joyCaps.wXmax, 0.05, 'X');
        scaleY = Calibrated(joyCaps.wYmin, joyCaps.wYmax, 0.05, 'Y');
        scaleR = Calibrated(joyCaps.wRmin, joyCaps.wRmax, 0.05, 'R');
        scaleZ = Calibrated(joyCaps.wZmin, joyCaps.wZmax, 0.05, 'Z');
    } catch (...) {
        emit JoyError(CaughtFailure(kCapabilitiesLabel));
    }
}

void cJoy::Start_JoyMonitor(int32_t validJoystickNum) {
    try {
        joystickNum = validJoystickNum;
        if (!Joystick_GetPos() || timerId != 0) {
            return;
        }
        const uintptr_t id =
            platform::SetTimer(nullptr, 0, kPollPeriodMs, &timer_module::JoyMonitor_TimerProc);
        timerId = Int32(id, "timerId");
        // Set even when no timer was made: a later start tries again, since timerId stays 0.
        timer_module::CurrentJoyMonitor = shared_from_this();
    } catch (...) {
        emit JoyError(CaughtFailure(kStartLabel));
    }
}

void cJoy::End_JoyMonitor() {
    // A failing step is ignored and the next one runs; only the timer's stop can fail.
    try {
        platform::KillTimer(nullptr, static_cast<uintptr_t>(timerId));  // false for timer 0: nothing to stop
    } catch (...) {
    }
    timerId = 0;
    joystickNum = 0;
    lastTimerFailure.clear();
    // Emptying the reference may drop the last owner of this instance. The local dies last, after
    // every member access; the teardown it may start finds the reference already empty.
    const std::shared_ptr<cJoy> released = std::move(timer_module::CurrentJoyMonitor);
}

bool cJoy::Joystick_GetPos(bool fromTimer) {
    const PollScope polling(pollDepth);
    bool result = false;
    QString error;
    QString failure;  // what failed, without the values: the flood rule compares it
    try {
        error = ReadPosition();
        failure = error;  // these texts hold no reading
        if (error.isEmpty()) {
            result = true;
            // By value: a handler may poll again, overwriting joyInfo, while this poll raises its events.
            RaiseChanges(joyInfo);
        }
    } catch (...) {
        error = CaughtFailure(kGetPosLabel);
        failure = CaughtFailureKind(kGetPosLabel);
    }
    const bool repeated = fromTimer && failure == lastTimerFailure;
    lastTimerFailure = fromTimer ? failure : QString();
    if (!error.isEmpty() && !repeated) {
        emit JoyError(error);
    }
    return result;
}

QString cJoy::ReadPosition() {
    if (joystickNum != 0 && joystickNum != 1) {
        return QStringLiteral("invalid joystick number provided. must be 0 or 1");
    }
    joyInfo.dwSize = sizeof(platform::JOYINFOEX);
    joyInfo.dwFlags = platform::JOY_RETURNALL;
    const uint32_t code = driver->joyGetPosEx(static_cast<uint32_t>(joystickNum), joyInfo);
    switch (code) {
    case platform::JOYERR_NOERROR:
        return {};
    case platform::JOYERR_PARMS:
        return QStringLiteral("Bad Joystick Parameters");
    case platform::JOYERR_NOCANDO:
        return QStringLiteral("General Joystick Error");
    case platform::JOYERR_UNPLUGGED:
        return QStringLiteral("Joystick Unplugged");
    default:
        Fail(tr("nessun testo per il codice di errore %1").arg(code));
    }
}

void cJoy::RaiseChanges(platform::JOYINFOEX reading) {
    const auto buttons = static_cast<int32_t>(reading.dwButtons);  // bit 31 makes the mask negative
    if (buttons != lastButtons) {
        lastButtons = buttons;
        emit JoyButton(buttons);
    }

    const int32_t x = AxisValue(reading.dwXpos, centerX, scaleX, "dwXpos");
    const int32_t y = AxisValue(reading.dwYpos, centerY, scaleY, "dwYpos");
    if (x != lastLeftStickX || y != lastLeftStickY) {
        lastLeftStickX = x;
        lastLeftStickY = y;
        emit JoyLeftStick(x, y);
    }

    const int32_t rx = AxisValue(reading.dwRpos, centerR, scaleR, "dwRpos");
    const int32_t ry = AxisValue(reading.dwZpos, centerZ, scaleZ, "dwZpos");
    if (rx != lastRightStickX || ry != lastRightStickY) {
        lastRightStickX = rx;
        lastRightStickY = ry;
        emit JoyRightStick(rx, ry);
    }

    const int32_t direction = platform::PovDirection(reading.dwPOV);
    if (direction != lastDpadpos) {
        lastDpadpos = direction;
        emit JoyDpad(direction);
    }
}

bool cJoy::ConfiguratedJoy() {
    bool result = false;
    try {
        const uint32_t slotCount = driver->joyGetNumDevs();
        // The slots are counted with a signed 16-bit counter: the last slot number must fit it.
        if (slotCount > uint32_t{std::numeric_limits<int16_t>::max()} + 1) {
            Fail(tr("%1 slot sono troppi per il contatore a 16 bit").arg(slotCount));
        }
        platform::JOYCAPSA scratch;
        int32_t count = 0;
        for (uint32_t slot = 0; slot < slotCount; ++slot) {
            if (driver->joyGetDevCapsA(slot, scratch) == platform::JOYERR_NOERROR) {
                ++count;
            }
        }
        result = true;
        emit JoyNumbers(count);
    } catch (...) {
        emit JoyError(CaughtFailure(kConfiguratedLabel));
    }
    return result;
}

int cJoy::PollDepth() const {
    return pollDepth;
}

QString cJoy::CaughtFailureKind(const char* label) {
    try {
        throw;
    } catch (const Failure& failure) {
        return QStringLiteral("cJoy.") + QLatin1String(label) + failure.kind;
    } catch (...) {
        return CaughtFailure(label);
    }
}

QString cJoy::CaughtFailure(const char* label) {
    const QString prefix = QStringLiteral("cJoy.") + QLatin1String(label);
    try {
        throw;
    } catch (const std::exception& failure) {
        return prefix + QString::fromUtf8(failure.what());
    } catch (...) {
        return prefix + tr("errore imprevisto");
    }
}
