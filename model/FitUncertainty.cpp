// SPDX-License-Identifier: MIT
#include "model/FitUncertainty.h"

#include "model/FitDetail.h"
#include "model/MonteCarlo.h"
#include "model/Parallel.h"
#include "sim/NumberText.h"

#include <tbb/info.h>

#include <algorithm>
#include <cmath>

namespace yawmark::model {

using namespace detail;

namespace {

// Refits between two calls of the progress function.
constexpr std::uint64_t kChunk = 16;
// The survey's scatter comes from a stream of its own, apart from the boxes'.
constexpr std::uint64_t kSurveyStream = 0x5eed'5a77'e4ed'0001;

// Where along the polyline p (as a distance from its start) the point nearest q lies.
double placeAlong(const std::vector<sim::Vec2>& p, sim::Vec2 q) {
    double best = kInf, at = 0, along = 0;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        const sim::Vec2 d = p[i + 1] - p[i];
        const double dd = sim::dot(d, d), len = std::sqrt(dd);
        const double t = dd > 0 ? std::clamp(sim::dot(q - p[i], d) / dd, 0.0, 1.0) : 0;
        const double dist = sim::length(q - (p[i] + t * d));
        if (dist < best) best = dist, at = along + t * len;
        along += len;
    }
    return at;
}

// The point `s` metres along the polyline p, held at its ends.
sim::Vec2 pointAlong(const std::vector<sim::Vec2>& p, double s) {
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        const double len = sim::length(p[i + 1] - p[i]);
        if (s <= len) return len > 0 ? p[i] + (std::max(s, 0.0) / len) * (p[i + 1] - p[i]) : p[i];
        s -= len;
    }
    return p.back();
}

// The spreads the draws take: friction gets the fit's ± μ when it has none.
Spreads drawnSpreads(Spreads spreads, const FitSettings& settings, const Case& c) {
    if (!spreads[kFrictionBox] && settings.muUncertainty > 0)
        spreads[kFrictionBox] = Spread{Shape::Normal, c.car.friction, settings.muUncertainty / 2};
    return spreads;
}

// The best fit's launch in the case `c`, from where a refit starts.
LaunchValues startFrom(const Case& c, const FitResult& best, Unknowns unknowns) {
    LaunchValues v = launchValues(c);
    const LaunchValues fitted = launchValues(best.fitted);
    for (Quantity q : fittedQuantities(unknowns))
        v[index(q)] = fitted[index(q)];
    return v;
}

// The launch fitted again to `marks` in the case `c`, from the best fit's; nothing
// when it is not finite.
std::optional<LaunchValues> refit(const Case& c, const std::vector<Mark>& marks,
                                  const FitSettings& settings, const FitResult& best) {
    Problem problem(c, marks, settings, {});
    const Solution s = problem.minimise(startFrom(c, best, settings.unknowns));
    if (!std::isfinite(s.misfit) || problem.cancelled()) return std::nullopt;
    return s.values;
}

} // namespace

std::vector<Mark> resurveyed(const std::vector<Mark>& marks, const Trails& trails,
                             DrawStream& stream) {
    std::vector<Mark> out = marks;
    for (std::size_t k = 0; k < marks.size(); ++k) {
        const Mark& m = marks[k];
        const std::vector<sim::Vec2>& trail = trails.wheel[m.wheel];
        if (trail.empty() || m.points.empty()) continue;
        // The surveyed points' distances along the mark, scaled to the
        // stretch of trail between the places of its ends: a scattered
        // survey zigzags, and its length overstates the trail's.
        const double first = m.startsAtPull ? 0 : placeAlong(trail, m.points.front());
        const double last =
            m.endsAtRest ? polylineLength(trail) : placeAlong(trail, m.points.back());
        const double length = markLength(m);
        const double scale = length > 0 ? (last - first) / length : 0;
        const Spread scatter{Shape::Normal, 0, m.sigma};
        double along = 0;
        for (std::size_t i = 0; i < m.points.size(); ++i) {
            if (i > 0) along += sim::length(m.points[i] - m.points[i - 1]);
            const sim::Vec2 on = pointAlong(trail, first + along * scale);
            const double dx = drawValue(scatter, stream);
            const double dy = drawValue(scatter, stream);
            out[k].points[i] = on + sim::Vec2{dx, dy};
        }
    }
    return out;
}

std::optional<std::string> fitDrawsProblem(const BoxTexts& texts, AutoCalculate autos,
                                           InertiaForm form, const Spreads& spreads,
                                           const FitResult& best, const FitDrawSettings& settings) {
    if (!best.accepted()) return "the fit has no launch to draw around.";
    // Without a spread the survey and μ are still drawn: the boxes need only
    // be drawable. With one, they are checked as Monte Carlo checks them.
    const bool any = std::any_of(spreads.begin(), spreads.end(), [](const auto& s) { return s; });
    if (any) {
        if (auto problem = monteCarloProblem(texts, autos, form, spreads, {})) return problem;
    } else if (const auto prepared = prepareDraw(texts, autos, form);
               const auto* problem = std::get_if<BoxProblem>(&prepared)) {
        return boxMessage(*problem, form);
    }
    if (settings.draws == 0 || settings.draws > kMaxFitDraws)
        return "the number of draws must be from 1 to " + std::to_string(kMaxFitDraws) + ", not " +
               std::to_string(settings.draws) + ".";
    return std::nullopt;
}

