// SPDX-License-Identifier: MIT
#include "model/MonteCarlo.h"

#include "model/Parallel.h"
#include "model/Run.h"
#include "sim/NumberText.h"

#include <tbb/info.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace yawmark::model {

namespace {

// Draws between two calls of the progress function.
constexpr std::uint64_t kChunk = 256;

struct OutcomeInfo {
    std::string_view key, unit;
    double Outcome::*value;
};
constexpr OutcomeInfo kOutcomes[kOutcomeCount] = {{"rest_x", "m", &Outcome::restX},
                                                  {"rest_y", "m", &Outcome::restY},
                                                  {"distance", "m", &Outcome::distance},
                                                  {"turned", "deg", &Outcome::turned},
                                                  {"time", "s", &Outcome::time}};

std::vector<int> variedBoxes(const Spreads& spreads) {
    std::vector<int> varied;
    for (int i = 0; i < kBoxCount; ++i)
        if (spreads[i]) varied.push_back(i);
    return varied;
}

// The boxes of draw `index`: each varied box shows its drawn value, in the
// shortest text that reads back to it.
BoxTexts drawnTexts(const BoxTexts& texts, const Spreads& spreads, const std::vector<int>& varied,
                    std::uint64_t seed, std::uint64_t index, std::vector<double>* inputs) {
    BoxTexts t = texts;
    DrawStream stream(seed, index);
    for (int box : varied) {
        const double v = drawValue(*spreads[box], stream);
        t.text[box] = exactNumber(v);
        if (inputs) inputs->push_back(v);
    }
    return t;
}

// A run of the case to rest, kept as nothing but what it comes to.
DrawResult runDraw(const BoxTexts& texts, AutoCalculate autos, InertiaForm form,
                   const Spreads& spreads, const std::vector<int>& varied,
                   const MonteCarloSettings& settings, std::uint64_t index) {
    DrawResult d;
    d.inputs.reserve(varied.size());
    const auto prepared = prepareDraw(
        drawnTexts(texts, spreads, varied, settings.seed, index, &d.inputs), autos, form);
    if (const auto* problem = std::get_if<BoxProblem>(&prepared)) {
        d.problem = boxMessage(*problem, form);
        return d;
    }
    Run run;
    run.setRecording(false);
    run.start(std::get<Prepared>(prepared).c);
    const double heading = run.body().heading;
    double distance = 0;
    for (std::uint64_t pass = 1; pass <= settings.maxPasses; ++pass) {
        const sim::Vec2 before = run.body().position;
        if (!run.pass(nullptr, false)) {
            d.problem = "the run stopped at pass " + std::to_string(pass) +
                        ": its numbers would no longer be finite.";
            return d;
        }
        distance += length(run.body().position - before);
        if (run.phase() != Phase::Running) {
            const sim::Body& b = run.body();
            // Headings turn counter-clockwise; the outcome counts clockwise.
            d.outcome = Outcome{b.position.x, b.position.y, distance,
                                (heading - b.heading) * (180 / std::numbers::pi), b.time};
            return d;
        }
    }
    d.problem =
        "the car had not come to rest after " + std::to_string(settings.maxPasses) + " passes.";
    return d;
}

} // namespace

std::string_view outcomeKey(int i) {
    return kOutcomes[i].key;
}

std::string_view outcomeUnit(int i) {
    return kOutcomes[i].unit;
}

double outcomeValue(const Outcome& o, int i) {
    return o.*kOutcomes[i].value;
}

std::uint64_t MonteCarloResult::refused() const {
    return static_cast<std::uint64_t>(
        std::count_if(draws.begin(), draws.end(), [](const DrawResult& d) { return !d.outcome; }));
}

std::optional<std::string> monteCarloProblem(const BoxTexts& texts, AutoCalculate autos,
                                             InertiaForm form, const Spreads& spreads,
                                             const MonteCarloSettings& settings) {
    const auto prepared = prepareDraw(texts, autos, form);
    if (const auto* problem = std::get_if<BoxProblem>(&prepared)) return boxMessage(*problem, form);
    for (int box : variedBoxes(spreads)) {
        if (auto problem = checkSpread(box, *spreads[box])) return boxMessage(*problem, form);
        // A Calculate would write over the drawn value: the spread would vary nothing.
        const bool normal = box == kRelativeDirectionBox || box == kYawRateBox;
        if ((autos.normal && normal) || (autos.inertia && box == kInertiaBox))
            return boxMessage({box, std::string("is calculated by \"Auto Calculate\", which "
                                                "would replace every drawn value: untick it to "
                                                "vary the box.")},
                              form);
    }
    if (variedBoxes(spreads).empty()) return "no box has a spread: there is nothing to vary.";
    if (settings.draws == 0 || settings.draws > kMaxDraws)
        return "the number of draws must be from 1 to " + std::to_string(kMaxDraws) + ", not " +
               std::to_string(settings.draws) + ".";
    return std::nullopt;
}

