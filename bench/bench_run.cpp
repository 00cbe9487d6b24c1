// SPDX-License-Identifier: MIT
// A run of the default skid in the main window, offscreen, drawn on the
// plot's own image: how many passes per second (in passes of 0.01 ms, so that
// the car is still moving after 200,000 of them) without and with the charts
// following the run, and of a 40 m/s skid with
// View > Follow Run off and on, how long a click on Pause
// waits for the slice going on, and how many passes follow it, how long
// redrawing a record of 100,000 passes takes with the plot 1000 x 700 pixels,
// and showing one moment of it in a replay (the slider moved, the plot
// painted);
// how much of a core the window uses while nothing moves and during a
// real-time run.
#include "bench/QtBenchmarkMain.h"
#include "gui/MainWindow.h"
#include "gui/ParameterPanel.h"
#include "gui/PlotController.h"
#include "gui/PlotWidget.h"
#include "gui/ReplayController.h"
#include "gui/RunController.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
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
    RunController& runs = w.runs();
    explicit Window(const char* timeStepMs = "10") {
        w.setMessageHook([](QWidget*, const QString&, const QString&) {});
        w.panel()->txtInput(13)->setText(QString::fromLatin1(timeStepMs));
        w.show();
        QCoreApplication::processEvents();
    }
    // Draw, then the event loop until the run is no longer running.
    void drawAndWait() {
        QEventLoop loop;
        const auto done =
            QObject::connect(&runs, &RunController::phaseChanged, &loop, [&](model::Phase p) {
                if (p != model::Phase::Running) loop.quit();
            });
        w.draw();
        if (runs.phase() == model::Phase::Running) loop.exec();
        QObject::disconnect(done);
    }
};

void BM_WindowRun(benchmark::State& state) {
    Window win("0.01");
    // The second argument 1: with View > Charts following the run.
    if (state.range(1)) {
        win.w.findChild<QAction*>("mnuCharts")->trigger();
        QCoreApplication::processEvents(); // shown and laid out before the runs
    }
    const auto passes = static_cast<std::uint64_t>(state.range(0));
    QObject::connect(&win.runs, &RunController::passed, [&](std::uint64_t pass) {
        if (pass == passes) win.runs.togglePause();
    });
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        win.drawAndWait();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        if (win.runs.passes() != passes) state.SkipWithError("the run did not stop where asked");
    }
    state.counters["passes/s"] =
        benchmark::Counter(static_cast<double>(passes) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WindowRun)->Args({200000, 0})->Args({200000, 1})->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// A click on Pause 20 ms into a run, as a timer event: how late it comes
// (the slice it waits for), and how many passes follow it.
void BM_PauseLatency(benchmark::State& state) {
    Window win("0.01");
    QPushButton* pause = win.w.findChild<QPushButton*>("cmdPause");
    std::uint64_t atPress = 0;
    QObject::connect(pause, &QPushButton::pressed, [&] { atPress = win.runs.passes(); });
    double worstMs = 0;
    std::uint64_t worstPasses = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        QTimer::singleShot(20, Qt::PreciseTimer, pause, [&] {
            worstMs = std::max(worstMs, static_cast<double>(clock.nsecsElapsed()) / 1e6 - 20);
            pause->click();
        });
        clock.start();
        win.drawAndWait();
        worstPasses = std::max(worstPasses, win.runs.passes() - atPress);
    }
    state.counters["Pause late by, ms (worst)"] = worstMs;
    state.counters["passes after Pause (worst)"] = static_cast<double>(worstPasses);
}
BENCHMARK(BM_PauseLatency)->Iterations(20)->Unit(benchmark::kMillisecond);

