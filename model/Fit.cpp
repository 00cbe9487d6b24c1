// SPDX-License-Identifier: MIT
// The fit itself: its inputs checked, the solver run from several starts, and
// each unknown's interval, or the reason it has none.
#include "model/Fit.h"

#include "model/BoxTable.h"
#include "model/FitDetail.h"
#include "sim/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace yawmark::model {

using namespace detail;

namespace {

// An accepted fit leaves the points no further from the trails, RMS, than
// this many σ: a survey scattered by σ leaves about 1σ, and the margin allows
// for a survey a little worse than stated, not for another car.
constexpr double kAcceptedRms = 1.5;

std::string number(double v) {
    // Four significant figures are plenty for a message.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4g", v);
    return buf;
}

// A fit stopped before its end: cancelled, or refused once past its budget.
FitResult stopped(FitResult& result, const Problem& problem, const FitSettings& settings) {
    result.termination = Termination::Cancelled;
    if (problem.overBudget())
        result.refusal =
            "the fit took longer than its budget of " + number(settings.maxSeconds) + " s";
    else
        result.cancelled = true;
    return std::move(result);
}

} // namespace

std::string_view terminationText(Termination t) {
    switch (t) {
    case Termination::Converged:
        return "converged";
    case Termination::NoProgress:
        return "no further progress";
    case Termination::IterationLimit:
        return "iteration limit";
    case Termination::Cancelled:
        return "cancelled";
    }
    return {};
}

bool FitResult::accepted() const {
    return refusal.empty() && !cancelled && !estimates.empty() &&
           std::all_of(estimates.begin(), estimates.end(),
                       [](const Estimate& e) { return e.value.has_value(); });
}

std::optional<CriticalSpeed> criticalSpeed(const Mark& mark, double friction, double gravity) {
    const auto& p = mark.points;
    if (p.size() < 3) return std::nullopt;
    // The points of the first 15 m, and the chord from the first to the last.
    std::size_t last = 1;
    for (double along = 0; last < p.size(); ++last) {
        along += sim::length(p[last] - p[last - 1]);
        if (along >= kCriticalChord) break;
    }
    last = std::min(last, p.size() - 1);
    const sim::Vec2 a = p[0], chord = p[last] - p[0];
    const double c = sim::length(chord);
    if (last < 2 || c == 0) return std::nullopt;
    // The middle ordinate: the arc's distance from the chord where it passes
    // the chord's middle, between the two points either side of it.
    double m = 0;
    for (std::size_t i = 1; i <= last; ++i) {
        const double t0 = sim::dot(p[i - 1] - a, chord) / (c * c);
        const double t1 = sim::dot(p[i] - a, chord) / (c * c);
        if ((t0 - 0.5) * (t1 - 0.5) > 0 || t0 == t1) continue;
        const double k = (0.5 - t0) / (t1 - t0);
        const double d0 = sim::cross(chord, p[i - 1] - a) / c;
        const double d1 = sim::cross(chord, p[i] - a) / c;
        m = std::fabs(d0 + k * (d1 - d0));
        break;
    }
    if (!(m > 0)) return std::nullopt;
    CriticalSpeed s;
    s.chord = c;
    s.ordinate = m;
    const auto speedOf = [&](double ordinate) {
        return std::sqrt(friction * gravity * (c * c / (8 * ordinate) + ordinate / 2));
    };
    s.radius = c * c / (8 * m) + m / 2;
    const double v2 = friction * gravity * s.radius;
    if (!(v2 >= 0) || !std::isfinite(v2)) return std::nullopt;
    s.speed = std::sqrt(v2);
    // R falls as M grows up to C/2 (a half circle), then rises again.
    const double lo = m - 2 * mark.sigma, hi = m + 2 * mark.sigma;
    s.low = std::min(speedOf(hi), lo < c / 2 && c / 2 < hi ? speedOf(c / 2) : speedOf(hi));
    if (lo > 0) {
        s.low = std::min(s.low, speedOf(lo));
        s.high = std::max(speedOf(lo), speedOf(hi));
    }
    return s;
}

