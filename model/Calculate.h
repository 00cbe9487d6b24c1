// The two "Calculate" buttons: initial conditions of normal driving, and the
// moment of inertia of a homogeneous car. Each reads the boxes and writes its
// result back into the boxes, from where the next reading takes it.
#pragma once

#include "model/BoxTexts.h"
#include "sim/Params.h"
#include "sim/RunState.h"
#include "sim/Validation.h"

#include <optional>
#include <string>

namespace yawmark {

// A box that cannot be used, and the message to show (naming the box by its caption).
struct BoxMessage {
    int box = 0;
    std::string text;
};

// The message for a problem, with the caption box 5 has in the current mode.
BoxMessage toMessage(const BoxProblem& problem, const Params& p);

// Reads the boxes, then writes "0" into box 11 and the yaw rate of normal
// driving, in turns per second clockwise, into box 12. On a bad box or an
// undefined yaw rate nothing changes (parameters and boxes) and the problem
// is returned.
std::optional<BoxMessage> cmdNormal(BoxTexts& t, Params& p, RunState& s);

// Reads the boxes, computes momentInertia from the dimensions and writes it
// into box 5 (as a radius of gyration when useGyration). On a bad box or an
// undefined result nothing changes and the problem is returned.
std::optional<BoxMessage> cmdInertia(BoxTexts& t, Params& p, RunState& s);

// Box 5's text for the current momentInertia in the form useGyration
// selects, or the problem if there is no such value. For the Options dialog.
std::optional<BoxMessage> inertiaBoxText(const Params& p, std::string& text);

} // namespace yawmark
