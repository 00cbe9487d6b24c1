// SPDX-License-Identifier: MIT
// Between the texts of the parameter boxes and a case: writing a case into
// the boxes in their display units, reading the boxes into a case with every
// refusal naming its box, and the two "Calculate" computations, which write
// their results back into the boxes for the next reading to take.
#pragma once

#include "model/BoxTable.h"
#include "model/Case.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace yawmark::model {

// What the panel shows: the only copy of the user's unread input.
struct BoxTexts {
    std::array<std::string, kBoxCount> text;
    std::array<int, kTrailCount> trail{}; // check boxes: 1 ticked, 0 unticked, 2 greyed
    friend bool operator==(const BoxTexts&, const BoxTexts&) = default;
};

// A value, or the box that stood in the way.
template <class T> using Checked = std::variant<T, BoxProblem>;

// Writes the vehicle boxes 0 to 4; with `all`, every box and trail check box.
// Boxes 7 and 11 are written "0" (the car drives where it points), box 14
// gets 40 passes.
void writeBoxes(const Case& c, BoxTexts& t, bool all);

// The steering a text of box 8 names: Left, Right, Center or their codes L,
// R, CE, in any letter case, blanks around them ignored.
std::optional<sim::Steering> parseSteering(std::string_view text);
std::string_view steeringWord(sim::Steering steering);

// Reads every box. The first box that is not one finite number within its
// range (box 8: not a steering) is refused, in reading order (box 7 before
// box 6: the direction is needed for the velocity).
Checked<Case> readCase(const BoxTexts& t, InertiaForm form);

// The normal-driving "Calculate": reads the boxes, then writes "0" into box
// 11 and the yaw rate of normal driving, in turns per second clockwise, into
// box 12. Returns the case read, or the problem (and the texts stay as they were).
Checked<Case> calculateNormal(BoxTexts& t, InertiaForm form);

// The moment-of-inertia "Calculate": reads the boxes, then writes the moment of
// inertia of a homogeneous car into box 5 (as a radius of gyration in that form).
Checked<Case> calculateInertia(BoxTexts& t, InertiaForm form);

// Box 5's text for the car's moment of inertia in `form`, or why there is none.
Checked<std::string> inertiaText(const sim::Car& car, InertiaForm form);

// The two "Auto Calculate" check boxes.
struct AutoCalculate {
    bool normal = true;
    bool inertia = true;
    friend bool operator==(const AutoCalculate&, const AutoCalculate&) = default;
};

// What Draw does with the boxes: the ticked "Calculate"s, the reading, and
// the checks that the run is defined, all on copies. On success the case and
// the texts as they must now show (boxes 5, 11, 12 may have changed, and box 8
// shows its steering as a word).
struct Prepared {
    Case c;
    BoxTexts texts;
};
Checked<Prepared> prepareDraw(const BoxTexts& t, AutoCalculate autos, InertiaForm form);

} // namespace yawmark::model