// A 40 m/s skid to rest (126 m, 68,900 passes of 0.1 ms) from the start-up
// view: with View > Follow Run (1), which grows the view as the car leaves it,
// against the same run without it in a view that holds the whole skid from
// the start (0), so that both draw every pass on the plot; and without it
// from the start-up view (2), where most passes fall off the plot and cost
// less to draw.
void BM_FollowRun(benchmark::State& state) {
    double passes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Window win("0.1");
        win.w.panel()->txtInput(6)->setText(QStringLiteral("40"));
        // A first run warms the window up and leaves the start-up view as it was.
        win.w.findChild<QAction*>("mnuFollow")->setChecked(false);
        win.drawAndWait();
        if (state.range(0) == 0) win.w.plotter().fitSkid();
        win.w.findChild<QAction*>("mnuFollow")->setChecked(state.range(0) == 1);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        win.drawAndWait();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        if (win.runs.phase() != model::Phase::AtRest) state.SkipWithError("no rest");
        passes += static_cast<double>(win.runs.passes());
    }
    state.counters["passes/s"] = benchmark::Counter(passes, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FollowRun)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_RedrawRecord(benchmark::State& state) {
    Window win("0.01");
    MainWindow& w = win.w;
    auto* plot = w.findChild<PlotWidget*>("plot");
    const QSize size(1000, 700);
    w.resize(w.size() + size - plot->size());
    QCoreApplication::processEvents();
    if (plot->size() != size) state.SkipWithError("the plot is not 1000 x 700");
    const auto passes = static_cast<std::uint64_t>(state.range(0));
    const auto stop = QObject::connect(&win.runs, &RunController::passed, [&](std::uint64_t pass) {
        if (pass == passes) win.runs.stop();
    });
    win.drawAndWait();
    QObject::disconnect(stop);
    if (win.runs.run().record().samples().size() != passes)
        state.SkipWithError("not the whole record");
    for (auto _ : state) {
        w.plotter().redraw();
        plot->surface().image(); // everything drawn
    }
}
BENCHMARK(BM_RedrawRecord)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ScrubRecord(benchmark::State& state) {
    Window win("0.01");
    MainWindow& w = win.w;
    auto* plot = w.findChild<PlotWidget*>("plot");
    w.resize(w.size() + QSize(1000, 700) - plot->size());
    QCoreApplication::processEvents();
    const auto passes = static_cast<std::uint64_t>(state.range(0));
    const auto stop = QObject::connect(&win.runs, &RunController::passed, [&](std::uint64_t pass) {
        if (pass == passes) win.runs.stop();
    });
    win.drawAndWait();
    QObject::disconnect(stop);
    w.replay().setActive(true);
    if (!w.replay().active()) state.SkipWithError("no replay");
    std::size_t at = 0;
    for (auto _ : state) {
        at = (at + 7919) % passes; // a prime stride: all over the record
        w.replay().seek(at);
        plot->repaint(); // painted now, as the slider's drag would see it
    }
}
BENCHMARK(BM_ScrubRecord)->Arg(100000)->Unit(benchmark::kMillisecond);

// Share of one core the window uses over two seconds of its event loop: idle
// after start-up (0), paused mid-run (1), after the default car came to rest
// (2), during a real-time run of the default skid (3).
void BM_CpuUse(benchmark::State& state) {
    const int what = static_cast<int>(state.range(0));
    Window win(what == 1 ? "0.001" : "10");
    MainWindow& w = win.w;
    w.panel()->chkRealTime()->setChecked(what == 3);
    if (what == 1) QTimer::singleShot(300, &win.runs, &RunController::togglePause);
    if (what == 1 || what == 2) win.drawAndWait(); // paused, or at rest
    for (auto _ : state) {
        const std::clock_t cpu = std::clock();
        const auto start = std::chrono::steady_clock::now();
        QEventLoop loop;
        QTimer::singleShot(2000, &loop, [&] {
            const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
            state.counters["% of a core"] =
                100.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC / wall.count();
            if (what == 3 && win.runs.phase() != model::Phase::Running)
                state.SkipWithError("the real-time run ended too soon");
            win.runs.stop();
            loop.quit();
        });
        if (what == 3) QTimer::singleShot(0, &w, &MainWindow::draw);
        loop.exec();
    }
}
BENCHMARK(BM_CpuUse)->DenseRange(0, 3)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

YAWMARK_QT_BENCHMARK_MAIN()
