// SPDX-License-Identifier: MIT
// Units typed after a box's number. A box holds its value in the unit its
// caption names; a number may be followed by another unit of the same kind
// ("90 km/h" in the speed box, "5 ft" in a length box), which is converted to
// the box's unit when the box is read. A unit of another kind is refused,
// naming what the box takes.
#pragma once

#include "model/BoxTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace yawmark::model {

// What a box measures, and so which units it takes.
enum class Measure {
    None, // a plain number: friction, sensitivity
    Length,
    Speed,
    Mass,
    Angle,
    AngularVelocity,
    Time,
    Acceleration,
    Inertia,
    Percent,
    Pixels,
};

Measure boxMeasure(int box, InertiaForm form);

// "a speed (m/s, km/h, mph, ft/s)": what a box of this measure takes, for messages
// and the guide; "a number without a unit" for None.
std::string measureText(Measure measure);

// A box's text split at the end of its number: "90 km/h" -> "90", "km/h".
// The number part is empty when the text does not start with one.
struct NumberAndUnit {
    std::string_view number;
    std::string_view unit; // blanks around it removed; empty when none was typed
};
NumberAndUnit splitUnit(std::string_view text);

// The value of box `box`'s text in the box's own unit, or what is wrong: not
// a number, or a unit the box does not take.
std::variant<double, BoxProblem> readBoxValue(int box, std::string_view text, InertiaForm form);

} // namespace yawmark::model