double marksRms(const Case& c, const std::vector<Mark>& marks) {
    Problem problem(c, marks, {Unknowns::Speed, 0, false}, {});
    const double chi2 = Problem::sumSquares(problem.residuals(launchValues(c)));
    double sum = 0, points = 0;
    for (const Mark& m : marks) {
        sum += m.sigma * m.sigma * static_cast<double>(m.points.size());
        points += static_cast<double>(m.points.size());
    }
    return std::sqrt(sum / std::max(1.0, points) * chi2 / std::max(1, problem.residualCount()));
}

std::optional<std::string> fitInputProblem(const Case& c, const std::vector<Mark>& marks,
                                           const FitSettings& settings) {
    if (marks.empty()) return "there are no marks to fit";
    for (const Mark& m : marks)
        if (m.points.empty() || !std::all_of(m.points.begin(), m.points.end(), withinReach))
            return "every mark needs points within " + formatNumber(kMarkReach) +
                   " m of the origin";
    for (const Mark& m : marks)
        if (!sigmaInRange(m.sigma))
            return "σ must be from " + formatNumber(kMinMarkSigma) + " to " +
                   formatNumber(kMaxMarkSigma) + " m, not " + formatNumber(m.sigma);
    const auto quoted = [](int box) { return "\"" + std::string(boxInfo(box).caption) + "\""; };
    if (!(fitStep(c) > 0))
        return "the case's " + quoted(kIntervalBox) + " must be greater than 0 for a fit";
    const double mu = c.car.friction;
    // The trails scale with v²/(μ·g): without friction nothing stops the car.
    if (!(mu > 0))
        return "the friction μ, " + quoted(kFrictionBox) + ", must be greater than 0 for a fit";
    if (!(settings.muUncertainty >= 0 && settings.muUncertainty < mu))
        return "the uncertainty of μ must be 0 or more and less than μ (" + formatNumber(mu) +
               "), not " + formatNumber(settings.muUncertainty);
    if (!(settings.maxSeconds > 0))
        return "the fit's budget must be more than 0 seconds, not " +
               formatNumber(settings.maxSeconds);
    return std::nullopt;
}

