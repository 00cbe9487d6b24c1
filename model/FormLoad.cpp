#include "model/FormLoad.h"

#include "model/Boxes.h"
#include "model/Presets.h"
#include "sim/InitialConditions.h"
#include "sim/StartupDefaults.h"

namespace yawmark {

void formLoad(Params& p, RunState& s, BoxTexts& t) {
    loadStartupDefaults(p, s);
    carMcLaren(p);
    s.heading = 0;
    s.omega = iniOmega(p);
    calcMmtInertia(p);
    InitBoxes(p, s, t, true);
}

} // namespace yawmark
