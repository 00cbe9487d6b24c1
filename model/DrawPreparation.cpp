#include "model/DrawPreparation.h"

#include "model/Boxes.h"
#include "sim/Validation.h"

namespace yawmark {

std::optional<BoxMessage> prepareDraw(BoxTexts& t, Params& p, RunState& s, AutoCalculate autos) {
    BoxTexts texts = t;
    Params q = p;
    RunState r = s;
    if (autos.normal)
        if (auto message = cmdNormal(texts, q, r)) return message;
    if (autos.inertia)
        if (auto message = cmdInertia(texts, q, r)) return message;
    if (auto problem = ReadBoxes(texts, q, r)) return toMessage(*problem, q);
    if (auto problem = validateRun(q, r)) return toMessage(*problem, q);
    t = std::move(texts);
    p = std::move(q);
    s = r;
    return std::nullopt;
}

} // namespace yawmark
