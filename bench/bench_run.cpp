// SPDX-License-Identifier: MIT
// A run of the default skid in the main window, offscreen, drawn on the
// plot's own image: how many passes per second (in passes of 0.01 ms, so that
// the car is still moving after 200,000 of them), how many passes still run
// after Pause is pressed, and how long redrawing a record of 100,000 passes
// takes with the plot 1000 x 700 pixels; how much of a core the window uses
// while nothing moves and during a real-time run.
#include "bench/QtBenchmarkMain.h"
#include "gui/MainWindow.h"
#include "gui/ParameterPanel.h"
#include "gui/PlotWidget.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

using namespace yawmark;

namespace {

// A shown main window with the start-up boxes.
struct Window {
    MainWindow w;
    explicit Window(const char* timeStepMs = "10") {
        w.setMessageHook([](QWidget*, const QString&, const QString&) {});
        w.panel()->txtInput(13)->setText(QString::fromLatin1(timeStepMs));
        w.show();
        QCoreApplication::processEvents();
    }
};

void BM_WindowRun(benchmark::State& state) {
    Window win("0.01");
    MainWindow& run = win.w;
    const auto passes = static_cast<std::uint64_t>(state.range(0));
    run.setPassHook([&](std::uint64_t pass) {
        if (pass == passes) run.togglePause();
    });
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        run.draw();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        if (run.passes() != passes) state.SkipWithError("the run did not stop where asked");
    }
    state.counters["passes/s"] =
        benchmark::Counter(static_cast<double>(passes) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WindowRun)->Arg(200000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PassesAfterPause(benchmark::State& state) {
    Window win("0.01");
    MainWindow& run = win.w;
    std::uint64_t atPress = 0;
    QObject::connect(win.w.cmdPause(), &QPushButton::pressed, [&] { atPress = run.passes(); });
    std::uint64_t worst = 0;
    for (auto _ : state) {
        // Pressed by a timer while the loop yields, like a click.
        QTimer::singleShot(20, win.w.cmdPause(), &QPushButton::click);
        run.draw();
        const std::uint64_t after = run.passes() - atPress;
        worst = std::max(worst, after);
    }
    state.counters["passes after Pause (worst)"] = static_cast<double>(worst);
}
BENCHMARK(BM_PassesAfterPause)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_RedrawRecord(benchmark::State& state) {
    Window win("0.01");
    MainWindow& w = win.w;
    const QSize plot(1000, 700);
    w.resize(w.size() + plot - w.plot()->size());
    QCoreApplication::processEvents();
    if (w.plot()->size() != plot) state.SkipWithError("the plot is not 1000 x 700");
    const auto passes = static_cast<std::uint64_t>(state.range(0));
    w.setPassHook([&](std::uint64_t pass) {
        if (pass == passes) w.stop();
    });
    w.draw();
    w.setPassHook({});
    if (w.run().record().samples().size() != passes) state.SkipWithError("not the whole record");
    for (auto _ : state) {
        w.redrawRun();
        w.plot()->surface().image(); // everything drawn
    }
}
BENCHMARK(BM_RedrawRecord)->Arg(100000)->Unit(benchmark::kMillisecond);

// Share of one core the window uses over two seconds of its event loop: idle
// after start-up (0), paused mid-run (1), after the default car came to rest
// (2), during a real-time run of the default skid (3).
void BM_CpuUse(benchmark::State& state) {
    const int what = static_cast<int>(state.range(0));
    Window win(what == 1 ? "0.001" : "10");
    MainWindow& w = win.w;
    w.panel()->chkRealTime()->setChecked(what == 3);
    if (what == 1) QTimer::singleShot(300, &w, &MainWindow::togglePause);
    if (what == 1 || what == 2) w.draw(); // returns when paused, or at rest
    for (auto _ : state) {
        const std::clock_t cpu = std::clock();
        const auto start = std::chrono::steady_clock::now();
        QEventLoop loop;
        QTimer::singleShot(2000, &loop, [&] {
            const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
            state.counters["% of a core"] =
                100.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC / wall.count();
            if (what == 3 && !w.running()) state.SkipWithError("the real-time run ended too soon");
            w.stop();
            loop.quit();
        });
        if (what == 3) QTimer::singleShot(0, &w, &MainWindow::draw);
        loop.exec();
    }
}
BENCHMARK(BM_CpuUse)->DenseRange(0, 3)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

YAWMARK_QT_BENCHMARK_MAIN()
