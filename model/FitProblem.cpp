// SPDX-License-Identifier: MIT
// The fit as a least-squares problem: the residuals of a launch and their
// descent by Ceres Solver over the free quantities.
#include "model/FitDetail.h"

#include <ceres/ceres.h>

#include <algorithm>
#include <cmath>

namespace yawmark::model::detail {

namespace {

// Levenberg-Marquardt: iterations from one start.
constexpr int kMaxIterations = 60;

// Ceres's forward differences step each parameter by kRelativeStep of its
// value. The simulation's trails resolve a step no finer than about the
// fit's own steps (kScales' deltas: 0.1 % of the speed, 0.001° of a
// direction, 0.1 mm of the start), so each parameter is the quantity in its
// unit plus an offset of delta/(kRelativeStep·unit), of the sign of the
// quantity where the solver starts: Ceres's step then is about the quantity's
// delta, whatever its value, 0 included, unless the solver takes it past 0
// by half the offset (50 m of start, 500° of direction). Without the offset a
// start at the origin would be stepped by 1e-8 m, below what the trails resolve.
constexpr double kRelativeStep = 1e-6;

// The misfit as Ceres sees it: one block of residuals over the free
// quantities, the others fixed at `base`.
//
// The loss acts on each residual, not on the block: the residuals handed to
// Ceres are r̃ = sign(r)·√ρ(r²), whose squares sum to Σρ(r²), the robust
// misfit itself, so minimising their sum of squares minimises it exactly.
// (A loss given to AddResidualBlock would act on the whole block's ‖r‖²,
// capping the misfit of every point together, not of the one far off.) For
// r within 2σ, r̃ = r; beyond, r̃ grows as √|r|, and r̃'s derivative is that
// of ρ, so Gauss-Newton on r̃ weighs a far point as Huber's loss does. One
// block keeps one simulation an evaluation, as the residuals share it.
class Misfit {
public:
    Misfit(Problem& p, const LaunchValues& base) : p_(p), base_(base) {
        for (const Quantity q : p.free()) {
            const int i = index(q);
            double delta = kScales[i].delta * (q == Quantity::TurnRadius ? base[i] : 1);
            if (q == Quantity::Speed) delta *= std::max(1.0, base[i]);
            offset_.push_back(std::copysign(delta / (kRelativeStep * kScales[i].unit), base[i]));
        }
    }

    double parameter(std::size_t i, double value) const {
        return offset_[i] + value / kScales[index(p_.free()[i])].unit;
    }
    LaunchValues values(const double* x) const {
        LaunchValues v = base_;
        for (std::size_t i = 0; i < p_.free().size(); ++i)
            v[index(p_.free()[i])] = (x[i] - offset_[i]) * kScales[index(p_.free()[i])].unit;
        return p_.clamp(v);
    }

    // Ceres asks for a point's residuals more than once, with and without
    // their derivatives: the last point's are kept. A cancelled fit's are
    // zero, and Stop ends the solve at the end of the iteration.
    bool operator()(double const* const* x, double* residuals) const {
        const std::size_t n = p_.free().size();
        if (!std::equal(x[0], x[0] + n, at_.begin(), at_.end())) {
            at_.assign(x[0], x[0] + n);
            r_ = p_.robustLoss() ? Problem::robust(p_.residuals(values(x[0])))
                                 : p_.residuals(values(x[0]));
        }
        std::copy(r_.begin(), r_.end(), residuals);
        return true;
    }

private:
    Problem& p_;
    LaunchValues base_;
    std::vector<double> offset_;
    mutable std::vector<double> at_, r_;
};

// Stops the solver between iterations once the fit is cancelled.
class Stop final : public ceres::IterationCallback {
public:
    explicit Stop(const Problem& p) : p_(p) {}
    ceres::CallbackReturnType operator()(const ceres::IterationSummary&) override {
        return p_.cancelled() ? ceres::SOLVER_ABORT : ceres::SOLVER_CONTINUE;
    }

private:
    const Problem& p_;
};

Termination termination(ceres::TerminationType type, bool cancelled) {
    if (cancelled) return Termination::Cancelled;
    switch (type) {
    case ceres::CONVERGENCE:
    case ceres::USER_SUCCESS:
        return Termination::Converged;
    case ceres::NO_CONVERGENCE:
        return Termination::IterationLimit;
    case ceres::USER_FAILURE:
        return Termination::Cancelled;
    case ceres::FAILURE:
        break;
    }
    return Termination::NoProgress;
}

} // namespace

Problem::Problem(const Case& c, const std::vector<Mark>& marks, const FitSettings& s,
                 const FitProgress& progress)
    : case_(c), marks_(marks), free_(fittedQuantities(s.unknowns)),
      follows_(s.yawFollowsSpeed && s.unknowns == Unknowns::Speed), h_(fitStep(c)),
      progress_(progress), maxSeconds_(s.maxSeconds) {
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const Mark& m = marks[i];
        wanted_[m.wheel] = true;
        if (m.endsAtRest) needRest_ = true;
        longest_ = std::max(longest_, markLength(m));
        if (m.points.empty()) continue;
        const std::size_t first = rows_.size(), last = m.points.size() - 1;
        for (std::size_t j = 0; j <= last; ++j)
            rows_.push_back({i, j, first + j});
        if (m.startsAtPull) rows_.insert(rows_.end(), 2, {i, 0, first});
        if (m.endsAtRest) rows_.insert(rows_.end(), 2, {i, last, first + last});
    }
    const double fl = std::fabs(c.car.frontShare * c.car.length);
    lower_ = {0.05, -5, std::max(fl * 1.0001, 0.1), -360, -1080, -1e6, -1e6};
    upper_ = {150, 5, 1e4, 360, 1080, 1e6, 1e6};
}

