// SPDX-License-Identifier: MIT
// A run of the default skid in the main window, offscreen, drawn on the
// plot's own image with a yield to the event queue every pass: how many
// passes per second, and how many passes still run after Pause is pressed.
#include "bench/QtBenchmarkMain.h"
#include "gui/MainWindow.h"

#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>

using namespace yawmark;

namespace {

// A shown main window with the start-up boxes.
struct Window {
    MainWindow w;
    Window() {
        w.setMessageHook([](QWidget*, const QString&, const QString&) {});
        w.show();
        QCoreApplication::processEvents();
    }
};

void BM_WindowRun(benchmark::State& state) {
    Window win;
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
    Window win;
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

} // namespace

YAWMARK_QT_BENCHMARK_MAIN()
