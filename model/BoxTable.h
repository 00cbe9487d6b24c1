// The nineteen parameter boxes: captions, tooltips and the spinner coupling
// of each, and the tooltip of the five trail check boxes. Plain data, no
// widgets, so the panel, the window and the batch runner share one table.
#pragma once

#include <string>
#include <string_view>

namespace yawmark {

inline constexpr int kBoxCount = 19;
inline constexpr int kWheelBoxCount = 5;

// Box numbers with a meaning of their own elsewhere in the program.
inline constexpr int kInertiaBox = 5;
inline constexpr int kSteeringBox = 8;
inline constexpr int kRadiusBox = 9;
inline constexpr int kRelativeDirectionBox = 11;
inline constexpr int kAngularVelocityBox = 12;
inline constexpr int kSensitivityBox = 18;

// Caption of box i; box 5 reads "Radius of Gyration (m)" when useGyration.
std::string_view boxCaption(int i, bool useGyration = false);

// Tooltip of box i (and of its caption label); box 5 as for its caption.
std::string_view boxTooltip(int i, bool useGyration = false);

// Arrow step of the spinner beside box i, in spinner units.
int boxSpinnerStep(int i, bool useGyration = false);

// What a spinner unit is worth in box i: the box changes by step / divisor
// per click. Box 8 (steering words) has no divisor: 0.
int boxSpinnerDivisor(int i);

// Tooltip of each trail check box chkWheel(0..4).
inline constexpr std::string_view kWheelTooltip =
    "Connect plotted pixels.  Useful at low resolution (high calc. interval).";

// The message shown for a box that cannot be used: the caption in quotes,
// then what is wrong, e.g. "Vehicle Mass (kg)" must not be 0.
std::string boxMessage(int i, bool useGyration, std::string_view what);

} // namespace yawmark