std::vector<double> Problem::residuals(const LaunchValues& v) {
    if (cancelled_) return std::vector<double>(rows_.size(), 0.0); // not looked at
    ++simulations_;
    if (progress_ && !progress_(std::min(0.99, simulations_ / budget_))) cancelled_ = true;
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started_;
    if (!(spent.count() <= maxSeconds_)) cancelled_ = overBudget_ = true;
    const Case c = caseOf(v);
    const Trails t = runTrails(c);
    std::vector<double> r;
    r.reserve(rows_.size());
    for (const Mark& m : marks_) {
        if (m.points.empty()) continue;
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

std::vector<double> Problem::robust(std::vector<double> r) {
    static const ceres::HuberLoss huber(kLossScale);
    for (double& x : r) {
        double rho[3];
        huber.Evaluate(x * x, rho);
        x = std::copysign(std::sqrt(rho[0]), x);
    }
    return r;
}

Solution Problem::minimise(LaunchValues start) {
    Solution best;
    best.values = clamp(start);
    Misfit misfit(*this, best.values);
    ceres::NumericDiffOptions diff;
    diff.relative_step_size = kRelativeStep;
    ceres::DynamicNumericDiffCostFunction<Misfit, ceres::FORWARD> cost(
        &misfit, ceres::DO_NOT_TAKE_OWNERSHIP, diff);
    cost.AddParameterBlock(static_cast<int>(free_.size()));
    cost.SetNumResiduals(residualCount());
    std::vector<double> x(free_.size());
    ceres::Problem::Options po;
    po.cost_function_ownership = ceres::DO_NOT_TAKE_OWNERSHIP;
    ceres::Problem problem(po);
    problem.AddResidualBlock(&cost, nullptr, x.data());
    for (std::size_t i = 0; i < free_.size(); ++i) {
        const int q = index(free_[i]), at = static_cast<int>(i);
        x[i] = misfit.parameter(i, best.values[q]);
        problem.SetParameterLowerBound(x.data(), at, misfit.parameter(i, lower_[q]));
        problem.SetParameterUpperBound(x.data(), at, misfit.parameter(i, upper_[q]));
    }
    ceres::Solver::Options o;
    o.linear_solver_type = ceres::DENSE_QR;
    o.max_num_iterations = kMaxIterations;
    o.num_threads = 1; // the simulation is the cost, and runs once an evaluation
    o.logging_type = ceres::SILENT;
    // Ceres's own messages (glog's, on standard error) say nothing the
    // fit's result does not: only a fatal one is let through.
    static const bool quiet = (FLAGS_minloglevel = google::GLOG_FATAL, true);
    (void)quiet;
    o.initial_trust_region_radius = 1e3;
    o.function_tolerance = 1e-6;
    // The parameters' offsets make a relative tolerance on them meaningless.
    o.parameter_tolerance = 1e-14;
    o.min_trust_region_radius = 1e-6;
    // A step past a bound is cut back to it (Ceres projects it onto the
    // bounds) rather than searched along: the search evaluates derivatives at
    // every trial point, a simulation for each free quantity, even where the
    // step is refused.
    o.max_num_line_search_step_size_iterations = 0;
    Stop stop(*this);
    o.callbacks.push_back(&stop);
    ceres::Solver::Summary summary;
    ceres::Solve(o, &problem, &summary);
    best.termination = termination(summary.termination_type, cancelled_);
    best.values = misfit.values(x.data());
    const std::vector<double> r = residuals(best.values);
    best.misfit = sumSquares(robust(r));
    best.outlier = outliers(r);
    best.halfWidth = halfWidths(best.values, r, best.outlier);
    return best;
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

} // namespace yawmark::model::detail
