// The state of a run: the rigid body, the per-wheel working arrays of the
// current pass, the gravity constant and the run flags. Arrays over wheels are
// indexed 1..4 (index 0 unused) so that wheel and tracked-point numbers agree.
#pragma once

#include <array>
#include <limits>

namespace yawmark {

struct RunState {
    // Rigid body, world frame (x right, y up, metres; angles counter-clockwise).
    double simTime = 0;        // time of the state about to be drawn, s
    double cmX = 0, cmY = 0;   // mass centre, m
    double cmVx = 0, cmVy = 0; // its velocity, m/s
    double cmAx = 0, cmAy = 0; // its acceleration in the last pass, m/s²
    double heading = 0;        // θ, body frame against world frame; 0 points the car along +y
    double omega = 0;          // ω, yaw rate, rad/s
    double alpha = 0;          // yaw acceleration in the last pass, rad/s²
    double gravity = 0;        // g, m/s²

    // Per wheel, recomputed every pass from the state at its start.
    // Offset of each wheel from the mass centre, in world orientation, m.
    std::array<std::array<double, 2>, 5> corner{};
    // Velocity of each wheel, m/s (z always 0).
    std::array<std::array<double, 3>, 5> wheelVel{};
    // Axle direction of the front wheels 1 and 2, unit vectors.
    std::array<std::array<double, 2>, 3> wheelNormal{};
    // Kinetic friction magnitude of each wheel, N (set once per run).
    std::array<double, 5> wheelFriction{};
    // Friction force on each wheel, N (z always 0).
    std::array<std::array<double, 3>, 5> wheelForce{};
    std::array<double, 2> totalForce{}; // sum of the wheel forces, N
    double torque = 0;                  // their moment about the mass centre, N·m

    // cos and sin of the heading they were computed for (bit for bit), so that
    // the wheels and the front axles of a pass share one evaluation.
    double trigHeading = std::numeric_limits<double>::quiet_NaN();
    double cosHeading = 1, sinHeading = 0;

    // Run flags.
    // False: the next pass draws a lasting outline and restarts joined trails.
    bool snapDone = false;
    bool stopRequested = false; // the loop leaves after the current pass
    bool paused = false;        // interrupted by Pause or Stop; Pause resumes
    bool realTimeTick = false;  // the pacing timer ticked since the loop last consumed a tick
};

} // namespace yawmark
