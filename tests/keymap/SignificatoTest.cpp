// What a reading means under a map: each row names the mistake it catches.
#include "keymap/Significato.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

using platform::JOYCAPSA;
using platform::JOYINFOEX;

constexpr uint32_t Centre = 32768;  // SDL's rest, 0, as the driver hands it on
constexpr JOYCAPSA FourAxes{.wXmax = 65535, .wYmax = 65535, .wZmax = 65535, .wRmax = 65535};
constexpr JOYCAPSA TwoAxes{.wXmax = 65535, .wYmax = 65535};  // a cross and no sticks: Z and R are 0..0

JOYINFOEX Reading(uint32_t buttons, uint32_t x = Centre, uint32_t y = Centre, uint32_t z = Centre,
                  uint32_t r = Centre, uint32_t pov = platform::JOY_POVCENTERED) {
    return {.dwXpos = x, .dwYpos = y, .dwZpos = z, .dwRpos = r, .dwButtons = buttons, .dwPOV = pov};
}

// The default map, changed.
Generale::Mappa With(const std::function<void(Generale::Mappa&)>& change) {
    Generale::Mappa map = Generale::MappaPredefinita();
    change(map);
    return map;
}

TEST(Significato, OneMeaningOfAReading) {
    struct Row {
        const char* mistake;
        JOYINFOEX reading;
        JOYCAPSA caps;
        Generale::Mappa map;
        int32_t chord;
        std::array<double, 4> sticks;
        std::string active;  // the buttons that act, bit 0 last
        int16_t cross = 0;
    };
    const Generale::Mappa plain = Generale::MappaPredefinita();
    const std::string none = "00000000000000";
    // A row a line:
    // clang-format off
    const Row rows[] = {
        {"an axis the pad lacks read as pushed fully up and left", Reading(1, Centre, Centre, 0, 0), TwoAxes, plain, 0, {0, 0, 0, 0}, "00000000000001"},
        {"SDL's rest read as a hair off the middle (wakes the output with no dead zone)", Reading(0), FourAxes, plain, 0, {0, 0, 0, 0}, none},
        {"the order or the signs left out, or the right stick's Z and R taken the wrong way", Reading(0, 65535, Centre, 0, 65535), FourAxes, With([](Generale::Mappa& m) { m.ordineXY = m.ordineZR = false, m.segni = {-1, 1, 1, -1}; }), 0, {0, 1, -1, -1}, none},
        {"the right stick's across taken from Z", Reading(0, Centre, Centre, Centre, 65535), FourAxes, plain, 0, {0, 0, 1, 0}, none},
        {"the device's own range ignored", Reading(0, 200, 128), {.wXmin = 100, .wXmax = 200, .wYmax = 255}, plain, 0, {1, 0, 0, 0}, none},
        {"the chord's buttons act while it is held", Reading(3), FourAxes, plain, 3, {}, none},
        {"a button the chord covers only in part is held back", Reading(3 | 16), FourAxes, plain, 3, {}, "00000000010000"},
        {"a code of 0 goes down at the first reading", Reading(0), FourAxes, With([](Generale::Mappa& m) { m.codici[4] = 0; }), 0, {}, none},
        {"the cross shown without the map's positions", Reading(0, Centre, Centre, Centre, Centre, 0), FourAxes, With([](Generale::Mappa& m) { m.posizioni[1] = 3; }), 0, {}, none, 3},
    };
    // clang-format on
    for (const Row& row : rows) {
        const Generale::Significato s = Generale::Interpreta(row.reading, row.caps, row.map, row.chord);
        EXPECT_EQ(s.leve, row.sticks) << row.mistake;
        EXPECT_EQ(s.Attivi().to_string(), row.active) << row.mistake;
        EXPECT_EQ(s.croce, row.cross) << row.mistake;
    }
    // The picture lights what the output holds back: the chord's own buttons and a code of 0.
    EXPECT_EQ(Generale::Interpreta(Reading(3), FourAxes, plain, 3).accesi.to_string(), "00000000000011");
    EXPECT_TRUE(
        Generale::Interpreta(Reading(0), FourAxes, With([](Generale::Mappa& m) { m.codici[4] = 0; }), 0)
            .accesi.test(4));
}

}  // namespace
