// Building the main window with all its pictures, offscreen. Targets: under 60 ms per window, and
// under 4 MB of decoded pictures.
#include "mainwindow/MainForm.h"
#include "platform/QtShell.h"
#include "platform/input/JoystickDriver.h"

#include <QLabel>
#include <QPixmapCache>
#include <QSet>
#include <benchmark/benchmark.h>

namespace {

// Decoded size of the distinct pictures the window shows: the memory they keep resident.
double PictureBytes(const MainForm& form) {
    QSet<qint64> seen;
    double bytes = 0;
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        const QPixmap picture = label->pixmap();
        if (!picture.isNull() && !seen.contains(picture.cacheKey())) {
            seen.insert(picture.cacheKey());
            bytes += double(picture.width()) * picture.height() * picture.depth() / 8;
        }
    }
    return bytes;
}

// Every window decodes its pictures afresh (the pixmap cache is emptied outside the timing).
void BM_MainFormConstructionDecodingPictures(benchmark::State& state) {
    platform::QtShell shell;
    const auto driver = platform::MakeSdlJoystickDriver();
    double pictures = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QPixmapCache::clear();
        state.ResumeTiming();
        MainForm form(driver, shell);
        state.PauseTiming();
        pictures = PictureBytes(form);
        state.ResumeTiming();
    }
    state.counters["picture_MB"] = pictures / (1024 * 1024);
}
BENCHMARK(BM_MainFormConstructionDecodingPictures)->Unit(benchmark::kMillisecond);

// Later windows find the pictures in the pixmap cache.
void BM_MainFormConstruction(benchmark::State& state) {
    platform::QtShell shell;
    const auto driver = platform::MakeSdlJoystickDriver();
    for (auto _ : state) {
        MainForm form(driver, shell);
        benchmark::DoNotOptimize(&form);
    }
}
BENCHMARK(BM_MainFormConstruction)->Unit(benchmark::kMillisecond);

}  // namespace
