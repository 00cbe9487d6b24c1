#include "sim/StartupDefaults.h"

#include <cmath>

namespace yawmark {

void loadStartupDefaults(Params& p, RunState& s) {
    p.pi = 4 * std::atan(1.0);
    s.gravity = 9.8;
    p.initVx = 0;
    p.initVy = 20;
    p.turnRadius = 17;
    p.steerDir = std::string("L"); // (a plain literal trips a false -Wrestrict in g++ 12)
    p.timeStep = 0.01;
    p.frontSensitivity = 0.0001;
    p.pixelSize = 1;
    p.xMin = -20;
    p.xMax = 7.5;
    p.yMin = -15;
    p.yMax = 35;
    p.xInterval = 4;
    p.yInterval = 4;
    p.startX = 0;
    p.startY = 0;
    p.connectPixels.fill(false);
    p.pointColor = kPointColor;
    p.useGyration = false;
    s.heading = 0;
}

} // namespace yawmark