MonteCarloResult runMonteCarlo(const BoxTexts& texts, AutoCalculate autos, InertiaForm form,
                               const Spreads& spreads, const MonteCarloSettings& settings,
                               const MonteCarloProgress& progress) {
    MonteCarloResult result;
    result.varied = variedBoxes(spreads);
    result.draws.resize(settings.draws);
    tbb::task_arena arena(settings.threads > 0 ? settings.threads
                                               : tbb::info::default_concurrency());
    // Each draw depends on its index alone and goes into its own place.
    std::uint64_t done = 0;
    const bool finished = detail::inChunks(
        arena, settings.draws, kChunk,
        [&](std::uint64_t drawn) {
            done = drawn;
            const double share = static_cast<double>(drawn) / static_cast<double>(settings.draws);
            return !progress || progress(share) || drawn == settings.draws;
        },
        [&](std::uint64_t k) {
            result.draws[k] =
                runDraw(texts, autos, form, spreads, result.varied, settings, settings.first + k);
        });
    if (!finished) {
        result.draws.resize(done);
        result.cancelled = true;
    }
    return result;
}

Checked<Case> drawnCase(const BoxTexts& texts, AutoCalculate autos, InertiaForm form,
                        const Spreads& spreads, std::uint64_t seed, std::uint64_t index) {
    const auto prepared = prepareDraw(
        drawnTexts(texts, spreads, variedBoxes(spreads), seed, index, nullptr), autos, form);
    if (const auto* problem = std::get_if<BoxProblem>(&prepared)) return *problem;
    return std::get<Prepared>(prepared).c;
}

// Linear interpolation between the order statistics x(1) <= ... <= x(n): the
// point p lies at h = (n - 1)·p + 1 (Hyndman and Fan's type 7, the default
// of R and NumPy), so p = 0 and 1 are the least and greatest values.
Percentiles percentiles(std::vector<double> values) {
    Percentiles r;
    const std::size_t n = values.size();
    if (n == 0) return r;
    std::sort(values.begin(), values.end());
    const auto at = [&](double p) {
        const double h = static_cast<double>(n - 1) * p;
        const auto i = static_cast<std::size_t>(h);
        if (i + 1 >= n) return values[n - 1];
        return values[i] + (h - static_cast<double>(i)) * (values[i + 1] - values[i]);
    };
    r.p2_5 = at(0.025);
    r.p50 = at(0.5);
    r.p97_5 = at(0.975);
    r.mean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(n);
    double squares = 0;
    for (double v : values)
        squares += (v - r.mean) * (v - r.mean);
    r.sd = n > 1 ? std::sqrt(squares / static_cast<double>(n - 1)) : 0; // the sample's (n - 1)
    return r;
}

std::array<Percentiles, kOutcomeCount> summarise(const MonteCarloResult& result) {
    std::array<Percentiles, kOutcomeCount> table;
    for (int i = 0; i < kOutcomeCount; ++i) {
        std::vector<double> values;
        values.reserve(result.draws.size());
        for (const DrawResult& d : result.draws)
            if (d.outcome) values.push_back(outcomeValue(*d.outcome, i));
        table[i] = percentiles(std::move(values));
    }
    return table;
}

std::vector<sim::Vec2> region95(const std::vector<sim::Vec2>& all) {
    std::vector<sim::Vec2> points;
    for (sim::Vec2 p : all)
        if (isFinite(p)) points.push_back(p);
    const std::size_t n = points.size();
    if (n < 3) return {};
    sim::Vec2 mean;
    for (sim::Vec2 p : points)
        mean = mean + (1.0 / static_cast<double>(n)) * p;
    double xx = 0, xy = 0, yy = 0;
    for (sim::Vec2 p : points) {
        const sim::Vec2 d = p - mean;
        xx += d.x * d.x, xy += d.x * d.y, yy += d.y * d.y;
    }
    // A cloud on a line (or a point) has a covariance with no inverse: a
    // ridge of a billionth of its spread makes one and keeps its shape.
    const double ridge = std::max((xx + yy) * 1e-9, 1e-300);
    xx += ridge, yy += ridge;
    const double det = xx * yy - xy * xy;
    std::vector<std::pair<double, std::size_t>> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        const sim::Vec2 d = points[i] - mean;
        const double d2 = (yy * d.x * d.x - 2 * xy * d.x * d.y + xx * d.y * d.y) / det;
        order[i] = {std::isfinite(d2) ? d2 : HUGE_VAL, i};
    }
    std::sort(order.begin(), order.end());
    const auto keep = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(n)));
    std::vector<sim::Vec2> kept;
    for (std::size_t i = 0; i < keep; ++i)
        kept.push_back(points[order[i].second]);
    // Andrew's monotone chain: the hull counter-clockwise, each corner once.
    std::sort(kept.begin(), kept.end(),
              [](sim::Vec2 a, sim::Vec2 b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    if (kept.size() < 3) return kept;
    std::vector<sim::Vec2> hull(2 * kept.size());
    std::size_t k = 0;
    for (int pass = 0; pass < 2; ++pass) {
        const std::size_t base = k;
        for (std::size_t j = 0; j < kept.size(); ++j) {
            const sim::Vec2 p = pass == 0 ? kept[j] : kept[kept.size() - 1 - j];
            while (k >= base + 2 && cross(hull[k - 1] - hull[k - 2], p - hull[k - 2]) <= 0)
                --k;
            hull[k++] = p;
        }
        --k; // each chain's last point begins the other
    }
    hull.resize(k);
    return hull;
}

} // namespace yawmark::model
