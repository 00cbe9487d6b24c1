// SPDX-License-Identifier: MIT
#include "model/BoxTable.h"

#include <algorithm>
#include <cmath>

namespace yawmark::model {

namespace {

constexpr std::string_view kLengthTip = "10 ft = 3.048 m    Must be greater than 0.";
constexpr std::string_view kStartTip = "Starting position on the x-y plane ";

using enum Tab;

constexpr std::array<BoxInfo, kBoxCount> kRows{{
    {"Wheelbase Length (m)",
     kLengthTip,
     Vehicle,
     10,
     100,
     "m, from the front axle to the rear axle",
     {Range::Positive}},
    {"Wheelbase Width (m)",
     kLengthTip,
     Vehicle,
     10,
     100,
     "m, between the left and right wheels",
     {Range::Positive}},
    {"Vehicle Mass (kg)",
     "1 ton = 907.18 kg on Earth.  Must be greater than 0.",
     Vehicle,
     5000,
     100,
     "kg",
     {Range::Positive}},
    {"Weight Distribution (% Rear)",
     "From 0 to 100.  Adjusts position of Center of Mass.  Keep in mind its turning radius and "
     "position are used to calculate steering angle.",
     Vehicle,
     20,
     100,
     "% of the weight on the rear axle",
     {Range::Percent}},
    {"Tire Coefficient of Kinetic Friction",
     "Must be greater than 0.",
     Vehicle,
     5,
     100,
     "no unit",
     {Range::Positive}},
    {"Moment of Inertia (kg-m^2)",
     "1000 lb-ft-sec^2 = 1355.8 kg-m^2    Must be greater than 0.",
     Vehicle,
     5000,
     100,
     "kg·m²",
     {Range::Positive}},
    {"Initial Speed (m/s)",
     "10 mph = 4.4704 m/s.    Must be non-zero.  Initial Speed of Center of Mass.  To back up "
     "vehicle, changing relative direction recommended.",
     InitialConditions,
     100,
     100,
     "m/s, of the mass centre",
     {Range::NonZero}},
    {"Initial Direction of Travel (degrees, L-/R+)",
     "Initial direction of the center of mass with respect to the y-axis", InitialConditions, 100,
     100, "degrees from +y, left −, right +"},
    {"Steering Direction (L/R/CE)", "Direction of front wheel steering angle.", InitialConditions,
     100, 0, "Left, Right or Center"},
    {"Mass Center Turning Radius (m)",
     "10 ft = 3.048 m    Turning Radius during normal driving.  Must be greater than distance "
     "from Center of Mass to Rear.",
     InitialConditions, 100, 100, "m, of the mass centre's circle before the pull"},
    {"g (acceleration due to gravity) (m/s^2)",
     "Gravity (duh)  Must be greater than 0.",
     InitialConditions,
     10,
     100,
     "m/s²",
     {Range::Positive}},
    {"Relative direction the vehicle points at (degrees)",
     "In degrees (L-/R+)  The direction the vehicle initially points at relative to the tangent "
     "of the center of mass.",
     InitialConditions, 100, 100, "degrees, relative to the direction of travel, left −, right +"},
    {"Angular Velocity (turn/s)", "(CCW-/CW+)  Rate at which the vehicle is spinning initially.",
     InitialConditions, 5, 100, "turns per second, clockwise +"},
    {"Calculation Interval (ms)",
     "In milliseconds, must be greater than 0.  Smaller value gives higher resolution.  Linear "
     "interpolation calculation intervals.",
     Graph,
     100,
     100,
     "ms of simulated time per pass",
     {Range::Positive}},
    {"AutoSnapshot Interval (ms)",
     "In milliseconds, approximate only.  Select 1000 for roughly 1 snapshot per second in real "
     "world.  Applicable only if \"Auto\" is checked.",
     Graph, 5000, 100, "ms of simulated time"},
    {"Plot Pixel Size", "Must be at least 1", Graph, 100, 100, "pixels", {Range::AtLeastOne}},
    {"Starting Position - X", kStartTip, Graph, 100, 100, "m"},
    {"Starting Position - Y", kStartTip, Graph, 100, 100, "m"},
    {"Front Wheel Sensitivity",
     "From 0 and 1, inclusive.  Analogous to the rigidity of front wheel's steering.  A value of "
     "1 gives no-friction front wheels.  See Help > Yawmark Guide (F1).",
     Graph,
     1,
     10000,
     "0 to 1",
     {Range::UnitInterval}},
}};

constexpr BoxInfo kGyration{
    "Radius of Gyration (m)",
    "10 ft = 3.048 m    Must be greater than 0.  Specify by assuming all mass "
    "concentrated this distance from mass center.",
    Vehicle,
    10,
    100,
    "m: all the mass as if this far from the mass centre",
    {Range::Positive}};

} // namespace

bool Range::holds(double v) const {
    switch (kind) {
    case Any:
        return true;
    case Positive:
        return v > 0;
    case NonZero:
        return v != 0;
    case AtLeastOne:
        return v >= 1;
    case UnitInterval:
        return v >= 0 && v <= 1;
    case Percent:
        return v >= 0 && v <= 100;
    }
    return true;
}

double Range::low() const {
    switch (kind) {
    case Positive:
    case UnitInterval:
    case Percent:
        return 0;
    case AtLeastOne:
        return 1;
    case Any:
    case NonZero:
        break;
    }
    return -HUGE_VAL;
}

double Range::high() const {
    switch (kind) {
    case UnitInterval:
        return 1;
    case Percent:
        return 100;
    default:
        break;
    }
    return HUGE_VAL;
}

std::string_view Range::text() const {
    switch (kind) {
    case Any:
        return {};
    case Positive:
        return "be greater than 0";
    case NonZero:
        return "not be 0";
    case AtLeastOne:
        return "be at least 1";
    case UnitInterval:
        return "be from 0 to 1";
    case Percent:
        return "be from 0 to 100";
    }
    return {};
}

std::optional<BoxProblem> checkRange(int i, double value) {
    const Range range = boxInfo(i).range;
    if (range.holds(value)) return std::nullopt;
    return BoxProblem{i, "must " + std::string(range.text()) + "."};
}

const BoxInfo& boxInfo(int i, InertiaForm form) {
    if (i == kInertiaBox && form == InertiaForm::Gyration) return kGyration;
    return kRows.at(static_cast<std::size_t>(i));
}

std::string boxMessage(const BoxProblem& problem, InertiaForm form) {
    std::string text = "\"";
    text += boxInfo(problem.box, form).caption;
    text += "\" ";
    text += problem.what;
    return text;
}

double stepped(int i, double value, int steps) {
    const BoxInfo& info = boxInfo(i);
    if (info.divisor == 0) return value;
    const double unit = 1.0 / info.divisor;
    const double delta = static_cast<double>(steps) / info.divisor;
    const double to = value + delta;
    const Range range = info.range;
    if (range.holds(to)) return to;
    if (range.kind == Range::NonZero) return to + delta;
    if (steps > 0 && to > range.high()) return std::max(value, range.high());
    // The least number the box takes: its low end, one unit above a Positive box's 0.
    const double least = range.kind == Range::Positive ? unit : range.low();
    if (steps < 0 && to < least) return std::min(value, least);
    return to; // from beyond an end, towards the range
}

} // namespace yawmark::model
