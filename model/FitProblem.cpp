// SPDX-License-Identifier: MIT
// The fit as a least-squares problem: the residuals of a launch, the
// Levenberg-Marquardt descent over the free quantities, and the intervals the
// misfit's curvature gives them.
#include "model/FitDetail.h"
#include "model/LeastSquares.h"

#include <algorithm>
#include <cmath>

namespace yawmark::model::detail {

namespace {

// Levenberg-Marquardt: iterations from one start, and when to stop.
constexpr int kMaxIterations = 60;
constexpr double kConverged = 1e-4;

} // namespace

Problem::Problem(const Case& c, const std::vector<Mark>& marks, const FitSettings& s,
                 const FitProgress& progress)
    : case_(c), marks_(marks), free_(fittedQuantities(s.unknowns)),
      follows_(s.yawFollowsSpeed && s.unknowns == Unknowns::Speed), h_(fitStep(c)),
      progress_(progress) {
    for (const Mark& m : marks) {
        wanted_[m.wheel] = true;
        if (m.endsAtRest) needRest_ = true;
        longest_ = std::max(longest_, markLength(m));
        count_ +=
            static_cast<int>(m.points.size()) + (m.startsAtPull ? 2 : 0) + (m.endsAtRest ? 2 : 0);
    }
    const double fl = std::fabs(c.car.frontShare * c.car.length);
    lower_ = {0.05, -5, std::max(fl * 1.0001, 0.1), -360, -1080, -1e6, -1e6};
    upper_ = {150, 5, 1e4, 360, 1080, 1e6, 1e6};
}

std::vector<double> Problem::residuals(const LaunchValues& v) {
    ++simulations_;
    if (progress_ && !cancelled_ && !progress_(std::min(0.99, simulations_ / budget_)))
        cancelled_ = true;
    const Case c = caseOf(v);
    const Trails t = runTrails(c);
    std::vector<double> r;
    r.reserve(count_);
    for (const Mark& m : marks_) {
        const std::vector<sim::Vec2>& trail = t.wheel[m.wheel];
        const Polyline line(trail);
        for (const sim::Vec2& p : m.points)
            r.push_back(line.signedDistance(p) / m.sigma);
        if (m.startsAtPull) {
            const sim::Vec2 d = m.points.front() - trail.front();
            r.push_back(d.x / m.sigma);
            r.push_back(d.y / m.sigma);
        }
        if (m.endsAtRest) {
            // A run cut short ends where it was cut, far from the rest.
            const sim::Vec2 d = m.points.back() - trail.back();
            r.push_back(d.x / m.sigma);
            r.push_back(d.y / m.sigma);
        }
    }
    return r;
}

double Problem::sumSquares(const std::vector<double>& r) {
    double s = 0;
    for (double x : r)
        s += x * x;
    return s;
}

Solution Problem::minimise(LaunchValues start) {
    Solution best;
    best.values = clamp(start);
    std::vector<double> r = residuals(best.values);
    best.chi2 = sumSquares(r);
    double lambda = 1e-3;
    const std::size_t n = free_.size();
    // A long valley is crossed in many small gains: only a few small
    // gains in a row, or none, end the descent.
    int smallGains = 0;
    for (int it = 0; it < kMaxIterations && !cancelled_ && smallGains < 3; ++it) {
        const auto jac = jacobian(best.values, r);
        Matrix a(n, std::vector<double>(n));
        std::vector<double> g(n);
        normalEquations(jac, r, a, g);
        LaunchValues trial;
        std::vector<double> tr;
        const auto cost = [&](const std::vector<double>& d) {
            trial = best.values;
            for (std::size_t i = 0; i < n; ++i)
                trial[index(free_[i])] += d[i] * kScales[index(free_[i])].unit;
            trial = clamp(trial);
            tr = residuals(trial);
            return sumSquares(tr);
        };
        const auto c2 = dampedStep(a, g, best.chi2, lambda, cost, [&] { return cancelled_; });
        if (!c2) break;
        const double gain = best.chi2 - *c2;
        best.values = trial;
        best.chi2 = *c2;
        r = std::move(tr);
        smallGains = gain > kConverged * (1 + *c2) ? 0 : smallGains + 1;
    }
    best.halfWidth = halfWidths(best.values, r);
    return best;
}

std::vector<double> Problem::halfWidths(const LaunchValues& v, const std::vector<double>& r) {
    const std::size_t n = free_.size();
    const auto jac = jacobian(v, r);
    Matrix a(n, std::vector<double>(n));
    std::vector<double> g(n);
    normalEquations(jac, r, a, g);
    const double dof = std::max(1.0, static_cast<double>(r.size()) - static_cast<double>(n));
    const double scale = kWithinNoise * std::max(1.0, sumSquares(r) / dof);
    // A quantity the residuals do not move at all is left open, and the
    // others are judged without it.
    double largest = 0;
    for (std::size_t i = 0; i < n; ++i)
        largest = std::max(largest, a[i][i]);
    std::vector<std::size_t> moving;
    for (std::size_t i = 0; i < n; ++i)
        if (a[i][i] > 1e-12 * largest) moving.push_back(i);
    Matrix sub(moving.size(), std::vector<double>(moving.size()));
    for (std::size_t i = 0; i < moving.size(); ++i)
        for (std::size_t j = 0; j < moving.size(); ++j)
            sub[i][j] = a[moving[i]][moving[j]];
    std::vector<double> hw(n, kInf);
    for (std::size_t i = 0; i < moving.size(); ++i) {
        std::vector<double> e(moving.size(), 0.0);
        e[i] = 1;
        if (solveLinear(sub, e) && e[i] > 0)
            hw[moving[i]] = std::sqrt(e[i] * scale) * kScales[index(free_[moving[i]])].unit;
    }
    return hw;
}

Trails Problem::runTrails(const Case& c) const {
    // A mark that does not end at rest says nothing about the run beyond
    // it, and one that does is not matched by a run going far past it:
    // the run stops once the car has gone well past the longest mark.
    const double reach = needRest_ ? 3 * longest_ + 20 : 2 * longest_ + 10;
    return simulateTrails(c, h_, wanted_, kMaxFitSteps, reach);
}

LaunchValues Problem::clamp(LaunchValues v) const {
    for (int i = 0; i < kQuantityCount; ++i)
        v[i] = std::clamp(v[i], lower_[i], upper_[i]);
    return v;
}

Matrix Problem::jacobian(const LaunchValues& v, const std::vector<double>& r) {
    Matrix jac(free_.size());
    for (std::size_t i = 0; i < free_.size(); ++i) {
        const int q = index(free_[i]);
        LaunchValues moved = v;
        double delta = kScales[q].delta * (q == index(Quantity::TurnRadius) ? v[q] : 1);
        if (q == index(Quantity::Speed)) delta *= std::max(1.0, v[q]);
        if (moved[q] + delta > upper_[q]) delta = -delta;
        moved[q] += delta;
        const std::vector<double> rm = residuals(moved);
        jac[i].resize(r.size());
        const double perUnit = kScales[q].unit / delta;
        for (std::size_t k = 0; k < r.size(); ++k)
            jac[i][k] = (rm[k] - r[k]) * perUnit;
    }
    return jac;
}

} // namespace yawmark::model::detail
