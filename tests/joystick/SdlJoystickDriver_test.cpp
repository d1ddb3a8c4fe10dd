// The SDL2 driver and the monitor over it, with SDL's virtual joysticks standing in for devices.
// Each test has its own driver, and so its own SDL joystick subsystem and a clean set of devices.

#include "JoyEventLog.h"
#include "joystick/cJoy.h"
#include "joystick/timer_module.h"
#include "platform/JoystickDriver.h"

#include <QTest>
#include <SDL.h>
#include <gmock/gmock.h>

#include <cstring>
#include <memory>
#include <vector>

using ::testing::ElementsAre;
using platform::JOYCAPSA;
using platform::JOYINFOEX;

namespace {

class SdlDriverTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (joy) {
            joy->End_JoyMonitor();
        }
        for (SDL_Joystick* device : devices) {
            SDL_JoystickClose(device);
        }
    }

    // Attaches a virtual device and opens it to set its controls. A game-controller type is
    // recognised with SDL's default virtual mapping (virtual button n is SDL_GameControllerButton n,
    // axes 0..5 are left x, left y, right x, right y, left and right trigger); any other type is raw.
    SDL_Joystick* Attach(SDL_JoystickType type, int axes, int buttons, int hats) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = static_cast<Uint16>(type);
        desc.naxes = static_cast<Uint16>(axes);
        desc.nbuttons = static_cast<Uint16>(buttons);
        desc.nhats = static_cast<Uint16>(hats);
        desc.name = type == SDL_JOYSTICK_TYPE_GAMECONTROLLER ? "Virtual pad" : "Virtual stick";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0);
        SDL_Joystick* device = SDL_JoystickOpen(index);
        EXPECT_NE(device, nullptr);
        devices.push_back(device);
        return device;
    }

    SDL_Joystick* AttachPad() { return Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 16, 0); }

    void Detach(SDL_Joystick* device) {
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) == SDL_JoystickInstanceID(device)) {
                ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
            }
        }
    }

    JOYINFOEX Read(uint32_t slot = 0) {
        JOYINFOEX info;
        EXPECT_EQ(driver->joyGetPosEx(slot, info), platform::JOYERR_NOERROR);
        return info;
    }

    std::shared_ptr<platform::JoystickDriver> driver = platform::MakeSdlJoystickDriver();
    std::vector<SDL_Joystick*> devices;
    std::shared_ptr<cJoy> joy;
};

TEST_F(SdlDriverTest, SlotsWithoutADeviceReadAsUnplugged) {
    JOYINFOEX info;
    JOYCAPSA caps;

    EXPECT_EQ(driver->joyGetNumDevs(), 16u);
    EXPECT_EQ(driver->joyGetPosEx(0, info), platform::JOYERR_UNPLUGGED);
    EXPECT_EQ(driver->joyGetDevCapsA(1, caps), platform::JOYERR_UNPLUGGED);
    EXPECT_EQ(driver->joyGetPosEx(16, info), platform::JOYERR_PARMS);
    EXPECT_EQ(driver->joyGetDevCapsA(16, caps), platform::JOYERR_PARMS);
}

TEST_F(SdlDriverTest, ARawDeviceReportsItsAxesButtonsAndFirstHat) {
    SDL_Joystick* stick = Attach(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 4, 32, 2);
    SDL_JoystickSetVirtualAxis(stick, 0, -32768);
    SDL_JoystickSetVirtualAxis(stick, 1, 32767);
    SDL_JoystickSetVirtualAxis(stick, 2, 0);
    SDL_JoystickSetVirtualAxis(stick, 3, -1);
    for (const int button : {0, 5, 31}) {
        SDL_JoystickSetVirtualButton(stick, button, SDL_PRESSED);
    }
    SDL_JoystickSetVirtualHat(stick, 0, SDL_HAT_RIGHTDOWN);
    SDL_JoystickSetVirtualHat(stick, 1, SDL_HAT_UP);

    const JOYINFOEX info = Read();
    JOYCAPSA caps;
    ASSERT_EQ(driver->joyGetDevCapsA(0, caps), platform::JOYERR_NOERROR);

    EXPECT_EQ(info.dwXpos, 0u);
    EXPECT_EQ(info.dwYpos, 65535u);
    EXPECT_EQ(info.dwZpos, 32768u);
    EXPECT_EQ(info.dwRpos, 32767u);
    EXPECT_EQ(info.dwButtons, 0x80000021u);
    EXPECT_EQ(info.dwPOV, 13500u);
    EXPECT_STREQ(caps.szPname, "Virtual stick");
    for (const auto& [min, max] : {std::pair{caps.wXmin, caps.wXmax}, std::pair{caps.wYmin, caps.wYmax},
                                   std::pair{caps.wZmin, caps.wZmax}, std::pair{caps.wRmin, caps.wRmax}}) {
        EXPECT_EQ(min, 0u);
        EXPECT_EQ(max, 65535u);
    }
}

