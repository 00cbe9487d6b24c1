// The start-up parameters with the default vehicle, for the core's tests
// (the presets themselves live in the panel).
#pragma once

#include "sim/Forces.h"
#include "sim/InitialConditions.h"
#include "sim/Params.h"
#include "sim/Pass.h"
#include "sim/RunState.h"
#include "sim/StartupDefaults.h"

namespace yawmark::test {

inline void loadDefaultCar(Params& p, RunState& s) {
    loadStartupDefaults(p, s);
    p.wheelbaseLength = 4.29;
    p.wheelbaseWidth = 1.82;
    p.vehicleMass = 1139;
    p.frontShare = 0.412;
    p.kineticFriction = 10 / 11.16;
    s.omega = iniOmega(p);
    calcMmtInertia(p);
}

// The default skid at its start: placed and with its wheel friction.
inline void startDefaultSkid(Params& p, RunState& s) {
    loadDefaultCar(p, s);
    placeAtStart(p, s);
    calcForce(p, s);
}

} // namespace yawmark::test
