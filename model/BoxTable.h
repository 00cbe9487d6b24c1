// SPDX-License-Identifier: MIT
// The nineteen parameter boxes: what each is called, what its tooltip says,
// how its spinner steps it and on which tab of the panel it lies. One table
// that the panel, the messages, the batch runner and case files all read.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace yawmark::model {

inline constexpr int kBoxCount = 19;
inline constexpr int kTrailCount = 5; // the mass centre and the four wheels

// Boxes with a meaning of their own elsewhere in the program.
enum Box : int {
    kLengthBox = 0,
    kWidthBox = 1,
    kMassBox = 2,
    kDistributionBox = 3,
    kFrictionBox = 4,
    kInertiaBox = 5,
    kSpeedBox = 6,
    kDirectionBox = 7,
    kSteeringBox = 8,
    kRadiusBox = 9,
    kGravityBox = 10,
    kRelativeDirectionBox = 11,
    kYawRateBox = 12,
    kIntervalBox = 13,
    kSnapIntervalBox = 14,
    kPixelSizeBox = 15,
    kStartXBox = 16,
    kStartYBox = 17,
    kSensitivityBox = 18,
};

enum class Tab { Vehicle = 0, InitialConditions = 1, Graph = 2 };

// Box 5 holds either the moment of inertia or the radius of gyration k
// (I = k²·m), as the user chose in Options.
enum class InertiaForm { Moment, Gyration };

// The values a box takes, as its tooltip promises them.
struct Range {
    enum Kind { Any, Positive, NonZero, AtLeastOne, UnitInterval, Percent };
    Kind kind = Any;

    bool holds(double v) const;
    // The ends of the range, infinite where it has none. A Positive range's low
    // end (0) is not in it, nor is 0 in a NonZero range; every other end is.
    double low() const;
    double high() const;
    // What the box must do, after "must": "be greater than 0", ... Empty for Any.
    std::string_view text() const;
};

struct BoxInfo {
    std::string_view caption;
    std::string_view tooltip;
    Tab tab;
    int step;               // spinner arrow step, in spinner units
    int divisor;            // a spinner unit is worth 1/divisor in the box (0: words, not numbers)
    std::string_view units; // unit and sign convention, for the guide
    Range range = {};
};

// Box i (0..18); box 5 as `form` has it.
const BoxInfo& boxInfo(int i, InertiaForm form = InertiaForm::Moment);

// The name of each box in a case file, and its unit there (the box's own).
inline constexpr std::array<std::string_view, kBoxCount> kBoxKeys{"wheelbaseLength",
                                                                  "wheelbaseWidth",
                                                                  "mass",
                                                                  "rearWeightPercent",
                                                                  "friction",
                                                                  "inertia",
                                                                  "speed",
                                                                  "direction",
                                                                  "steering",
                                                                  "turnRadius",
                                                                  "gravity",
                                                                  "relativeDirection",
                                                                  "yawRate",
                                                                  "interval",
                                                                  "snapshotInterval",
                                                                  "pixelSize",
                                                                  "startX",
                                                                  "startY",
                                                                  "frontSensitivity"};
// The name of each trail's check box in a case file: the mass centre, then FL, FR, RR, RL.
inline constexpr std::array<std::string_view, kTrailCount> kTrailKeys{
    "massCentre", "frontLeft", "frontRight", "rearRight", "rearLeft"};

// The tooltip of the five trail check boxes.
inline constexpr std::string_view kTrailTooltip =
    "Connect plotted pixels.  Useful at low resolution (high calc. interval).";

// A box that cannot be used: which, and what is wrong ("must not be 0.").
struct BoxProblem {
    int box = 0;
    std::string what;
};

// Why a number read from box i cannot be used there, or nothing.
std::optional<BoxProblem> checkRange(int i, double value);

// The message for a problem: the caption in quotes, then what is wrong, e.g.
// "Vehicle Mass (kg)" must not be 0.
std::string boxMessage(const BoxProblem& problem, InertiaForm form);

// Box i's number after `steps` spinner units (its arrow step is boxInfo(i).step
// of them, up positive), held in the box's range: a step that would leave it
// stops at the end it passes (above a Positive box's 0, at one spinner unit),
// or leaves a number already beyond that end where it is; a NonZero box steps
// over 0. A box of words (divisor 0) keeps its value.
double stepped(int i, double value, int steps);

} // namespace yawmark::model
