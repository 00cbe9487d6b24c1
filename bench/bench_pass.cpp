// The cost of one pass of the default skid (geometry, forces, update), and of
// a whole batch run of 1000 passes.
#include "cli/BatchRunner.h"
#include "model/DrawPreparation.h"
#include "model/FormLoad.h"
#include "sim/Forces.h"
#include "sim/Pass.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

using namespace yawmark;

// One pass while the car is still skidding: the default skid comes to rest
// after about 350 passes, so each iteration restarts it every 200.
void BM_RunPass(benchmark::State& state) {
    Params p;
    RunState start;
    BoxTexts t;
    formLoad(p, start, t);
    prepareDraw(t, p, start, {});
    placeAtStart(p, start);
    calcForce(p, start);
    RunState s = start;
    int n = 0;
    for (auto _ : state) {
        if (++n == 200) {
            s = start;
            n = 0;
        }
        benchmark::DoNotOptimize(runPass(p, s));
        benchmark::ClobberMemory();
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
