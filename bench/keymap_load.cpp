// CaricaMappa over a full Corvane.ini: every key of every section, with commands and comments.
// Target: under 200 µs per load (it runs at start and on a double-click on the logo).
#include "keymap/Generale.h"
#include "platform/ProgramDirectory.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QByteArray FullIni() {
    QByteArray ini = "; Corvane Demo: key and axis map\r\n; code [command]\r\n[Tasti]\r\n";
    for (int i = 0; i < Generale::NumTasti; ++i) {
        ini += QByteArray::number(i) + " = " + QByteArray::number(1 << i);
        if (i % 2 == 0) {
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

}  // namespace

BENCHMARK_MAIN();
