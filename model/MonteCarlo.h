// SPDX-License-Identifier: MIT
// Forward Monte Carlo: the case run many times, each input with a spread
// drawn anew each time, and what becomes of the skid (where the car comes to
// rest, how far it slides, how far it turns, how long it takes) summarised as
// percentiles. Each draw writes its values into the boxes and goes the one way
// Draw goes (prepareDraw, then a run to rest), so the Auto Calculates follow a
// drawn value as they follow a typed one.
#pragma once

#include "model/Boxes.h"
#include "model/Distribution.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yawmark::model {

// The most draws a run makes.
inline constexpr std::uint64_t kMaxDraws = 10'000'000;

struct MonteCarloSettings {
    std::uint64_t draws = 1000;
    std::uint64_t seed = 1;
    int threads = 0;                  // 0: every core
    std::uint64_t maxPasses = 100000; // a draw not at rest by then counts as such
    std::uint64_t first = 0;          // the index of the first draw: a long run in parts
};

// What one run comes to, in m, m, m, degrees and s.
struct Outcome {
    double restX = 0, restY = 0; // the mass centre at rest
    double distance = 0;         // the mass centre's path length
    double turned = 0;           // heading at rest minus heading at the pull, clockwise
    double time = 0;             // to rest
};
inline constexpr int kOutcomeCount = 5;
// "rest_x", "rest_y", "distance", "turned", "time"; units "m", "m", "m", "deg", "s".
std::string_view outcomeKey(int i);
std::string_view outcomeUnit(int i);
double outcomeValue(const Outcome& o, int i);

struct DrawResult {
    std::vector<double> inputs;     // the drawn values, in the order of the varied boxes
    std::optional<Outcome> outcome; // nothing when the draw was refused or never came to rest
    std::string problem;            // why not, as Draw would say it
};

struct MonteCarloResult {
    std::vector<int> varied; // the boxes drawn, in box order
    std::vector<DrawResult> draws;
    bool cancelled = false;
    std::uint64_t refused() const; // draws without an outcome
};

// Called with the share done (0..1) from the thread that called
// runMonteCarlo; false cancels, and the result holds the draws done so far.
using MonteCarloProgress = std::function<bool(double)>;

// Why the case cannot be run under Monte Carlo: the boxes as typed are refused
// as Draw would refuse them, a spread leaves its box's range, no box has a
// spread, or the count of draws is 0 or above 10^7. Nothing when it can.
std::optional<std::string> monteCarloProblem(const BoxTexts& texts, AutoCalculate autos,
                                             InertiaForm form, const Spreads& spreads,
                                             const MonteCarloSettings& settings);

// The draws first .. first + draws - 1, in order of their index whatever the
// thread count.
MonteCarloResult runMonteCarlo(const BoxTexts& texts, AutoCalculate autos, InertiaForm form,
                               const Spreads& spreads, const MonteCarloSettings& settings,
                               const MonteCarloProgress& progress = {});

// The case of draw `index` (for drawing its trail again), or its problem.
Checked<Case> drawnCase(const BoxTexts& texts, AutoCalculate autos, InertiaForm form,
                        const Spreads& spreads, std::uint64_t seed, std::uint64_t index);

// The 2.5%, 50% and 97.5% points, mean and standard deviation of one outcome
// over the draws that have one.
struct Percentiles {
    double p2_5 = 0, p50 = 0, p97_5 = 0, mean = 0, sd = 0;
};
Percentiles percentiles(std::vector<double> values);
std::array<Percentiles, kOutcomeCount> summarise(const MonteCarloResult& result);

// The outline of the 95% region of rest positions: the convex hull of the 95%
// of points nearest the middle by Mahalanobis distance. Empty for fewer than
// three points.
std::vector<sim::Vec2> region95(const std::vector<sim::Vec2>& points);

} // namespace yawmark::model
