// SPDX-License-Identifier: MIT
// The fit's second interval: over every stated uncertainty, not the marks
// alone. The fit is made again on K draws, each with the uncertain boxes drawn
// from their spreads and the marks surveyed again: points laid on the best
// fit's trails where the surveyed ones lie along them, each scattered by the
// mark's σ (a parametric bootstrap of the survey). The 2.5% and 97.5% points of
// each fitted quantity over the draws are its 95% interval "over every stated
// uncertainty". Friction without a spread of its own is drawn normal with the
// fit's ± μ as its 95% range (σ = ± μ / 2), so that the μ the profile interval
// allows for is not left out.
//
// Beside it, the sensitivity of the fitted speed: the speed fitted again with
// one uncertain box alone at either end of its 95% range, the others as typed.
#pragma once

#include "model/Distribution.h"
#include "model/Fit.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace yawmark::model {

inline constexpr std::uint64_t kDefaultFitDraws = 200;
inline constexpr std::uint64_t kMaxFitDraws = 100000;

struct FitDrawSettings {
    std::uint64_t draws = kDefaultFitDraws;
    std::uint64_t seed = 1;
    int threads = 0; // 0: every core
};

// One fitted quantity's 95% range over the draws.
struct DrawnRange {
    Quantity quantity = Quantity::Speed;
    double low = 0, high = 0;
};

// The fitted speed with one box at the low and the high end of its 95% range.
struct Sensitivity {
    int box = 0;
    double input[2] = {0, 0}; // the box's value at either end, its own unit
    double speed[2] = {0, 0}; // the speed fitted there, m/s
};

struct FitDraws {
    std::vector<DrawnRange> ranges; // in the order of fittedQuantities
    std::uint64_t done = 0;         // draws fitted
    std::uint64_t refused = 0;      // draws whose fit gave no finite launch
    std::string problem;            // the first draw's reason, when any was refused
    std::vector<Sensitivity> sensitivity; // by how far the speed moves, most first
    bool cancelled = false;
};

// Why the draws cannot be made: the fit was not accepted, a box or a spread is
// refused as Monte Carlo refuses it, or the count is 0 or above kMaxFitDraws.
std::optional<std::string> fitDrawsProblem(const BoxTexts& texts, AutoCalculate autos,
                                           InertiaForm form, const Spreads& spreads,
                                           const FitResult& best,
                                           const FitDrawSettings& settings);

// The draws around `best`, the accepted fit of `marks` to the case the boxes
// hold. Progress and cancel as fitMarks's; the same numbers whatever the
// thread count.
FitDraws fitDraws(const BoxTexts& texts, AutoCalculate autos, InertiaForm form,
                  const Spreads& spreads, const std::vector<Mark>& marks,
                  const FitSettings& settings, const FitResult& best,
                  const FitDrawSettings& drawSettings, const FitProgress& progress = {});

// The marks surveyed again on trails: each point laid on its wheel's trail at
// the place along it where the surveyed point lies, then scattered by the
// mark's σ in x and y, taken from `stream`.
std::vector<Mark> resurveyed(const std::vector<Mark>& marks, const Trails& trails,
                             DrawStream& stream);

} // namespace yawmark::model
