// One pass of a run as the window draws it: five trail points, the car's
// outline (four lines, five dots, AutoRedraw off and on again) and a yield to
// the event loop, on a plot widget shown offscreen.
#include "bench/QtBenchmarkMain.h"
#include "plot/Axes.h"
#include "plot/Outline.h"
#include "gui/PlotWidget.h"
#include "plot/Trails.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace yawmark;

namespace {

void BM_DrawPassAndYield(benchmark::State& state) {
    PlotWidget widget;
    widget.resize(800, 600);
    widget.show();
    QCoreApplication::processEvents();

    Params p;
    p.xMin = -20, p.xMax = 7.5, p.yMin = -15, p.yMax = 35;
    p.xInterval = p.yInterval = 4;
    p.pointColor = kPointColor;
    p.pixelSize = 1;
    p.connectPixels[RR] = true; // one trail as lines, the others as dots
    Surface& surface = widget.surface();
    DrawScale(surface, p);
    surface.setDrawWidth(roundedPixelSize(p.pixelSize));

    RunState run;
    run.corner[FL] = {-0.8, 1.3};
    run.corner[FR] = {0.8, 1.3};
    run.corner[RR] = {0.8, -1.3};
    run.corner[RL] = {-0.8, -1.3};
    TrailMemory memory;
    long long pass = 0;
    for (auto _ : state) {
        // A car sliding along a gentle curve; a snapshot every 5000 passes.
        const double t = static_cast<double>(pass) * 1e-4;
        run.cmX = -5 + 10 * std::sin(t);
        run.cmY = 20 * t - 10 * std::floor(t);
        run.snapDone = pass % 5000 != 0;
        DrawLocus(surface, p, run, memory);
        DrawBox(surface, p, run);
        QCoreApplication::processEvents();
        ++pass;
    }
    surface.flush();
    QCoreApplication::processEvents();
    state.SetItemsProcessed(state.iterations());
    state.counters["passes/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawPassAndYield)->Iterations(100000)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

YAWMARK_QT_BENCHMARK_MAIN()
