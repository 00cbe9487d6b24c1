// SPDX-License-Identifier: MIT
#include "model/Units.h"

#include <cmath>
#include <cstdio>

namespace yawmark::model {

double lengthUnit(Units units) {
    return units == Units::US ? kMetresPerFoot : 1.0;
}

std::string_view lengthName(Units units) {
    return units == Units::US ? "ft" : "m";
}

Shown shown(Units units, double value, std::string_view unit) {
    if (units == Units::US) {
        if (unit == "m") return {value / kMetresPerFoot, "ft"};
        if (unit == "m/s") return {value / kMetresPerSecondPerMph, "mph"};
        if (unit == "cm") return {value / (100 * kMetresPerFoot / 12), "in"};
    }
    return {value, unit};
}

std::string fixedText(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::abs(value));
    const bool negative =
        value < 0 && std::string_view(buffer).find_first_not_of("0.") != std::string_view::npos;
    return (negative ? "\u2212" : "") + std::string(buffer);
}

namespace {

// Two significant digits at most.
std::string twoDigits(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2g", value);
    return buffer;
}

} // namespace

std::string smallLengthText(double metres, Units units) {
    if (units == Units::US) {
        const double inches = metres / kMetresPerFoot * 12;
        if (inches < 0.01) return "a hundredth of an inch";
        if (inches < 12) return twoDigits(inches) + " in";
        return twoDigits(inches / 12) + " ft";
    }
    if (metres < 0.0001) return "a tenth of a millimetre";
    if (metres < 0.01) return twoDigits(metres * 1000) + " mm";
    if (metres < 1) return fixedText(std::round(metres * 100), 0) + " cm";
    return twoDigits(metres) + " m";
}

std::string axesTip(Units units) {
    return units == Units::US ? "Axes are to-scale in feet (10 ft = 3.048 m)"
                              : "Axes are to-scale in meters (10 ft = 3.048 m)";
}

} // namespace yawmark::model
