// The output's entries, and its engine against a recording device.
#include "output/OutputEngine.h"
#include "output/OutputEntry.h"
#include "output/OutputMap.h"
#include "support/RecordingOutputDevice.h"

#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace {

using namespace std::chrono_literals;
using output::Mode;
using Log = std::vector<std::string>;
using Time = output::OutputEngine::Clock::time_point;

TEST(OutputEntry, ReadsWhatTheMapWrites) {
    struct Row {
        std::string text;
        bool reads;
        std::size_t steps = 0;
        Mode mode = Mode::Hold;
        int rate = 0;
    };
    const Row rows[] = {
        {"space", true, 1},
        {" LEFTCTRL + C ", true, 1},
        {"H, 100ms, I", true, 3},
        {"DOWN ripeti 10", true, 1, Mode::Repeat, 10},
        {"H, I Ripeti 50", true, 2, Mode::Repeat, 50},
        {"F alterna", true, 1, Mode::Toggle},
        {"BTN_LEFT+WHEEL_UP", true, 1},
        {"", false},                // empty: nothing, and no reason
        {"KEY_SPACE", false},       // the prefix is not written
        {"BTN_SOUTH", false},       // a pad's button means nothing to a desktop
        {"LEFTCTRL+", false},       // a missing operand
        {"H,,I", false},            // a missing step
        {"SPACE ripeti 0", false},  // out of range, both ends
        {"SPACE ripeti 51", false},
        {"100ms", false},            // pauses only
        {"H, I alterna", false},     // a sequence cannot be held
        {"A, 10000ms, B", true, 3},  // the longest pause
        {"A, 10001ms, B", false},
        {"A, " + std::string(253, ' ') + "B",
         false},  // longer than the map holds: its cut could mean another thing
    };
    for (const Row& row : rows) {
        const output::Read<output::ButtonOutput> read =
            output::ReadButtonOutput(QString::fromStdString(row.text));
        EXPECT_EQ(read.value.has_value(), row.reads) << row.text;
        EXPECT_EQ(read.reason.isEmpty(), row.reads || row.text.empty()) << row.text;
        if (read.value) {
            EXPECT_EQ(std::tuple(read.value->steps.size(), read.value->mode, read.value->rate),
                      std::tuple(row.steps, row.mode, row.rate))
                << row.text;
        }
    }
}

TEST(OutputMap, ReadsTheSectionAndKeepsDefaultsForBadNumbers) {
    const output::OutputMap map = output::ReadOutputMap(
        "[Uscita]\n3=FOO\nLevaSinistra=Puntatore\nCroce=wasd\nZonaMorta=95\nVelocit\xc3\xa0=300\n");
    EXPECT_TRUE(!map.buttons[3] && !map.crossArrows);  // the cross knows frecce
    EXPECT_EQ(std::tuple(map.left, map.deadZone, map.speed),
              std::tuple(output::StickOutput::Pointer, output::kDefaultDeadZone, 300));
    EXPECT_FALSE(output::ReadOutputMap("[Tasti]\n0=1\n").Acts());
    const output::Layer layer =
        output::ReadOutputMap("[Uscita]\nStrato2=8 Alterna\n[Uscita 2]\n0 tenuto=B\n").layers[1];
    EXPECT_TRUE(layer.button == 8 && layer.toggle && layer.holds[0] && !layer.buttons[0]);
    EXPECT_EQ(output::ReadOutputMap("[Uscita]\nVelocit\xc3\xa0=0\n").speed,
              output::kDefaultSpeed);  // not the dead zone's
}

