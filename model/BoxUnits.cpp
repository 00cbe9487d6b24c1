// SPDX-License-Identifier: MIT
#include "model/BoxUnits.h"

#include "model/Text.h"
#include "model/Units.h"
#include "sim/NumberText.h"

#include <array>
#include <cctype>
#include <cmath>
#include <numbers>
#include <span>

namespace yawmark::model {

namespace {

// A unit and how to bring a number in it to the box's unit: multiply by
// `times`, then divide by `per` (a division keeps 90 km/h at exactly 25 m/s).
struct UnitRow {
    std::string_view name;
    double times;
    double per = 1;
    bool listed = true; // named in the message (not the spelling variants)
};

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;
constexpr double kPound = 0.45359237; // kg, by definition
constexpr double kInch = 0.0254;      // m, by definition

constexpr std::array kLength{UnitRow{"m", 1},
                             UnitRow{"cm", 1, 100},
                             UnitRow{"mm", 1, 1000},
                             UnitRow{"ft", kMetresPerFoot},
                             UnitRow{"in", kInch},
                             UnitRow{"'", kMetresPerFoot, 1, false},
                             UnitRow{"\"", kInch, 1, false}};
constexpr std::array kSpeed{UnitRow{"m/s", 1}, UnitRow{"km/h", 1, 3.6},
                            UnitRow{"mph", kMetresPerSecondPerMph}, UnitRow{"ft/s", kMetresPerFoot},
                            UnitRow{"kph", 1, 3.6, false}};
constexpr std::array kMass{UnitRow{"kg", 1}, UnitRow{"lb", kPound},
                           UnitRow{"lbs", kPound, 1, false}};
constexpr std::array kAngle{UnitRow{"degrees", 1}, UnitRow{"rad", kDegreesPerRadian},
                            UnitRow{"deg", 1, 1, false}, UnitRow{"°", 1, 1, false},
                            UnitRow{"degree", 1, 1, false}};
constexpr std::array kAngularVelocity{UnitRow{"turn/s", 1},
                                      UnitRow{"rad/s", 1, 2 * std::numbers::pi},
                                      UnitRow{"deg/s", 1, 360}, UnitRow{"rpm", 1, 60}};
constexpr std::array kTime{UnitRow{"ms", 1}, UnitRow{"s", 1000}};
constexpr std::array kAcceleration{UnitRow{"m/s^2", 1}, UnitRow{"ft/s^2", kMetresPerFoot},
                                   UnitRow{"m/s²", 1, 1, false},
                                   UnitRow{"ft/s²", kMetresPerFoot, 1, false}};
constexpr std::array kInertia{UnitRow{"kg-m^2", 1}, UnitRow{"kg·m²", 1, 1, false},
                              UnitRow{"kg m^2", 1, 1, false}};
constexpr std::array kPercent{UnitRow{"%", 1}};
constexpr std::array kPixels{UnitRow{"px", 1}};

struct MeasureRow {
    std::string_view what;
    std::span<const UnitRow> units;
};

MeasureRow measureRow(Measure m) {
    switch (m) {
    case Measure::None:
        return {"a number without a unit", {}};
    case Measure::Length:
        return {"a length", kLength};
    case Measure::Speed:
        return {"a speed", kSpeed};
    case Measure::Mass:
        return {"a mass", kMass};
    case Measure::Angle:
        return {"an angle", kAngle};
    case Measure::AngularVelocity:
        return {"an angular velocity", kAngularVelocity};
    case Measure::Time:
        return {"a time", kTime};
    case Measure::Acceleration:
        return {"an acceleration", kAcceleration};
    case Measure::Inertia:
        return {"a moment of inertia", kInertia};
    case Measure::Percent:
        return {"a percentage", kPercent};
    case Measure::Pixels:
        return {"a number of pixels", kPixels};
    }
    return {};
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

Measure boxMeasure(int box, InertiaForm form) {
    switch (box) {
    case kLengthBox:
    case kWidthBox:
    case kRadiusBox:
    case kStartXBox:
    case kStartYBox:
        return Measure::Length;
    case kMassBox:
        return Measure::Mass;
    case kDistributionBox:
        return Measure::Percent;
    case kInertiaBox:
        return form == InertiaForm::Gyration ? Measure::Length : Measure::Inertia;
    case kSpeedBox:
        return Measure::Speed;
    case kDirectionBox:
    case kRelativeDirectionBox:
        return Measure::Angle;
    case kGravityBox:
        return Measure::Acceleration;
    case kYawRateBox:
        return Measure::AngularVelocity;
    case kIntervalBox:
    case kSnapIntervalBox:
        return Measure::Time;
    case kPixelSizeBox:
        return Measure::Pixels;
    default:
        return Measure::None;
    }
}

std::string measureText(Measure measure) {
    const MeasureRow row = measureRow(measure);
    std::string text(row.what);
    std::string names;
    for (const UnitRow& u : row.units)
        if (u.listed) names += (names.empty() ? "" : ", ") + std::string(u.name);
    if (!names.empty()) text += " (" + names + ")";
    return text;
}

NumberAndUnit splitUnit(std::string_view text) {
    text = trimmed(text);
    const std::size_t n = numberLength(text);
    return {text.substr(0, n), trimmed(text.substr(n))};
}

std::variant<double, BoxProblem> readBoxValue(int box, std::string_view text, InertiaForm form) {
    const NumberAndUnit split = splitUnit(text);
    const std::optional<double> number = parseNumber(split.number);
    // A unit starts with a letter or a sign such as %, ° or '; "4,5", "1.2.3"
    // or "1 2" is a mistyped number, not a number with a unit.
    const unsigned char first = split.unit.empty() ? 'm' : split.unit.front();
    const bool unitLike =
        std::isalpha(first) || first >= 0x80 ||
        std::string_view("%'\"").find(static_cast<char>(first)) != std::string_view::npos;
    if (!number.has_value() || !unitLike) {
        const bool blank = trimmed(text).empty();
        return BoxProblem{box, blank ? "is empty: a number is needed."
                                     : "is not a number: \"" + printable(text) + "\"."};
    }
    const double typed = number.value();
    if (split.unit.empty()) return typed;
    const Measure measure = boxMeasure(box, form);
    for (const UnitRow& u : measureRow(measure).units) {
        if (!sameLetters(split.unit, u.name)) continue;
        const double value = typed * u.times / u.per;
        if (!std::isfinite(value))
            return BoxProblem{box, "is too large: \"" + printable(trimmed(text)) +
                                       "\" is more than a number can hold in the box's unit."};
        return value;
    }
    return BoxProblem{box,
                      "takes " + measureText(measure) + ", not \"" + printable(split.unit) + "\"."};
}

} // namespace yawmark::model
