// SPDX-License-Identifier: MIT
// The cost of one pass of the default skid (geometry, forces, update), and of
// a whole batch run of 1000 passes.
#include "cli/BatchRunner.h"
#include "model/Boxes.h"
#include "sim/Step.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

using namespace yawmark;

// One step while the car is still skidding: the default skid comes to rest
// after about 350 passes, so each iteration restarts it every 200.
void BM_Step(benchmark::State& state) {
    model::BoxTexts t;
    const model::Case start = model::startupCase();
    model::writeBoxes(start, t, true);
    const auto prepared = model::prepareDraw(t, {}, model::InertiaForm::Moment);
    const model::Case& c = std::get<model::Prepared>(prepared).c;
    sim::Body body = c.launch.body();
    int n = 0;
    for (auto _ : state) {
        if (++n == 200) {
            body = c.launch.body();
            n = 0;
        }
        const sim::StepResult r = sim::step(c.car, body, c.run.timeStep);
        body = r.body;
        benchmark::DoNotOptimize(body);
    }
}
BENCHMARK(BM_Step);

// The same through the run's pass (snapshot rule, placing the wheels, no drawer).
void BM_RunPass(benchmark::State& state) {
    BatchOptions options;
    BatchSkid skid;
    prepareBatchSkid(options, skid);
    model::Run run = skid.run;
    int n = 0;
    for (auto _ : state) {
        if (++n == 200) {
            run = skid.run;
            n = 0;
        }
        benchmark::DoNotOptimize(run.pass(nullptr, false));
    }
}
BENCHMARK(BM_RunPass);

void BM_Batch1000(benchmark::State& state) {
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(runBatch({"--passes", "1000"}, out, err));
    }
}
BENCHMARK(BM_Batch1000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
