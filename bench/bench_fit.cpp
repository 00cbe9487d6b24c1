// SPDX-License-Identifier: MIT
// The fit to tyre marks: the default car pulled at 25 m/s, both rear marks
// surveyed every 0.5 m with 5 cm of scatter from the pull to rest, fitted for
// the speed alone and for every launch quantity. The counters give the
// simulations a fit ran and how far its speed lies from the truth.
#include "model/Fit.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

using namespace yawmark;

model::Case skid() {
    model::Case c = model::startupCase();
    c.launch.velocity = {0, 25};
    c.launch.yawRate = sim::normalYawRate(c.car.steering, c.car.turnRadius, c.launch.velocity);
    c.run.timeStep = 0.001;
    return c;
}

void fit(benchmark::State& state, model::Unknowns unknowns) {
    const model::Case truth = skid();
    auto marks = model::runMarks(truth);
    std::mt19937 dice(11);
    std::normal_distribution<double> scatter(0, 0.05);
    for (auto& m : marks)
        for (auto& p : m.points)
            p = p + sim::Vec2{scatter(dice), scatter(dice)};
    model::Case asked = truth;
    asked.launch.velocity = {0, 18};
    model::FitResult r;
    for (auto _ : state)
        benchmark::DoNotOptimize(r = model::fitMarks(asked, marks, {unknowns, 0.05, true}));
    state.counters["simulations"] = r.simulations;
    state.counters["speed_error"] = r.accepted() ? *r.estimates[0].value - 25 : 1e9;
    state.counters["rms_cm"] = r.rms * 100;
}

void BM_FitSpeed(benchmark::State& state) {
    fit(state, model::Unknowns::Speed);
}
void BM_FitSpeedYaw(benchmark::State& state) {
    fit(state, model::Unknowns::SpeedYaw);
}
void BM_FitAll(benchmark::State& state) {
    fit(state, model::Unknowns::All);
}

BENCHMARK(BM_FitSpeed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitSpeedYaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitAll)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
