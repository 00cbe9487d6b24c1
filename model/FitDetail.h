// SPDX-License-Identifier: MIT
// The pieces of the fit to tyre marks that its source files share, and that
// its tests reach: not part of the model's interface.
#pragma once

#include "model/Fit.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <limits>
#include <vector>

namespace yawmark::model::detail {

inline constexpr double kInf = std::numeric_limits<double>::infinity();
// The longest run a fit simulates, in steps.
inline constexpr std::size_t kMaxFitSteps = 300000;
// The rise of χ² that still counts as within the noise: two standard deviations.
inline constexpr double kWithinNoise = 4;

// How far each quantity moves for a derivative, the size of a unit step of
// the solver, and the widest interval that still says something about it: an
// interval wider than that means the marks leave the quantity open.
struct Scale {
    double delta, unit, widest;
};
inline constexpr std::array<Scale, kQuantityCount> kScales{{
    {1e-3, 1, 0.25},  // speed: widest as a share of the speed
    {1e-4, 0.1, 0.5}, // yaw rate, turn/s
    {1e-3, 1, 0.5},   // turning radius: widest as a share of the radius
    {1e-3, 1, 45},    // relative direction, deg
    {1e-3, 1, 45},    // direction, deg
    {1e-4, 0.1, 5},   // start, m
    {1e-4, 0.1, 5},
}};

constexpr int index(Quantity q) {
    return static_cast<int>(q);
}

// A polyline with a tree of bounding boxes over its segments: each leaf holds
// kLeaf consecutive segments, each node the two halves of its range. A point's
// nearest segment is sought first in the leaf of the segment nearest the
// previous point (survey points come in order along a mark, so the answer is
// usually there or close), then in the other half at each level up the tree,
// descending only into boxes that may hold a segment nearer than the best so
// far, nearer box first. About log n boxes a point, not n segments.
class Polyline {
public:
    static constexpr std::size_t kLeaf = 8;

    explicit Polyline(const std::vector<sim::Vec2>& points);
    // Distance from q to the line, negative on the right of its direction.
    // Of segments equally near, the last counts.
    double signedDistance(sim::Vec2 q) const;

private:
    struct Box {
        double x0, y0, x1, y1;
    };
    void visit(std::size_t segment, sim::Vec2 q, double& best, std::size_t& at) const;

    const std::vector<sim::Vec2>& p_;
    std::vector<std::vector<Box>> levels_; // levels_[0] the leaves, the last the root
    mutable std::size_t hint_ = 0;         // the segment nearest the previous point
};

// The trails of a run of at most `maxSteps` steps that stops once the car has
// gone `reach` metres.
Trails simulateTrails(const Case& c, double h, std::array<bool, sim::kWheelCount> wanted,
                      std::size_t maxSteps, double reach);

// Huber's loss on each residual: squares up to kLossScale σ, linear beyond.
inline constexpr double kLossScale = 2;
// A point further than this many σ from its trail is an outlier, when no more
// than a tenth of the points are: beyond that the marks do not fit.
inline constexpr double kOutlierSigmas = 5;

struct Solution {
    LaunchValues values{};
    double misfit = kInf;          // Σρ(r²), Huber's ρ: χ² where no point is beyond 2σ
    std::vector<double> halfWidth; // per free quantity, box units; infinite when open
    std::vector<bool> outlier;     // per residual
    Termination termination = Termination::Converged;
};

// One fit problem (FitProblem.cpp): the case, the marks, which quantities are free.
class Problem {
public:
    Problem(const Case& c, const std::vector<Mark>& marks, const FitSettings& s,
            const FitProgress& progress);

