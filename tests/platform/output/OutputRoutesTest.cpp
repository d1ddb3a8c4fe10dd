// On an X server of the test's own.
#include "joystick/cJoy.h"
#include "platform/ProgramDirectory.h"
#include "platform/QuitOnTerminate.h"
#include "platform/output/KeyNames.h"
#include "platform/output/OutputDevice.h"
#include "platform/output/SendableKeys.h"
#include "platform/output/XTestDevice.h"
#include "platform/output/XTestDisplay.h"
#include "platform/output/guard/HeldInputs.h"
#include "session/Acquisizione.h"

#include "support/ScopedEnvironment.h"
#include "support/VirtualJoysticks.h"

#include <QCoreApplication>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

using namespace std::chrono_literals;
using platform::OutputRoute;
using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;

// XTest's guard where the build puts it for the program, build/src/corvane: this is build/tests/platform.
class GuardOfTheBuild : public testing::Environment {
    void SetUp() override {
        platform::SetProgramDirectory(QCoreApplication::applicationDirPath() + "/../../src");
    }
};
const testing::Environment* const guardOfTheBuild = testing::AddGlobalTestEnvironment(new GuardOfTheBuild);

// Hears the root window's input, the pointer at 100, 100 so that the focus follows it there; without
// autorepeat, which would release a held key itself after a while.
Connection Listen() {
    Connection x(xcb_connect(nullptr, nullptr), &xcb_disconnect);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x.get())).data->root;
    xcb_warp_pointer(x.get(), XCB_NONE, root, 0, 0, 0, 0, 100, 100);
    const uint32_t mask = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
                          XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                          XCB_EVENT_MASK_POINTER_MOTION;
    xcb_change_window_attributes(x.get(), root, XCB_CW_EVENT_MASK, &mask);
    const uint32_t off = XCB_AUTO_REPEAT_MODE_OFF;
    xcb_change_keyboard_control(x.get(), XCB_KB_AUTO_REPEAT_MODE, &off);
    std::free(xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));
    return x;
}

// The next key, button or motion event, "key press 38" or "motion 105 97"; "" if none comes in time.
std::string Next(xcb_connection_t* x, std::chrono::milliseconds wait = 0ms) {
    const std::array<std::string, 4> names{"key press ", "key release ", "button press ", "button release "};
    for (const auto deadline = std::chrono::steady_clock::now() + wait;;) {
        while (const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event{xcb_poll_for_event(x),
                                                                                      &std::free}) {
            const auto& input = reinterpret_cast<const xcb_key_press_event_t&>(*event);  // one layout for all
            const uint8_t type = event->response_type & 0x7f;
            if (type >= XCB_KEY_PRESS && type <= XCB_BUTTON_RELEASE) {
                return names.at(type - XCB_KEY_PRESS) + std::to_string(input.detail);
            } else if (type == XCB_MOTION_NOTIFY) {
                return "motion " + std::to_string(input.root_x) + " " + std::to_string(input.root_y);
            }
        }
        pollfd readable{xcb_get_file_descriptor(x), POLLIN, 0};
        if (std::chrono::steady_clock::now() >= deadline || poll(&readable, 1, 50) < 0) {
            return {};
        }
    }
}

// The program's part, in a process of its own: A held through XTest, then the event loop until a signal
// ends it; its status is the loop's, once the device has let go.
pid_t HoldA(int told) {
    const pid_t pid = fork();
    if (pid != 0) {
        return pid;
    }
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        std::signal(signal, SIG_DFL);  // as the test was started has no say
    }
    platform::QuitOnTerminate();
    std::unique_ptr<platform::OutputDevice> device = platform::OpenXTestDevice(qgetenv("DISPLAY"));
    if (!device) {
        _exit(2);
    }
    device->Key(KEY_A, true);
    const char held = 1;
    if (write(told, &held, 1) != 1) {
        _exit(2);
    }
    const int status = QCoreApplication::exec();
    device.reset();
    _exit(status);
}

// Whether every child of the test's ends within two seconds.
bool ChildrenEnd() {
    for (const auto deadline = std::chrono::steady_clock::now() + 2s;
         std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(10ms)) {
        pid_t ended = 0;
        while ((ended = waitpid(-1, nullptr, WNOHANG)) > 0) {
        }
        if (ended < 0 && errno == ECHILD) {
            return true;
        }
    }
    return false;
}

