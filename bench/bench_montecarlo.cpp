// SPDX-License-Identifier: MIT
// Forward Monte Carlo: 10,000 draws of the start-up case (10 ms interval),
// its friction that of dry asphalt (normal 0.76 ± 0.06), the mass with its
// load (normal 1139 ± 25 kg), the weight on the rear (triangular 55, 58.8,
// 62 %) and the speed (normal 20 ± 1 m/s), on 1 and on 2 threads.
#include "model/MonteCarlo.h"

#include <benchmark/benchmark.h>

namespace {

using namespace yawmark::model;

void BM_MonteCarlo(benchmark::State& state) {
    BoxTexts texts;
    writeBoxes(startupCase(), texts, true);
    Spreads spreads;
    spreads[kFrictionBox] = Spread{Shape::Normal, 0.76, 0.06};
    spreads[kMassBox] = Spread{Shape::Normal, 1139, 25};
    spreads[kDistributionBox] = Spread{Shape::Triangular, 55, 58.8, 62};
    spreads[kSpeedBox] = Spread{Shape::Normal, 20, 1};
    MonteCarloSettings settings;
    settings.draws = 10000;
    settings.threads = static_cast<int>(state.range(0));
    MonteCarloResult r;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            r = runMonteCarlo(texts, {}, InertiaForm::Moment, spreads, settings));
    state.counters["refused"] = static_cast<double>(r.refused());
    state.counters["distance_p50"] = summarise(r)[2].p50;
}

BENCHMARK(BM_MonteCarlo)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