// Tap, hold and double tap: each row a button's events (+ms down, -ms up, ms alone: time passing) and
// the actions the rule takes.
TEST(Gesture, TapHoldAndDoubleAtTheirTimeLimits) {
    using output::GestureAction;
    using A = GestureAction;
    struct Row {
        const char* mistake;
        bool hold, twice;
        std::vector<std::pair<char, int>> events;  // 'd' down, 'u' up, 't' time passes, at ms
        std::vector<GestureAction> actions;
    };
    // clang-format off
    const Row rows[] = {
        {"a hold taken for a tap", true, false, {{'d', 0}, {'t', 200}, {'u', 300}}, {A::HoldDown, A::HoldUp}},
        {"a release a ms before the hold taken for one", true, false, {{'d', 0}, {'t', 199}, {'u', 199}}, {A::Tap}},
        {"a double taken for two taps", false, true, {{'d', 0}, {'u', 50}, {'d', 299}, {'u', 320}}, {A::Twice}},
        {"a press past the double's window taken for a double", false, true, {{'d', 0}, {'u', 50}, {'d', 300}, {'u', 320}, {'t', 570}}, {A::Tap, A::Tap}},
        {"a lone tap waiting for ever for a second", false, true, {{'d', 0}, {'u', 50}, {'t', 300}}, {A::Tap}},
        {"a hold while waiting for a double", true, true, {{'d', 0}, {'t', 200}, {'u', 400}}, {A::HoldDown, A::HoldUp}},
    };
    // clang-format on
    for (const Row& row : rows) {
        const output::GestureTimes times{row.hold, row.twice};
        output::GestureState<Time> state;
        std::vector<GestureAction> actions;
        for (const auto& [kind, ms] : row.events) {
            const std::optional<bool> down = kind == 't' ? std::nullopt : std::optional(kind == 'd');
            if (const A action = output::Gesture(state, down, Time{} + std::chrono::milliseconds(ms), times);
                action != A::None) {
                actions.push_back(action);
            }
        }
        EXPECT_EQ(actions, row.actions) << row.mistake;
    }
}