// Where /dev/uinput is closed, as here: under Wayland XTest would reach XWayland's programs alone.
TEST(OutputRoutes, WithoutUinputXTestOnlyInAnX11Session) {
    if (access("/dev/uinput", W_OK) == 0) {
        GTEST_SKIP() << "/dev/uinput is open for writing here";
    }
    const auto value = [](const char* text) { return text ? std::optional(QString(text)) : std::nullopt; };
    const std::optional<QString> display = qEnvironmentVariable("DISPLAY");
    // DISPLAY kept or unset, XDG_SESSION_TYPE, WAYLAND_DISPLAY; an X server started by hand sets no type.
    for (const auto& [keepDisplay, type, wayland, expected] :
         std::vector<std::tuple<bool, const char*, const char*, OutputRoute>>{
             {true, nullptr, nullptr, OutputRoute::XTest},
             {true, nullptr, "wayland-0", OutputRoute::None},
             {true, "wayland", nullptr, OutputRoute::None},
             {false, nullptr, "wayland-0", OutputRoute::None}}) {
        SCOPED_TRACE(testing::Message() << keepDisplay << ' ' << type << ' ' << wayland);
        ScopedEnvironment environment;
        environment.Set("DISPLAY", keepDisplay ? display : std::nullopt);
        environment.Set("XDG_SESSION_TYPE", value(type));
        environment.Set("WAYLAND_DISPLAY", value(wayland));
        const platform::OpenedOutput opened = platform::OpenOutputDevice();
        EXPECT_EQ(opened.route, expected);
        EXPECT_EQ(opened.device == nullptr, expected == OutputRoute::None);
        EXPECT_EQ(opened.why.isEmpty(), opened.device != nullptr);
    }
}

TEST(OutputRoutes, XTestTypesOnTheDisplayOfTheWindows) {
    const struct {
        platform::DisplaySession session;
        std::optional<QByteArray> display;
        const char* mistake;
    } rows[] = {
        {{"xcb", ":2", ":1", false}, ":2", "$DISPLAY, while -display put the windows on :2"},
        {{"xcb", ":2", "", false}, ":2", "no output without $DISPLAY, though the windows are on X"},
        {{"offscreen", "", ":1", false}, ":1", "no output where Qt has no X display (the tests' platform)"},
        {{"xcb", ":2", ":1", true}, std::nullopt, "XTest in a Wayland session: XWayland's programs alone"},
        {{"wayland", "", ":1", false}, std::nullopt, "X's display taken while the windows are Wayland's"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::XTestDisplay(row.session), row.display) << row.mistake;
    }
}

// X's keycodes end at 255: the kernel's 247, plus 8.
TEST(OutputRoutes, XTestSendsTheKeysXHasCodesFor) {
    const struct {
        uint16_t code;
        OutputRoute route;
        bool sent;
        const char* mistake;
    } rows[] = {
        {KEY_RFKILL, OutputRoute::XTest, true, "X's last keycode refused"},
        {KEY_MICMUTE, OutputRoute::XTest, false, "a key past X's keycodes accepted, and nothing sent"},
        {BTN_RIGHT, OutputRoute::XTest, true, "a mouse button taken for a keycode past 255"},
        {KEY_MICMUTE, OutputRoute::Uinput, true, "X's limit applied to uinput"},
        {BTN_EXTRA, OutputRoute::XTest, true, "the mouse's forward button has no X button"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::WhyNotSent(row.code, row.route).isEmpty(), row.sent) << row.mistake;
    }
}

TEST(KeyNames, ReadsTheDevicesKeysInAsciiCaseOnly) {
    const struct {
        const char16_t* name;
        std::optional<uint16_t> code;
        const char* mistake;
    } rows[] = {
        {u"space", KEY_SPACE, "a name in lower case refused"},
        {u"\u0131", std::nullopt, "the dotless ı read as I, in Unicode's upper case"},
        {u"\u017Fpace", std::nullopt, "the long ſ read as S"},
        {u"MAX", std::nullopt, "the end of the kernel's table taken for a key the device has"},
        {u"btn_side", BTN_SIDE, "the mouse's back button refused"},
        {u"BTN_SOUTH", std::nullopt, "a pad's button taken for a mouse's"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::KeyCode(row.name), row.code) << row.mistake;
    }
}

// What the guard lets go of when the program ends, after the changes it heard.
TEST(OutputRoutes, TheGuardLetsGoOfWhatIsStillHeld) {
    using Changes = std::vector<platform::guard::Change>;
    const struct {
        Changes heard;
        Changes released;
        const char* mistake;
    } rows[] = {
        {{{XCB_KEY_PRESS, 38}, {XCB_KEY_RELEASE, 38}}, {}, "a key the program let go released again"},
        {{{XCB_BUTTON_PRESS, 3}}, {{XCB_BUTTON_RELEASE, 3}}, "a button released as a key"},
        {{{XCB_BUTTON_PRESS, 1}, {XCB_KEY_RELEASE, 1}},
         {{XCB_BUTTON_RELEASE, 1}},
         "a key's release taken for the button of its number"},
        {{{XCB_MOTION_NOTIFY, 1}}, {}, "a type the program does not hold taken for a hold"},
    };
    for (const auto& row : rows) {
        platform::guard::HeldInputs held;
        for (const platform::guard::Change& change : row.heard) {
            held.Apply(change);
        }
        EXPECT_EQ(held.Releases(), row.released) << row.mistake;
    }
}