FitResult fitMarks(const Case& c, const std::vector<Mark>& marks, const FitSettings& settings,
                   const FitProgress& progress) {
    FitResult result;
    result.fitted = c;
    result.step = fitStep(c);
    for (const Mark& m : marks)
        result.critical.push_back(criticalSpeed(m, c.car.friction, c.car.gravity));
    if (auto problem = fitInputProblem(c, marks, settings)) {
        result.refusal = std::move(*problem);
        return result;
    }
    double sigmaSquares = 0;
    std::size_t points = 0;
    for (const Mark& m : marks) {
        sigmaSquares += m.sigma * m.sigma * static_cast<double>(m.points.size());
        points += m.points.size();
    }
    result.sigma = std::sqrt(sigmaSquares / static_cast<double>(points));
    if (settings.unknowns == Unknowns::All &&
        std::none_of(marks.begin(), marks.end(), [](const Mark& m) { return m.endsAtRest; })) {
        result.refusal = "fitting everything needs a mark that ends where the car came to rest: "
                         "along a mark cut short, launches from a wide range of speeds leave "
                         "the same marks";
        return result;
    }

    Problem problem(c, marks, settings, progress);
    const std::vector<Quantity>& free = problem.free();
    const LaunchValues guess = firstGuess(c, marks, settings.unknowns);
    problem.setBudget(settings.unknowns == Unknowns::All     ? 900
                      : settings.unknowns == Unknowns::Speed ? 80
                                                             : 250);

    std::vector<Solution> minima;
    for (double v : startSpeeds(problem, guess, c)) {
        if (problem.cancelled()) break;
        minima.push_back(minimiseInStages(problem, guess, v, c, settings));
    }
    result.simulations = problem.simulations();
    if (problem.cancelled() || minima.empty()) return stopped(result, problem, settings);
    std::sort(minima.begin(), minima.end(),
              [](const Solution& a, const Solution& b) { return a.misfit < b.misfit; });
    const Solution& best = minima.front();
    result.fitted = problem.caseOf(best.values);
    result.termination = best.termination;
    // The RMS and the intervals are those of the points not named as outliers.
    const std::vector<double> r = problem.residuals(best.values);
    result.outliers = problem.named(r, best.outlier);
    double kept = 0, chi2 = 0;
    for (std::size_t k = 0; k < r.size(); ++k)
        if (!best.outlier[k]) kept += 1, chi2 += r[k] * r[k];
    result.rms = result.sigma * std::sqrt(chi2 / std::max(1.0, kept));

    if (!(result.rms <= kAcceptedRms * result.sigma)) {
        result.refusal = "no launch fits the marks: the best leaves the points " +
                         number(result.rms * 100) +
                         " cm from the trails (RMS), against σ = " + number(result.sigma * 100) +
                         " cm; the marks may come from another car, other friction, or a "
                         "survey less exact than σ says";
        return result;
    }

    // μ moved by its uncertainty: the fit again, from the best launch.
    const double mu = c.car.friction, dmu = settings.muUncertainty;
    std::vector<Solution> shifted;
    for (double m : {mu - dmu, mu + dmu}) {
        if (dmu == 0 || problem.cancelled()) break;
        problem.setFriction(m);
        shifted.push_back(problem.minimise(best.values));
    }
    problem.setFriction(mu);
    result.simulations = problem.simulations();
    if (problem.cancelled()) return stopped(result, problem, settings);

    // Separated minima that fit as well as the best (within the noise).
    const double dof = std::max(1.0, kept - static_cast<double>(free.size()));
    const double within = kWithinNoise * std::max(1.0, chi2 / dof);
    for (std::size_t i = 0; i < free.size(); ++i) {
        const int q = index(free[i]);
        Estimate e;
        e.quantity = free[i];
        const QuantityInfo& info = quantityInfo(free[i]);
        const double value = best.values[q], hw = best.halfWidth[i];
        const double widest =
            kScales[q].widest * (q == index(Quantity::Speed) || q == index(Quantity::TurnRadius)
                                     ? std::fabs(value)
                                     : 1);
        for (const Solution& other : minima) {
            if (&other == &best || other.misfit > best.misfit + within) continue;
            const double apart = std::fabs(other.values[q] - value);
            // Two minima whose intervals do not overlap.
            if (apart > hw + other.halfWidth[i] && apart > 1e-9) {
                e.refusal = "separated launches fit the marks equally well: " + number(value) +
                            " and " + number(other.values[q]) + " " + std::string(info.unit);
                break;
            }
        }
        if (e.refusal.empty() && !(hw <= widest)) {
            e.refusal = std::isfinite(hw)
                            ? "the marks leave it open: the misfit stays within the noise from " +
                                  number(std::max(value - hw, problem.lower(free[i]))) + " to " +
                                  number(std::min(value + hw, problem.upper(free[i]))) + " " +
                                  std::string(info.unit)
                            : "the marks do not depend on it";
        }
        if (e.refusal.empty()) {
            double low = value - hw, high = value + hw;
            for (const Solution& s : shifted) {
                const double w = std::isfinite(s.halfWidth[i]) ? s.halfWidth[i] : hw;
                low = std::min(low, s.values[q] - w);
                high = std::max(high, s.values[q] + w);
            }
            e.value = value;
            e.low = low;
            e.high = high;
        }
        result.estimates.push_back(std::move(e));
    }
    return result;
}

} // namespace yawmark::model