// Which layer is in force: each row the layers' buttons (a toggled one "+"), the buttons held, the
// toggles on, and the layer.
TEST(Layers, TheHighestHeldOrSwitchedOnIsInForce) {
    const auto layers = [](std::initializer_list<std::pair<int, bool>> buttons) {
        std::array<output::Layer, output::kLayers> result;
        std::size_t n = 0;
        for (const auto& [button, toggle] : buttons) {
            result[n].button = button, result[n++].toggle = toggle;
        }
        return result;
    };
    const struct {
        const char* mistake;
        std::array<output::Layer, output::kLayers> layers;
        unsigned long down;
        std::array<bool, output::kLayers> on;
        int layer;
    } rows[] = {
        {"the lower of two held layers taken", layers({{8, false}, {9, false}}), 0x300, {}, 2},
        {"a toggled layer in force while its button is only held", layers({{8, true}}), 0x100, {}, 0},
        {"a toggled layer switched on not in force", layers({{8, true}}), 0, {true}, 1},
        {"a layer without a button in force", layers({{-1, false}}), 0x3fff, {}, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(output::LayerInForce(row.layers, row.down, row.on), row.layer) << row.mistake;
    }
}

// An engine over a recording device, the map's buttons 0..3 on bits 1, 2, 4 and 8.
class Engine : public testing::Test {
public:  // the rows' scripts drive it
    Engine() { keys.codici = {1, 2, 4, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; }
    void Entry(int button, const char* text) { map.buttons[button] = output::ReadButtonOutput(text).value; }
    void Start() { engine.SetMap(map); }
    // A reading of a pad with four axes of 0..65535, as the map reads it.
    void Read(uint32_t buttons, Time when, uint32_t x = 32768, uint32_t y = 32768, uint32_t pov = 65535,
              uint32_t z = 32768, uint32_t r = 32768) {
        const platform::JOYCAPSA caps{.wXmax = 65535, .wYmax = 65535, .wZmax = 65535, .wRmax = 65535};
        engine.Read(
            Generale::Interpreta(
                {.dwXpos = x, .dwYpos = y, .dwZpos = z, .dwRpos = r, .dwButtons = buttons, .dwPOV = pov},
                caps, keys, chord),
            when);
    }
    Log Take() { return std::exchange(*log, {}); }

    std::shared_ptr<Log> log = std::make_shared<Log>();
    RecordingOutputDevice device{log};
    output::OutputEngine engine{device};
    output::OutputMap map;
    Generale::Mappa keys = Generale::MappaPredefinita();
    int32_t chord = 0;
    const Time t0{};
};

TEST_F(Engine, HeldKeysGoDownInOrderAndUpInReverseOnceNoButtonHoldsThem) {
    Entry(0, "LEFTCTRL+C");
    Entry(1, "C");
    Start();
    Read(1, t0);
    Read(3, t0);
    EXPECT_EQ(Take(), (Log{"KEY_LEFTCTRL down", "KEY_C down"}));
    Read(2, t0);  // button 1 still holds C
    EXPECT_EQ(Take(), (Log{"KEY_LEFTCTRL up"}));
    Read(0, t0);
    EXPECT_EQ(Take(), (Log{"KEY_C up"}));
}

TEST_F(Engine, SequencesPauseAndFinishRepeatsStopToggleHolds) {
    Entry(0, "H, 50ms, I");
    Entry(1, "X ripeti 10");
    Entry(2, "T alterna");
    Start();
    Read(1, t0);
    Read(0, t0);  // let go during the pause: the sequence still ends
    EXPECT_EQ(Take(), (Log{"KEY_H down", "KEY_H up"}));
    engine.Advance(t0 + 49ms);
    EXPECT_TRUE(Take().empty());
    engine.Advance(t0 + 50ms);
    EXPECT_EQ(Take(), (Log{"KEY_I down", "KEY_I up"}));
    Read(2, t0);  // repeats
    engine.Advance(t0 + 100ms);
    Read(0, t0 + 150ms);
    engine.Advance(t0 + 300ms);
    EXPECT_EQ(Take(), (Log{"KEY_X down", "KEY_X up", "KEY_X down", "KEY_X up"}));
    Read(4, t0);  // toggles
    Read(0, t0);
    EXPECT_EQ(Take(), (Log{"KEY_T down"}));
    Read(4, t0);
    EXPECT_EQ(Take(), (Log{"KEY_T up"}));
}

TEST_F(Engine, ACodeOfNoBitsTheChordAndAHoldAcrossAReleaseOfEverythingPressNothing) {
    Entry(0, "A");
    Entry(1, "B");
    Entry(4, "E");  // code 0: lit always on the picture, never a press
    chord = 1 | 2;
    Start();
    Read(3, t0);  // the chord covers buttons 0 and 1
    Read(0, t0);
    EXPECT_TRUE(Take().empty());
    Read(1, t0);
    engine.ReleaseAll();
    Read(1, t0);  // still the same hold: no second press
    EXPECT_EQ(Take(), (Log{"KEY_A down", "KEY_A up"}));
}

// Each row: entries, a script against the engine, and all that reaches the device.
TEST_F(Engine, RowsOfWhatReachesTheDevice) {
    using namespace std::chrono_literals;
    using Map = output::OutputMap;
    using output::StickOutput;
    struct Row {
        const char* mistake;
        std::vector<std::pair<int, const char*>> entries;
        std::function<void(Map&)> map;  // the sticks, the curve...
        std::function<void(Engine&)> script;
        Log sent;
    };
    constexpr uint32_t half = 32768 + 16384, full = 65535, rest = 32768;
    const auto plain = [](Map&) {};
    const auto left = [](StickOutput how, int deadZone = output::kDefaultDeadZone) {
        return [how, deadZone](Map& m) { m.left = how, m.deadZone = deadZone; };
    };
    // A row a line, or its script a line a step:
    // clang-format off
    const Row rows[] = {
        {"a pause does not let go", {{0, "A"}}, plain, [](Engine& e) { e.Read(1, e.t0); e.engine.SetPaused(true); },
         {"KEY_A down", "KEY_A up"}},
        {"a repeat held across a release of everything types on", {{0, "X ripeti 10"}}, plain,
         [](Engine& e) { e.Read(1, e.t0); e.engine.ReleaseAll(); e.engine.Advance(e.t0 + 300ms); },
         {"KEY_X down", "KEY_X up"}},
        {"a backlog of repeats after the program was stopped", {{0, "X ripeti 10"}}, plain,
         [](Engine& e) { e.Read(1, e.t0); e.engine.Advance(e.t0 + 5s); e.engine.Advance(e.t0 + 5100ms); },
         {"KEY_X down", "KEY_X up", "KEY_X down", "KEY_X up"}},
        {"held sequences queue without limit", {{0, "A, 1000ms, B"}}, plain, [](Engine& e) {
             for (int tap = 0; tap < 6; ++tap) { e.Read(1, e.t0); e.Read(0, e.t0); }
             for (auto t = 0ms; t <= 6s; t += 100ms) { e.engine.Advance(e.t0 + t); } },
         {"KEY_A down", "KEY_A up", "KEY_B down", "KEY_B up", "KEY_A down", "KEY_A up", "KEY_B down", "KEY_B up"}},
        {"the dead zone not taken out of a half push, or the motion's clock kept from before", {}, left(StickOutput::Pointer),
         [](Engine& e) { e.Read(0, e.t0 - 30ms, half, rest); e.Read(0, e.t0 - 30ms); e.Read(0, e.t0, half, rest); e.engine.Advance(e.t0 + 20ms); },
         {"move 4 0"}},
        {"the wheel turned the wrong way, or in whole notches only, or up and down only", {}, [](Map& m) { m.right = StickOutput::Wheel; },
         [](Engine& e) { e.Read(0, e.t0, rest, rest, 65535, 0); e.engine.Advance(e.t0 + 20ms); e.Read(0, e.t0 + 20ms, rest, rest, 65535, rest, full); e.engine.Advance(e.t0 + 40ms); },
         {"scroll 48 0", "scroll 0 48"}},  // 20 notches a second, in 120ths: up, then right
        {"the arrows' threshold below the dead zone", {}, left(StickOutput::Arrows, 60),  // 0.58: past half, inside 60
         [](Engine& e) { e.Read(0, e.t0, rest + 19000, rest); e.Read(0, e.t0, full, rest); }, {"KEY_RIGHT down", "KEY_RIGHT up"}},
        {"a stick held through a pause does nothing until it moves", {}, left(StickOutput::Arrows),
         [](Engine& e) { e.engine.SetPaused(true); e.Read(0, e.t0, full, rest); e.engine.SetPaused(false); },
         {"KEY_RIGHT down", "KEY_RIGHT up"}},
        {"a toggled key kept down by a release of everything", {{0, "T alterna"}}, plain,
         [](Engine& e) { e.Read(1, e.t0); e.Read(0, e.t0); e.engine.ReleaseAll(); }, {"KEY_T down", "KEY_T up"}},
        {"a button with a hold and a double entry acting before it knows, or a plain one waiting", {{0, "SPACE"}, {1, "B"}},
         [](Map& m) {
             m.holds[0] = output::ReadGestureKeys(QStringLiteral("LEFTSHIFT")).value;
             m.twices[0] = output::ReadGestureKeys(QStringLiteral("ENTER")).value; },
         [](Engine& e) {
             e.Read(1, e.t0); e.Read(0, e.t0 + 50ms); e.engine.Advance(e.t0 + 300ms);  // a tap, once no second press came
             e.Read(1, e.t0 + 400ms); e.engine.Advance(e.t0 + 600ms);                 // held
             e.Read(2, e.t0 + 700ms);  // button 1 acts at once; button 0's hold lets go
             e.Read(1, e.t0 + 800ms); e.Read(0, e.t0 + 850ms); e.Read(1, e.t0 + 900ms); },  // a double
         {"KEY_SPACE down", "KEY_SPACE up", "KEY_LEFTSHIFT down", "KEY_LEFTSHIFT up", "KEY_B down", "KEY_B up", "KEY_ENTER down", "KEY_ENTER up"}},
        {"a key held across a layer's change let go as the new layer has it, or the layer's button sending its own", {{0, "A"}, {3, "L"}},
         [](Map& m) { m.layers[0].button = 3, m.layers[0].buttons[0] = output::ReadButtonOutput(QStringLiteral("B")).value; },
         [](Engine& e) { for (const uint32_t mask : {1, 9, 8, 9, 0}) { e.Read(mask, e.t0); } },
         {"KEY_A down", "KEY_A up", "KEY_B down", "KEY_B up"}},
        {"a toggled layer held only while its button is", {{0, "A"}},
         [](Map& m) { m.layers[1].button = 3, m.layers[1].toggle = true, m.layers[1].buttons[0] = output::ReadButtonOutput(QStringLiteral("B")).value; },
         [](Engine& e) { for (const uint32_t mask : {8, 0, 1, 0, 8, 0, 1, 0}) { e.Read(mask, e.t0); } },
         {"KEY_B down", "KEY_B up", "KEY_A down", "KEY_A up"}},
        {"a stick resting near the arrows' threshold chatters", {}, left(StickOutput::Arrows), [](Engine& e) {
             for (const uint32_t x : {rest + 18000, rest + 14800, rest + 18000, rest + 12700}) { e.Read(0, e.t0, x, rest); } },  // 0.55, 0.45, 0.55, 0.39
         {"KEY_RIGHT down", "KEY_RIGHT up"}},
        {"the curve left out: linear goes by the push itself", {}, [](Map& m) { m.left = StickOutput::Pointer, m.curve = 1; },
         [](Engine& e) { e.Read(0, e.t0, half, rest); e.engine.Advance(e.t0 + 20ms); }, {"move 9 0"}},
        {"the precision button sends its own keys, or leaves the speed as it is", {{1, "P"}},
         [](Map& m) { m.left = StickOutput::Pointer, m.precision = 1; },
         [](Engine& e) { e.Read(2, e.t0, half, rest); e.engine.Advance(e.t0 + 20ms); e.engine.Advance(e.t0 + 100ms); },
         {"move 1 0", "move 2 0"}},
        {"the pointer's pace set by when the thread woke, not when the step was due", {}, left(StickOutput::Pointer), [](Engine& e) {
             e.Read(0, e.t0, full, rest);
             int steps = 0;
             for (auto due = e.engine.Due(); due && *due < e.t0 + 1s; due = e.engine.Due(), ++steps) {
                 e.engine.Advance(*due + 500us);  // every wake-up half a millisecond late
             }
             e.Take();
             e.log->push_back(std::to_string(steps) + " steps"); },
         {"124 steps"}},  // due at 8 ms, 16 ms ... 992 ms: 125 a second
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mistake);
        engine.SetPaused(false);
        engine.SetMap({});
        Read(0, t0 - 1s);  // every button up, nothing moving
        map = {};
        for (const auto& [button, text] : row.entries) {
            Entry(button, text);
        }
        row.map(map);
        Start();
        Take();
        row.script(*this);
        engine.SetMap({});
        EXPECT_EQ(Take(), row.sent);
    }
}

TEST_F(Engine, SticksMoveAsTheirMarkersAndTheCrossPressesArrows) {
    map.left = output::StickOutput::Pointer;
    map.right = output::StickOutput::Wheel;
    map.crossArrows = true;
    keys.segni[1] = -1;  // the left stick's vertical turned over
    Start();
    Read(0, t0, 36000, 32768);  // inside the dead zone: no wake-ups
    EXPECT_FALSE(engine.Due());
    Read(0, t0, 65535, 0);  // full right, and up turned to down
    EXPECT_EQ(engine.Due(), t0 + 8ms);
    engine.Advance(t0 + 108ms);  // a late wake-up moves 50 ms' worth at most
    EXPECT_EQ(Take(), (Log{"move 42 42"}));
    Read(0, t0, 32768, 32768, 4500);  // up and right
    EXPECT_EQ(Take(), (Log{"KEY_UP down", "KEY_RIGHT down"}));
    Read(0, t0, 32768, 32768, 9000);
    EXPECT_EQ(Take(), (Log{"KEY_UP up"}));
    engine.ReleaseAll();
    EXPECT_EQ(Take(), (Log{"KEY_RIGHT up"}));
}

}  // namespace
