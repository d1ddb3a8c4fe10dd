// Acquisition against a scripted driver with two pads, each acting through its own profile on one
// recording keyboard.
#include "session/Acquisizione.h"
#include "joystick/cJoy.h"
#include "platform/desktop/Settings.h"
#include "profiles/ProfileSet.h"
#include "support/FakeJoystickDriver.h"
#include "support/RecordingOutputDevice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

void WriteProfile(const QString& name, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(ProfileStore::Directory()));
    QFile file(ProfileStore::PathOf(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

TEST(Acquisizione, EveryPadActsThroughItsOwnProfileAndLetsGoOfOnlyWhatItHolds) {
    WriteProfile(QStringLiteral("Due"), "[Uscita]\n0=A\n1=B\n[Tasti]\n2=4 [comando-due]\n");
    WriteProfile(QStringLiteral("Uno"),
                 "[Uscita]\n1=D\nLevaSinistra=puntatore\nZonaMorta=20\nSogliaGrilletti=30\n");
    const auto driver = std::make_shared<FakeJoystickDriver>();
    driver->Answering(0);
    driver->Answering(1);
    const platform::AttachedDevice padB{1, QStringLiteral("Pad B"), QStringLiteral("b"),
                                        QStringLiteral("p1")};
    driver->attached = {{0, QStringLiteral("Pad A"), QStringLiteral("a"), QStringLiteral("p0")}, padB};
    ASSERT_TRUE(platform::WritePadProfile(padB.guid, padB.port, QStringLiteral("Due")));
    const auto log = std::make_shared<Log>();
    session::Acquisizione acquisizione(driver, [log] {
        return platform::OpenedOutput{
            std::make_unique<RecordingOutputDevice>(log), platform::OutputRoute::XTest, {}};
    });
    acquisizione.Monitora(std::make_shared<cJoy>(driver));
    QSignalSpy unsendable(&acquisizione, &session::Acquisizione::Unsendable);
    acquisizione.MappaMostrata({}, "[Uscita]\n0=A\n1=C\n3=MICMUTE\n");  // the pad shown: the map in force
    QSignalSpy comandi(&acquisizione, &session::Acquisizione::Comando);
    ASSERT_TRUE(acquisizione.Avvia({}));
    ASSERT_EQ(unsendable.count(), 1);  // once: X has no code for MICMUTE
    EXPECT_TRUE(unsendable.front().front().toString().contains(u"MICMUTE"));
    const auto press = [&](uint32_t slot, uint32_t buttons) {
        platform::JOYINFOEX info = driver->scripted[slot].reading;
        info.dwButtons = buttons;
        driver->changeListener(slot, platform::JOYERR_NOERROR, info);
    };
    const auto take = [&] { return std::exchange(*log, {}); };

    press(0, 1);
    press(1, 1);  // A, held by both
    press(1, 1 | 2 | 4);
    press(0, 1 | 2);
    EXPECT_EQ(take(), (Log{"KEY_A down", "KEY_B down", "KEY_C down"}));
    driver->changeListener(1, platform::JOYERR_UNPLUGGED, {});
    EXPECT_EQ(take(), (Log{"KEY_B up"}));  // A stays: the shown pad holds it
    press(0, 0);
    EXPECT_EQ(take(), (Log{"KEY_A up", "KEY_C up"}));
    QCoreApplication::processEvents();
    ASSERT_EQ(comandi.count(), 1);  // pad B's own command; the shown pad's are the window's
    EXPECT_EQ(comandi.front().front().toString(), QStringLiteral("comando-due"));

    press(1, 0);  // plugged back: read by its remembered profile once acquisition has seen it
    QCoreApplication::processEvents();
    press(1, 1);
    press(0, 1);
    EXPECT_EQ(take(), (Log{"KEY_A down"}));
    EXPECT_EQ(driver->axisInterest[1], std::nullopt);  // no stick output: its sticks wake nothing
    EXPECT_TRUE(acquisizione.ScegliProfilo(1, QStringLiteral("Uno")));  // lets go of B's A alone
    EXPECT_EQ(std::pair(driver->axisInterest[1], driver->triggerThreshold[1]),
              std::pair(std::optional(20), 30));  // the pointer's: past its dead zone
    press(1, 2);
    EXPECT_EQ(take(), (Log{"KEY_D down"}));
    EXPECT_EQ(session::Acquisizione::ProfiloRicordato(padB), QStringLiteral("Uno"));
    // A window that a profile lists puts that profile on the pad for as long as it is in front.
    WriteProfile(QStringLiteral("Gioco"), "[Profili]\nFinestre=gioco\n[Uscita]\n1=G\n");
    acquisizione.SeguiFinestra({QStringLiteral("Gioco")});
    press(1, 0);
    press(1, 2);
    acquisizione.SeguiFinestra({QStringLiteral("altro")});
    EXPECT_EQ(take(), (Log{"KEY_D up", "KEY_G down", "KEY_G up"}));
    EXPECT_EQ(session::Acquisizione::ProfiloRicordato(padB), QStringLiteral("Uno"));
    std::vector<QString> profiles;
    for (const session::Pad& pad : acquisizione.Pads()) {
        profiles.push_back(pad.profilo);
    }
    EXPECT_EQ(profiles, (std::vector<QString>{QString(), QStringLiteral("Uno")}));
    acquisizione.SetPaused(
        true);  // a window of the program in front: every pad lets go, its sticks wake nothing
    EXPECT_EQ(take(), (Log{"KEY_A up"}));
    EXPECT_EQ(driver->axisInterest[1], std::nullopt);
    acquisizione.SetPaused(false);
    press(0, 0);
    press(0, 1);
    acquisizione.Ferma();
    EXPECT_EQ(take(), (Log{"KEY_A down", "KEY_A up"}));  // a stop lets go at once
}

}  // namespace