// The program lets go on the signals it can catch, and ends as Fine Programma does (status 0); after a
// SIGKILL its guard does, and ends too.
TEST(OutputRoutes, NothingStaysHeldHoweverTheProgramEnds) {
    prctl(PR_SET_CHILD_SUBREAPER, 1);  // the guard of a killed program comes to the test
    const Connection x = Listen();
    for (const auto& [signal, caught] : std::vector<std::pair<int, bool>>{
             {SIGINT, true}, {SIGHUP, true}, {SIGQUIT, true}, {SIGKILL, false}}) {
        SCOPED_TRACE(strsignal(signal));
        std::array<int, 2> told{};
        ASSERT_EQ(pipe(told.data()), 0);
        const pid_t program = HoldA(told[1]);
        close(told[1]);
        char held = 0;
        ASSERT_EQ(read(told[0], &held, 1), 1);
        close(told[0]);
        EXPECT_EQ(Next(x.get(), 2s), "key press 38");  // KEY_A
        kill(program, signal);
        EXPECT_EQ(Next(x.get(), 2s), "key release 38");
        int status = 0;
        ASSERT_EQ(waitpid(program, &status, 0), program);
        const bool finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        EXPECT_EQ(finished, caught) << "wait status " << status;
        EXPECT_TRUE(ChildrenEnd());
    }
}

// What the root window receives (the focus follows the pointer there, at 100, 100 first).
TEST(OutputRoutes, XTestSpeaksXsNumbersAndReleasesHeldKeysAtTheEnd) {
    const Connection x = Listen();
    auto device = platform::OpenXTestDevice(qgetenv("DISPLAY"));
    ASSERT_NE(device, nullptr);
    device->Key(KEY_A, true);
    device->Key(KEY_A, true);     // held already
    device->Key(KEY_C, false);    // not held
    device->Key(BTN_TASK, true);  // beyond X's keycodes, and no X button
    device->Key(BTN_RIGHT, true);
    device->Key(BTN_RIGHT, false);
    device->Wheel(-2);
    device->Wheel(1);
    device->Scroll(60, -60);
    device->Scroll(60, -60);  // whole notches once gathered: up, and left
    device->Move(5, -3);
    device->Key(KEY_B, true);
    device.reset();  // it waits until the server has its releases: every event is queued for us then
    std::free(xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));

    std::vector<std::string> events;
    for (std::string event; !(event = Next(x.get())).empty();) {
        events.push_back(event);
    }
    // KEY_A is 30, KEY_B 48.
    EXPECT_EQ(events, (std::vector<std::string>{"key press 38", "button press 3", "button release 3",
                                                "button press 5", "button release 5", "button press 5",
                                                "button release 5", "button press 4", "button release 4",
                                                "button press 4", "button release 4", "button press 6",
                                                "button release 6", "motion 105 97", "key press 56",
                                                "key release 38", "key release 56"}));
}

// From a pad to X through SDL's reading thread, acquisition and XTest. Catches a press that never reaches
// X from the reading thread (or waits there unflushed), and a key left held once the button is up.
TEST(OutputRoutes, AVirtualPadsButtonHoldsItsKeyOnXWhileHeld) {
    const Connection x = Listen();
    const std::shared_ptr<platform::JoystickDriver> driver = platform::MakeSdlJoystickDriver();
    VirtualJoysticks devices;  // closed before the driver ends SDL
    SDL_Joystick* const stick = devices.Attach(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 4, 0, "Virtual stick");
    session::Acquisizione acquisizione(driver, [] {
        return platform::OpenedOutput{platform::OpenXTestDevice(qgetenv("DISPLAY")), OutputRoute::XTest, {}};
    });
    acquisizione.Monitora(std::make_shared<cJoy>(driver));
    acquisizione.MappaMostrata({}, "[Uscita]\n0=A\nStrato1=1\n[Uscita 1]\n0=B\n");
    ASSERT_TRUE(acquisizione.Avvia({}));
    SDL_JoystickSetVirtualButton(stick, 0, SDL_PRESSED);
    EXPECT_EQ(Next(x.get(), 2s), "key press 38");  // KEY_A
    SDL_JoystickSetVirtualButton(stick, 0, SDL_RELEASED);
    EXPECT_EQ(Next(x.get(), 2s), "key release 38");
    SDL_JoystickSetVirtualButton(stick, 1, SDL_PRESSED);  // the layer's button, which sends nothing
    SDL_JoystickSetVirtualButton(stick, 0, SDL_PRESSED);
    EXPECT_EQ(Next(x.get(), 2s), "key press 56");  // KEY_B, the layer's
    SDL_JoystickSetVirtualButton(stick, 0, SDL_RELEASED);
    EXPECT_EQ(Next(x.get(), 2s), "key release 56");
}

}  // namespace