    const std::vector<Quantity>& free() const { return free_; }
    void setFree(std::vector<Quantity> free) { free_ = std::move(free); }
    void setFollows(bool follows) { follows_ = follows; }
    int simulations() const { return simulations_; }
    bool cancelled() const { return cancelled_; }
    // The budget of seconds ran out (and the fit was cancelled).
    bool overBudget() const { return overBudget_; }
    int residualCount() const { return static_cast<int>(rows_.size()); }
    void setFriction(double mu) { case_.car.friction = mu; }
    double lower(Quantity q) const { return lower_[index(q)]; }
    double upper(Quantity q) const { return upper_[index(q)]; }
    Case caseOf(const LaunchValues& v) const { return withLaunch(case_, v, follows_); }
    void setBudget(double sims) { budget_ = sims; }
    // Whether the solver weighs the residuals through Huber's loss (on
    // unless turned off): far from the minimum, where every point is far
    // off, the loss flattens the misfit and the descent stalls, so the
    // search for it goes by plain least squares and the loss polishes it.
    void setRobustLoss(bool on) { robustLoss_ = on; }
    bool robustLoss() const { return robustLoss_; }
    // The scan for starting points runs coarser steps: it only ranks speeds.
    void setCoarse(bool coarse) { h_ = coarse ? 4 * fitStep(case_) : fitStep(case_); }

    // The residuals of a launch, each a distance in units of its point's σ.
    std::vector<double> residuals(const LaunchValues& v);
    static double sumSquares(const std::vector<double>& r);
    // Each residual r as sign(r)·√ρ(r²): their sum of squares is the misfit.
    static std::vector<double> robust(std::vector<double> r);
    double misfit(const LaunchValues& v) { return sumSquares(robust(residuals(v))); }
    // Ceres's Levenberg-Marquardt from `start`, the free quantities only.
    Solution minimise(LaunchValues start);
    // The residuals of the points further than kOutlierSigmas from their
    // trails, and of their marks' start or rest where they are first or last;
    // none when more than a tenth of the points are.
    std::vector<bool> outliers(const std::vector<double>& r) const;
    std::vector<Outlier> named(const std::vector<double>& r, const std::vector<bool>& out) const;
    // The interval of each free quantity from the curvature of the misfit of
    // the residuals not left out: the range within which the best misfit
    // stays within the noise, Δχ² ≤ 4·max(1, χ²/(N − k)), two standard
    // deviations. Infinite for a quantity the marks leave open.
    std::vector<double> halfWidths(const LaunchValues& v, const std::vector<double>& r,
                                   const std::vector<bool>& out);
    LaunchValues clamp(LaunchValues v) const;
    // Forward differences of the residuals over kScales' steps, in kScales'
    // units, one row per free quantity.
    std::vector<std::vector<double>> jacobian(const LaunchValues& v, const std::vector<double>& r);

private:
    Trails runTrails(const Case& c) const;

    struct Row {
        std::size_t mark, point; // the point a residual measures, or its mark's start or rest
        std::size_t pointRow;    // that point's own residual
    };
    Case case_;
    const std::vector<Mark>& marks_;
    std::vector<Quantity> free_;
    bool follows_;
    double h_;
    FitProgress progress_;
    std::array<bool, sim::kWheelCount> wanted_{};
    bool needRest_ = false;
    double longest_ = 0;
    std::vector<Row> rows_;
    int simulations_ = 0;
    bool cancelled_ = false, overBudget_ = false;
    bool robustLoss_ = true;
    double budget_ = 200;
    double maxSeconds_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    LaunchValues lower_{}, upper_{};
};

// FitStart.cpp: where the solver starts.
// First guesses from the marks themselves (for everything but the speed).
LaunchValues firstGuess(const Case& c, const std::vector<Mark>& marks, Unknowns unknowns);
// The guess at another speed.
LaunchValues atSpeed(LaunchValues v, double speed, const Case& c);
// The speeds the solver starts from, best first: at most three minima of the misfit
// along a coarse scan of speeds from the guess.
std::vector<double> startSpeeds(Problem& problem, const LaunchValues& guess, const Case& c);
// The solver from `guess` at `speed`, freeing the quantities asked for in stages.
Solution minimiseInStages(Problem& problem, const LaunchValues& guess, double speed, const Case& c,
                          const FitSettings& settings);

} // namespace yawmark::model::detail