FitDraws fitDraws(const BoxTexts& texts, AutoCalculate autos, InertiaForm form,
                  const Spreads& spreads, const std::vector<Mark>& marks,
                  const FitSettings& settings, const FitResult& best,
                  const FitDrawSettings& drawSettings, const FitProgress& progress) {
    FitDraws out;
    const Spreads drawn = drawnSpreads(spreads, settings, best.fitted);
    // The boxes a fitted quantity comes from are not varied: the fit sets them.
    std::vector<int> varied;
    const std::vector<Quantity> fitted = fittedQuantities(settings.unknowns);
    for (int i = 0; i < kBoxCount; ++i)
        if (spreads[i] && std::none_of(fitted.begin(), fitted.end(),
                                       [i](Quantity q) { return quantityInfo(q).box == i; }))
            varied.push_back(i);
    const std::uint64_t count = drawSettings.draws;
    const std::uint64_t total = count + 2 * varied.size();
    const Trails trails =
        simulateTrails(best.fitted, fitStep(best.fitted), {true, true, true, true});

    std::vector<std::optional<LaunchValues>> fits(count);
    std::vector<std::string> problems(count);
    tbb::task_arena arena(drawSettings.threads > 0 ? drawSettings.threads
                                                   : tbb::info::default_concurrency());
    // The refits, then the sensitivity: one bar of progress over both.
    std::uint64_t done = 0;
    const auto between = [&](std::uint64_t before) {
        return [&, before](std::uint64_t now) {
            done = before + now;
            return !progress || progress(static_cast<double>(done) / static_cast<double>(total));
        };
    };
    const bool finished = detail::inChunks(arena, count, kChunk, between(0), [&](std::uint64_t k) {
        const Checked<Case> c = drawnCase(texts, autos, form, drawn, drawSettings.seed, k);
        if (const auto* problem = std::get_if<BoxProblem>(&c)) {
            problems[k] = boxMessage(*problem, form);
            return;
        }
        DrawStream survey(drawSettings.seed ^ kSurveyStream, k);
        fits[k] = refit(std::get<Case>(c), resurveyed(marks, trails, survey), settings, best);
        if (!fits[k]) problems[k] = "the fit of draw " + std::to_string(k) + " is not finite.";
    });
    out.done = std::min(done, count);
    if (!finished && done < total) {
        out.cancelled = true;
        return out;
    }
    for (std::uint64_t k = 0; k < count; ++k)
        if (!fits[k]) {
            if (out.problem.empty()) out.problem = problems[k];
            ++out.refused;
        }
    for (Quantity q : fittedQuantities(settings.unknowns)) {
        std::vector<double> values;
        for (const auto& f : fits)
            if (f) values.push_back((*f)[index(q)]);
        if (values.empty()) continue;
        const Percentiles p = percentiles(std::move(values));
        out.ranges.push_back({q, p.p2_5, p.p97_5});
    }

    // One box at a time at either end of its 95% range, on the marks as surveyed.
    out.sensitivity.resize(varied.size());
    const bool sensed =
        detail::inChunks(arena, 2 * varied.size(), kChunk, between(count), [&](std::uint64_t k) {
            const int box = varied[k / 2];
            const Spread& s = *spreads[box];
            const double value = k % 2 == 0 ? s.low95() : s.high95();
            BoxTexts t = texts;
            t.text[box] = exactNumber(value);
            Sensitivity& row = out.sensitivity[k / 2];
            row.box = box;
            row.input[k % 2] = value;
            row.speed[k % 2] = kInf;
            const auto prepared = prepareDraw(t, autos, form);
            if (const auto* p = std::get_if<Prepared>(&prepared))
                if (const auto f = refit(p->c, marks, settings, best))
                    row.speed[k % 2] = (*f)[index(Quantity::Speed)];
        });
    if (!sensed) {
        out.cancelled = true;
        return out;
    }
    // Widest first; a box at whose end no launch fits goes last.
    const auto swing = [](const Sensitivity& s) {
        const double d = std::fabs(s.speed[1] - s.speed[0]);
        return std::isfinite(d) ? d : -1;
    };
    std::stable_sort(
        out.sensitivity.begin(), out.sensitivity.end(),
        [&](const Sensitivity& a, const Sensitivity& b) { return swing(a) > swing(b); });
    return out;
}

} // namespace yawmark::model