TEST_F(SdlDriverTest, AnAxisTheDeviceLacksIsRangedZeroToZeroAndReadsZero) {
    SDL_Joystick* stick = Attach(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 4, 0);
    SDL_JoystickSetVirtualAxis(stick, 0, 100);

    const JOYINFOEX info = Read();
    JOYCAPSA caps;
    ASSERT_EQ(driver->joyGetDevCapsA(0, caps), platform::JOYERR_NOERROR);

    EXPECT_EQ(info.dwXpos, 32868u);
    EXPECT_EQ(info.dwZpos, 0u);
    EXPECT_EQ(info.dwRpos, 0u);
    EXPECT_EQ(info.dwPOV, platform::JOY_POVCENTERED);
    EXPECT_EQ(caps.wYmax, 65535u);
    EXPECT_EQ(caps.wZmax, 0u);
    EXPECT_EQ(caps.wRmax, 0u);
}

struct HatCase {
    Uint8 hat;
    uint32_t hundredths;
};

void PrintTo(const HatCase& c, std::ostream* os) {
    *os << "hat_" << int{c.hat};
}

class SdlHat : public SdlDriverTest, public ::testing::WithParamInterface<HatCase> {};

TEST_P(SdlHat, IsReportedInHundredthsOfADegreeClockwiseFromUp) {
    SDL_Joystick* stick = Attach(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 4, 4, 1);
    SDL_JoystickSetVirtualHat(stick, 0, GetParam().hat);

    EXPECT_EQ(Read().dwPOV, GetParam().hundredths);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, SdlHat,
    ::testing::Values(HatCase{SDL_HAT_CENTERED, 65535}, HatCase{SDL_HAT_UP, 0}, HatCase{SDL_HAT_RIGHTUP, 4500},
                      HatCase{SDL_HAT_RIGHT, 9000}, HatCase{SDL_HAT_RIGHTDOWN, 13500}, HatCase{SDL_HAT_DOWN, 18000},
                      HatCase{SDL_HAT_LEFTDOWN, 22500}, HatCase{SDL_HAT_LEFT, 27000},
                      HatCase{SDL_HAT_LEFTUP, 31500}, HatCase{SDL_HAT_UP | SDL_HAT_DOWN, 65535}));

struct PadButtonCase {
    SDL_GameControllerButton button;
    uint32_t mask;
};

void PrintTo(const PadButtonCase& c, std::ostream* os) {
    *os << SDL_GameControllerGetStringForButton(c.button);
}

class SdlPadButton : public SdlDriverTest, public ::testing::WithParamInterface<PadButtonCase> {};

TEST_P(SdlPadButton, LightsThePicturesButton) {
    SDL_JoystickSetVirtualButton(AttachPad(), GetParam().button, SDL_PRESSED);

    EXPECT_EQ(Read().dwButtons, GetParam().mask);
}

INSTANTIATE_TEST_SUITE_P(
    PictureLayout, SdlPadButton,
    ::testing::Values(PadButtonCase{SDL_CONTROLLER_BUTTON_X, 1u << 0}, PadButtonCase{SDL_CONTROLLER_BUTTON_A, 1u << 1},
                      PadButtonCase{SDL_CONTROLLER_BUTTON_B, 1u << 2}, PadButtonCase{SDL_CONTROLLER_BUTTON_Y, 1u << 3},
                      PadButtonCase{SDL_CONTROLLER_BUTTON_BACK, 1u << 4},
                      PadButtonCase{SDL_CONTROLLER_BUTTON_START, 1u << 5},
                      PadButtonCase{SDL_CONTROLLER_BUTTON_GUIDE, 1u << 6},
                      PadButtonCase{SDL_CONTROLLER_BUTTON_MISC1, 1u << 7},
                      PadButtonCase{SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 1u << 8},
                      PadButtonCase{SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1u << 9},
                      PadButtonCase{SDL_CONTROLLER_BUTTON_LEFTSTICK, 1u << 12},
                      PadButtonCase{SDL_CONTROLLER_BUTTON_RIGHTSTICK, 1u << 13},
                      PadButtonCase{SDL_CONTROLLER_BUTTON_DPAD_UP, 0}));

struct PadDpadCase {
    std::vector<SDL_GameControllerButton> pressed;
    uint32_t hundredths;
};

void PrintTo(const PadDpadCase& c, std::ostream* os) {
    *os << "dpad";
    for (const SDL_GameControllerButton button : c.pressed) {
        *os << "_" << SDL_GameControllerGetStringForButton(button);
    }
}

class SdlPadDpad : public SdlDriverTest, public ::testing::WithParamInterface<PadDpadCase> {};

