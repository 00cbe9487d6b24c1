// SPDX-License-Identifier: MIT
// Reconstruction: the launch whose wheel trails lie on measured tyre marks.
//
// The skid is run forward from a trial launch, and each mark point's distance
// to the simulated trail of its wheel, in units of the point's σ, is a
// residual (so are the first and last points' distances to the trail's start
// and rest, where the mark says it starts at the pull or ends at rest). The
// launch that minimises the misfit is found by Ceres Solver's
// Levenberg-Marquardt from several starts, each residual through Huber's loss
// at 2σ, so that one point far off the rest (a mis-keyed survey point) pulls
// the fit no harder than a point 2σ off. Points further than 5σ from their
// trails, when few, are named as outliers and left out of what follows. The
// launch is accepted only when the RMS distance of the other points is close to
// σ: then the model explains the marks as well as the survey can. The interval
// of each unknown is the range over which the best misfit stays within the
// noise (Δχ² ≤ 4, two standard deviations, scaled by the misfit per degree
// of freedom when that is above 1), widened by fitting again with μ moved by its uncertainty. An
// unknown the marks cannot pin down, because the valley of the misfit is flat
// along it or because separated minima fit equally well, is refused with the
// reason, and gets no number.
//
// The path depends on v²/(μ·g) and ω/v, so an error δ in μ moves the speed by
// about δ/(2μ) of itself: μ's uncertainty usually dominates the interval.
#pragma once

#include "model/Boxes.h"
#include "model/Case.h"
#include "model/Marks.h"
#include "model/Trails.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yawmark::model {

// What the user asks the marks for.
enum class Unknowns { Speed, SpeedYaw, All };
// "speed", "speed,yaw", "all".
std::optional<Unknowns> parseUnknowns(std::string_view text);
std::string_view unknownsText(Unknowns unknowns);

// The launch quantities a fit may find, each in the unit of its box.
enum class Quantity { Speed, YawRate, TurnRadius, RelativeDirection, Direction, StartX, StartY };
inline constexpr int kQuantityCount = 7;

struct QuantityInfo {
    std::string_view key;  // "speed", "yaw_rate", ... (the batch runner's CSV)
    std::string_view unit; // "m/s", "turn/s", ...
    int box;               // the parameter box that holds it
};
const QuantityInfo& quantityInfo(Quantity q);

// The quantities each choice fits.
std::vector<Quantity> fittedQuantities(Unknowns unknowns);

// The launch quantities of a case, as its boxes read them (speed in m/s,
// yaw rate in turns per second clockwise, directions in degrees clockwise).
using LaunchValues = std::array<double, kQuantityCount>;
LaunchValues launchValues(const Case& c);
// The case with those launch quantities. With `yawFollowsSpeed` the yaw rate
// is that of normal driving at the speed and turning radius, and the car
// points where it goes (Auto Calculate), whatever `values` says of them.
Case withLaunch(Case c, const LaunchValues& values, bool yawFollowsSpeed);

struct FitSettings {
    Unknowns unknowns = Unknowns::Speed;
    double muUncertainty = 0.05;
    // Auto Calculate of the yaw rate is ticked: when the yaw rate is not an
    // unknown it follows the fitted speed, as Draw will compute it.
    bool yawFollowsSpeed = true;
    // A fit still going after this many seconds is refused, naming it.
    double maxSeconds = 60;
};

// A surveyed point far off its wheel's trail (a mis-keyed point, say), which
// the fit leaves out of its RMS and intervals.
struct Outlier {
    std::size_t mark = 0; // the mark's place among the marks
    sim::Wheel wheel = sim::RL;
    std::size_t point = 0; // the point's place in its mark, from 1
    double distance = 0;   // from the fitted trail, m
};

// Why the solver stopped, on the best launch found.
enum class Termination { Converged, NoProgress, IterationLimit, Cancelled };
// "converged", "no further progress", "iteration limit", "cancelled".
std::string_view terminationText(Termination t);

// One fitted quantity: the value and its interval, or why there is none.
struct Estimate {
    Quantity quantity = Quantity::Speed;
    std::optional<double> value, low, high;
    std::string refusal; // "the marks fit equally well from 15.2 to 22.5 m/s", ...
};

// The critical-speed formula on the first 15 m of a mark: v = √(μ·g·R) with
// R = C²/(8M) + M/2 from the chord C and its middle ordinate M. The interval
// is that of M ± 2σ (σ the mark's): where M − 2σ ≤ 0 the mark may be straight
// and the speed has no upper bound (`high` is empty).
inline constexpr double kCriticalChord = 15;
struct CriticalSpeed {
    double chord = 0, ordinate = 0, radius = 0, speed = 0;
    double low = 0;
    std::optional<double> high;
};
// Nothing for a mark with fewer than three points or a straight one.
std::optional<CriticalSpeed> criticalSpeed(const Mark& mark, double friction, double gravity);

struct FitResult {
    std::string refusal;             // the whole fit refused, and why (no number at all)
    std::vector<Estimate> estimates; // in the order of fittedQuantities
    double rms = 0;                  // RMS distance of the points to the fitted trails, m
    double sigma = 0;                // the marks' RMS σ, m
    int simulations = 0;
    double step = 0; // the simulation's time step, s
    bool cancelled = false;
    Termination termination = Termination::Converged;
    std::vector<Outlier> outliers;
    std::vector<std::optional<CriticalSpeed>> critical; // one per mark
    Case fitted; // the case with the best launch found (meaningful when accepted)

    // Every unknown asked for has a number.
    bool accepted() const;
};

// Called now and then with the share of the work done (0..1); returning false
// cancels the fit, which then returns soon with `cancelled` set.
using FitProgress = std::function<bool(double)>;

// Why `marks` and `settings` cannot be fitted to `c` (no marks, a point beyond
// reach, σ out of range, no friction, μ's uncertainty not below μ, a budget not
// above 0 seconds), or nothing. fitMarks refuses with this message.
std::optional<std::string> fitInputProblem(const Case& c, const std::vector<Mark>& marks,
                                           const FitSettings& settings);

// The fit of `c`'s launch to `marks`. Everything not asked for comes from the
// case. Safe to call on any thread: it touches nothing but its arguments.
FitResult fitMarks(const Case& c, const std::vector<Mark>& marks, const FitSettings& settings,
                   const FitProgress& progress = {});

// Writes an accepted fit's values into the boxes that hold them, to four
// decimals. A fitted yaw rate or relative direction unticks the yaw rate's
// Auto Calculate, which would otherwise replace it at Draw.
void applyFit(const FitResult& result, BoxTexts& texts, AutoCalculate& autos);

// How far the marks lie from the trails of the case's own launch: the RMS
// distance, m, as the fit measures it.
double marksRms(const Case& c, const std::vector<Mark>& marks);

} // namespace yawmark::model
