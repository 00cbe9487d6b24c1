// SPDX-License-Identifier: MIT
// The units the plot and the readouts are shown in: metric (m, m/s, km/h) or
// US (ft, mph). The case, its boxes and its files always keep the units their
// captions state; only what is shown changes.
#pragma once

#include <string>
#include <string_view>

namespace yawmark::model {

enum class Units { Metric, US };

inline constexpr double kMetresPerFoot = 0.3048;           // exact, by definition
inline constexpr double kMetresPerSecondPerMph = 0.44704;  // 1609.344 m in 3600 s
inline constexpr double kMetresPerSecondPerKmh = 1 / 3.6;

// Metres in one shown unit of length (1 or 0.3048), and its name ("m", "ft").
double lengthUnit(Units units);
std::string_view lengthName(Units units);

// A value in one of the case's units ("m", "m/s", "cm", anything else) as
// shown: lengths in ft, speeds in mph and centimetres in inches for US; the
// rest as it is.
struct Shown {
    double value;
    std::string_view unit;
};
Shown shown(Units units, double value, std::string_view unit);

// A number with `decimals` places and a true minus sign (U+2212), as the
// status bar shows numbers; -0.00 shows as 0.00.
std::string fixedText(double value, int decimals);

// A short length for a note, two digits at most: mm, cm or m; in, or ft from a foot on.
std::string smallLengthText(double metres, Units units);

// The tip under the panel: "Axes are to-scale in meters (10 ft = 3.048 m)",
// or in feet.
std::string axesTip(Units units);

} // namespace yawmark::model
