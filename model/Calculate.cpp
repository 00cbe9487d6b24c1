#include "model/Calculate.h"

#include "model/BoxTable.h"
#include "model/Boxes.h"
#include "sim/InitialConditions.h"
#include "sim/NumberText.h"
#include "sim/Validation.h"

#include <cmath>

namespace yawmark {

BoxMessage toMessage(const BoxProblem& problem, const Params& p) {
    return {problem.box, boxMessage(problem.box, p.useGyration, problem.what)};
}

std::optional<BoxMessage> cmdNormal(BoxTexts& t, Params& p, RunState& s) {
    Params q = p;
    RunState r = s;
    if (auto problem = ReadBoxes(t, q, r)) return toMessage(*problem, q);
    if (auto problem = validateNormal(q)) return toMessage(*problem, q);
    const double omega = iniOmega(q);
    t.txtInput[kRelativeDirectionBox].assign(1,
                                             '0'); // in normal driving the car points where it goes
    t.txtInput[kAngularVelocityBox] = formatNumber(-omega / (2 * q.pi));
    p = std::move(q);
    s = r;
    return std::nullopt;
}

std::optional<BoxMessage> inertiaBoxText(const Params& p, std::string& text) {
    if (!p.useGyration) {
        text = formatNumber(p.momentInertia);
        return std::nullopt;
    }
    if (auto problem = validateGyration(p)) return toMessage(*problem, p);
    text = formatNumber(std::sqrt(p.momentInertia / p.vehicleMass));
    return std::nullopt;
}

std::optional<BoxMessage> cmdInertia(BoxTexts& t, Params& p, RunState& s) {
    Params q = p;
    RunState r = s;
    if (auto problem = ReadBoxes(t, q, r)) return toMessage(*problem, q);
    if (auto problem = validateInertia(q)) return toMessage(*problem, q);
    calcMmtInertia(q);
    std::string text;
    if (auto message = inertiaBoxText(q, text)) return message;
    t.txtInput[kInertiaBox] = text;
    p = std::move(q);
    s = r;
    return std::nullopt;
}

} // namespace yawmark