TEST_P(SdlPadDpad, IsReportedAsTheHat) {
    SDL_Joystick* pad = AttachPad();
    for (const SDL_GameControllerButton button : GetParam().pressed) {
        SDL_JoystickSetVirtualButton(pad, button, SDL_PRESSED);
    }

    const JOYINFOEX info = Read();

    EXPECT_EQ(info.dwPOV, GetParam().hundredths);
    EXPECT_EQ(info.dwButtons, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    PictureLayout, SdlPadDpad,
    ::testing::Values(PadDpadCase{{}, 65535}, PadDpadCase{{SDL_CONTROLLER_BUTTON_DPAD_UP}, 0},
                      PadDpadCase{{SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_RIGHT}, 4500},
                      PadDpadCase{{SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_RIGHT}, 13500},
                      PadDpadCase{{SDL_CONTROLLER_BUTTON_DPAD_LEFT}, 27000},
                      PadDpadCase{{SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_UP}, 31500}));

TEST_F(SdlDriverTest, APadsSticksAreXYLeftAndRZRight) {
    SDL_Joystick* pad = AttachPad();
    SDL_JoystickSetVirtualAxis(pad, 0, -32768);  // left x
    SDL_JoystickSetVirtualAxis(pad, 1, 32767);   // left y
    SDL_JoystickSetVirtualAxis(pad, 2, -1);      // right x
    SDL_JoystickSetVirtualAxis(pad, 3, 100);     // right y

    const JOYINFOEX info = Read();

    EXPECT_EQ(info.dwXpos, 0u);
    EXPECT_EQ(info.dwYpos, 65535u);
    EXPECT_EQ(info.dwRpos, 32767u);
    EXPECT_EQ(info.dwZpos, 32868u);
}

TEST_F(SdlDriverTest, APadsTriggersPressPastHalfWay) {
    SDL_Joystick* pad = AttachPad();
    Read();  // SDL settles the triggers' rest position at the first update
    // The triggers read 0..32767 from their axis: axis 0 gives 16383, axis 1 gives 16384.
    SDL_JoystickSetVirtualAxis(pad, 4, 0);
    SDL_JoystickSetVirtualAxis(pad, 5, 1);
    EXPECT_EQ(Read().dwButtons, 1u << 11);

    SDL_JoystickSetVirtualAxis(pad, 4, 32767);
    SDL_JoystickSetVirtualAxis(pad, 5, -32768);
    EXPECT_EQ(Read().dwButtons, 1u << 10);
}

TEST_F(SdlDriverTest, SlotsFollowSdlsDeviceOrder) {
    SDL_Joystick* stick = Attach(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 4, 4, 0);
    AttachPad();
    JOYCAPSA caps;
    ASSERT_EQ(driver->joyGetDevCapsA(1, caps), platform::JOYERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "Virtual pad");

    Detach(stick);
    driver->joyGetNumDevs();

    ASSERT_EQ(driver->joyGetDevCapsA(0, caps), platform::JOYERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "Virtual pad");
    EXPECT_EQ(driver->joyGetDevCapsA(1, caps), platform::JOYERR_UNPLUGGED);
}

TEST_F(SdlDriverTest, TheMonitorCountsTheAttachedControllers) {
    Attach(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 4, 4, 0);
    AttachPad();
    joy = std::make_shared<cJoy>(driver);
    JoyEventLog log(*joy);

    EXPECT_TRUE(joy->ConfiguratedJoy());

    EXPECT_THAT(log.Take(), ElementsAre("JoyNumbers(2)"));
}

TEST_F(SdlDriverTest, AControllerPluggedInLaterIsFoundAtTheNextValidityTest) {
    joy = std::make_shared<cJoy>(driver);
    JoyEventLog log(*joy);
    EXPECT_FALSE(joy->IsJoystick1_Valid());

    AttachPad();

    EXPECT_TRUE(joy->IsJoystick1_Valid());
    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)"));
}

TEST_F(SdlDriverTest, TheRunningMonitorFollowsThePad) {
    SDL_Joystick* pad = AttachPad();
    joy = std::make_shared<cJoy>(driver);
    JoyEventLog log(*joy);
    ASSERT_TRUE(joy->IsJoystick1_Valid());
    joy->Start_JoyMonitor(0);
    ASSERT_THAT(log.Take(), ::testing::IsEmpty());

    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
    SDL_JoystickSetVirtualAxis(pad, 0, -32768);
    SDL_JoystickSetVirtualAxis(pad, 3, 32767);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_PRESSED);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !log.events.empty(); }, 1000));
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(2)", "JoyLeftStick(-10,0)", "JoyRightStick(0,10)", "JoyDpad(3)"));
}

TEST_F(SdlDriverTest, UnpluggingWhileRunningReportsOnceAndPluggingBackResumes) {
    SDL_Joystick* pad = AttachPad();
    joy = std::make_shared<cJoy>(driver);
    JoyEventLog log(*joy);
    ASSERT_TRUE(joy->IsJoystick1_Valid());
    joy->Start_JoyMonitor(0);

    Detach(pad);
    QTest::qWait(6 * 25);
    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)"));

    SDL_JoystickSetVirtualButton(AttachPad(), SDL_CONTROLLER_BUTTON_B, SDL_PRESSED);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !log.events.empty(); }, 1000));
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(4)"));
}

} // namespace
