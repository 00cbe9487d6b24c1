// SPDX-License-Identifier: MIT
#include "model/BoxTable.h"

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
     "1 ton = 907.18 kg on Earth.  Must be non-zero.  If opposite in sign to Moment of Inertia, "
     "produces negative Moment of Inertia.",
     Vehicle, 5000, 100, "kg"},
    {"Weight Distribution (% Rear)",
     "All values.  Adjusts position of Center of Mass.  Keep in mind its turning radius and "
     "position are used to calculate steering angle.",
     Vehicle, 20, 100, "% of the weight on the rear axle"},
    {"Tire Coefficient of Kinetic Friction",
     "> 0 in real life.  Negative values reverse directions of all forces.", Vehicle, 5, 100,
     "no unit"},
    {"Moment of Inertia (kg-m^2)",
     "1000 lb-ft-sec^2 = 1355.8 kg-m^2    Must be non-zero.  Can be negative.", Vehicle, 5000, 100,
     "kg·m²"},
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
    {"g (acceleration due to gravity) (m/s^2)", "Gravity (duh)", InitialConditions, 10, 100,
     "m/s²"},
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
    "10 ft = 3.048 m    Must be non-zero (negative OK).  Specify by assuming all mass "
    "concentrated this distance from mass center.",
    Vehicle,
    10,
    100,
    "m: all the mass as if this far from the mass centre"};

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
    }
    return true;
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

} // namespace yawmark::model
