// CaricaMappa over a full Corvane.ini: every key of every section, with commands and comments.
// Target: under 200 µs per load (it runs at start and on a double-click on the logo).
// A profile switch between two full profiles, each with 14 commands and a chord: the load, the choice
// remembered in corvane.conf and the notice's text; and a switch by the window in front. Target: well
// within one 25 ms poll.
#include "keymap/Generale.h"
#include "platform/ProgramDirectory.h"
#include "platform/desktop/MapFile.h"
#include "profiles/ProfileSet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray FullIni(bool everyCommand = false) {
    QByteArray ini = "; Corvane Demo: key and axis map\r\n; code [command]\r\n[Tasti]\r\n";
    for (int i = 0; i < Generale::NumTasti; ++i) {
        ini += QByteArray::number(i) + " = " + QByteArray::number(1 << i);
        if (everyCommand || i % 2 == 0) {
            ini += " [xdg-open https://example.org/tasto/" + QByteArray::number(i) + "]";
        }
        ini += "\r\n";
    }
    ini += "\r\n; direction-pad code = cross element\r\n[X-Y Digitale]\r\n";
    for (int d = 0; d < Generale::NumPosizioni; ++d) {
        ini += QByteArray::number(d) + "=" + QByteArray::number((d * 3) % 9) + "\r\n";
    }
    ini += "\r\n[X-Y Analogico]\r\nXY=1\r\nX=1\r\nY=-1\r\n\r\n[Z-R Analogico]\r\nZR=0\r\nZ=1\r\nR=-1\r\n";
    return ini;
}

// Full profiles in config's profili folder, each with its own [Profili] line; the folder becomes the
// user's configuration.
bool WriteProfiles(const QTemporaryDir& config, const std::vector<std::pair<QString, QByteArray>>& profiles) {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QDir().mkpath(ProfileStore::Directory());
    for (const auto& [name, line] : profiles) {
        QFile file(ProfileStore::PathOf(name));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(FullIni(true) + "[Profili]\r\n" + line + "\r\n") < 0) {
            return false;
        }
    }
    return true;
}

void BM_CaricaMappa(benchmark::State& state) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Corvane.ini")));
    if (!file.open(QIODevice::WriteOnly) || file.write(FullIni()) < 0) {
        state.SkipWithError("cannot write Corvane.ini");
        return;
    }
    file.close();
    platform::SetProgramDirectory(dir.path());
    for (auto _ : state) {
        Generale::CaricaMappa();
    }
    if (Generale::ComandoTasto[0].isEmpty()) {
        state.SkipWithError("the map was not read from the file");
    }
    platform::SetProgramDirectory(QString());
}
BENCHMARK(BM_CaricaMappa)->Unit(benchmark::kMicrosecond);

void BM_ProfileSwitch(benchmark::State& state) {
    QTemporaryDir config;
    if (!WriteProfiles(config, {{u"Film"_s, "Successivo=320"}, {u"Gioco"_s, "Successivo=320"}})) {
        state.SkipWithError("cannot write a profile");
        return;
    }
    ProfileSet profiles;
    for (auto _ : state) {
        profiles.Switch(profiles.Active() == QStringLiteral("Film") ? QStringLiteral("Gioco")
                                                                    : QStringLiteral("Film"));
    }
    if (Generale::ComandoTasto[13].isEmpty() || Generale::CodiceSuccessivo != 320) {
        state.SkipWithError("the profile was not read from its file");
    }
    platform::SetMapFile(QString());
}
BENCHMARK(BM_ProfileSwitch)->Unit(benchmark::kMicrosecond);

// The window in front going back and forth between a window that Film lists and one no profile lists,
// among 20 profiles: the listing, the lists (read once), the load; nothing is written.
void BM_WindowSwitch(benchmark::State& state) {
    QTemporaryDir config;
    std::vector<std::pair<QString, QByteArray>> profiles20{{u"Film"_s, "Finestre=mpv"}};
    for (int i = 1; i < 20; ++i) {
        profiles20.emplace_back(u"Altro%1"_s.arg(i), "Finestre=kodi");
    }
    if (!WriteProfiles(config, profiles20)) {
        state.SkipWithError("cannot write a profile");
        return;
    }
    platform::SetProgramDirectory(config.path());  // the default's search, without Corvane.ini there
    ProfileSet profiles;
    const QStringList mpv{QStringLiteral("mpv"), QStringLiteral("Mpv")};
    const QStringList other{QStringLiteral("xterm"), QStringLiteral("XTerm")};
    for (auto _ : state) {
        profiles.FollowWindow(profiles.Active().isEmpty() ? mpv : other);
    }
    profiles.FollowWindow(mpv);
    if (profiles.Active() != QStringLiteral("Film") || Generale::ComandoTasto[13].isEmpty()) {
        state.SkipWithError("the window's profile was not put in force");
    }
    platform::SetMapFile(QString());
    platform::SetProgramDirectory(QString());
}
BENCHMARK(BM_WindowSwitch)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
