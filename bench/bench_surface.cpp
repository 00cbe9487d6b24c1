// SPDX-License-Identifier: MIT
// One pass of a run as the window draws it: five trail points, the car's
// outline (four lines, five dots, screen-only, then persistent again) and a yield to
// the event loop, on a plot widget shown offscreen.
#include "bench/QtBenchmarkMain.h"
#include "gui/PlotWidget.h"
#include "plot/Renderer.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace yawmark;

namespace {

void BM_DrawPassAndYield(benchmark::State& state) {
    PlotWidget widget;
    widget.resize(800, 600);
    widget.show();
    QCoreApplication::processEvents();

    plot::View view;
    view.joined[3] = true; // one trail as lines, the others as dots
    plot::Renderer renderer(widget.surface(), view);
    renderer.drawAxes(widget.frame());
    renderer.beginPasses({0, 0});

    sim::WheelPlacement wheels{{}, {{{-0.8, 1.3}, {0.8, 1.3}, {0.8, -1.3}, {-0.8, -1.3}}}};
    sim::Body body;
    long long pass = 0;
    for (auto _ : state) {
        // A car sliding along a gentle curve; a snapshot every 5000 passes.
        const double t = static_cast<double>(pass) * 1e-4;
        body.position = {-5 + 10 * std::sin(t), 20 * t - 10 * std::floor(t)};
        renderer.drawCar(body, wheels, pass % 5000 == 0);
        QCoreApplication::processEvents();
        ++pass;
    }
    renderer.endPasses();
    QCoreApplication::processEvents();
    state.SetItemsProcessed(state.iterations());
    state.counters["passes/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawPassAndYield)->Iterations(100000)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

YAWMARK_QT_BENCHMARK_MAIN()
