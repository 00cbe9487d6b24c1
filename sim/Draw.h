// SPDX-License-Identifier: MIT
// The engine draws nothing itself: whoever wants to see the car's passes
// implements this (the window's plot, the batch runner's image, a test's
// recorder) and is called once a pass, before the step moves the car.
#pragma once

#include "sim/Step.h"

namespace yawmark::sim {

class Drawer {
public:
    virtual ~Drawer() = default;
    // The car where `body` has it, with its wheels at `wheels`. A lasting
    // drawing (the start, a snapshot) stays on the picture and restarts
    // joined trails; an ordinary one shows the outline until the next pass.
    virtual void drawCar(const Body& body, const WheelPlacement& wheels, bool lasting) = 0;
    // A pass drawn again from a record: the points of the trails, and the
    // outline only where it lasted (an ordinary one would be gone by now).
    virtual void redrawCar(const Body& body, const WheelPlacement& wheels, bool lasting) {
        drawCar(body, wheels, lasting);
    }
};

} // namespace yawmark::sim
