// SPDX-License-Identifier: MIT
// The fit to tyre marks: the default car pulled at 25 m/s, both rear marks
// surveyed every 0.5 m with 5 cm of scatter from the pull to rest, fitted for
// the speed alone and for every launch quantity; and the same marks surveyed
// 100,000 times along their length, fitted for the speed. The counters give
// the simulations a fit ran and how far its speed lies from the truth.
#include "model/Fit.h"
#include "model/FitUncertainty.h"

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

// The marks of the skid with `points` points in all (as many as runMarks
// leaves, or more, spread evenly between its points), each scattered by 5 cm.
std::vector<model::Mark> survey(const model::Case& truth, std::size_t points) {
    auto marks = model::runMarks(truth);
    std::mt19937 dice(11);
    std::normal_distribution<double> scatter(0, 0.05);
    const std::size_t each = points / marks.size();
    for (auto& m : marks) {
        if (points > 0 && m.points.size() > 1) {
            std::vector<sim::Vec2> dense;
            const double per =
                static_cast<double>(m.points.size() - 1) / static_cast<double>(each - 1);
            for (std::size_t k = 0; k < each; ++k) {
                const double at = static_cast<double>(k) * per;
                const std::size_t i = std::min(static_cast<std::size_t>(at), m.points.size() - 2);
                dense.push_back(m.points[i] +
                                (at - static_cast<double>(i)) * (m.points[i + 1] - m.points[i]));
            }
            m.points = std::move(dense);
        }
        for (auto& p : m.points)
            p = p + sim::Vec2{scatter(dice), scatter(dice)};
    }
    return marks;
}

void fit(benchmark::State& state, model::Unknowns unknowns, std::size_t points = 0) {
    const model::Case truth = skid();
    const auto marks = survey(truth, points);
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
void BM_FitSpeed100k(benchmark::State& state) {
    fit(state, model::Unknowns::Speed, 100000);
}

// The interval over every stated uncertainty: 200 refits around the fit, the
// friction and the weight split drawn from spreads, on every core.
void draws(benchmark::State& state, model::Unknowns unknowns) {
    model::BoxTexts texts;
    model::writeBoxes(skid(), texts, true);
    texts.text[model::kSpeedBox] = "18";
    const auto prepared = model::prepareDraw(texts, {}, model::InertiaForm::Moment);
    const model::Case asked = std::get<model::Prepared>(prepared).c;
    const auto marks = survey(skid(), 0);
    const model::FitSettings settings{unknowns, 0.05, true};
    const model::FitResult best = model::fitMarks(asked, marks, settings);
    model::Spreads spreads{};
    spreads[model::kFrictionBox] = model::Spread{model::Shape::Normal, asked.car.friction, 0.045};
    spreads[model::kDistributionBox] = model::Spread{model::Shape::Uniform, 57.8, 59.8};
    model::FitDraws d;
    for (auto _ : state)
        benchmark::DoNotOptimize(d = model::fitDraws(texts, {}, model::InertiaForm::Moment, spreads,
                                                     marks, settings, best, {200, 1, 0}));
    state.counters["refused"] = static_cast<double>(d.refused);
    state.counters["width"] = d.ranges.empty() ? 0 : d.ranges[0].high - d.ranges[0].low;
}
void BM_FitDrawsSpeed(benchmark::State& state) {
    draws(state, model::Unknowns::Speed);
}
void BM_FitDrawsAll(benchmark::State& state) {
    draws(state, model::Unknowns::All);
}

BENCHMARK(BM_FitSpeed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitSpeedYaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitSpeed100k)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitDrawsSpeed)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FitDrawsAll)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
