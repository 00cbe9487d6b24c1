#include "model/Boxes.h"

#include "sim/NumberText.h"

#include <cmath>

namespace yawmark {

void InitBoxes(const Params& p, const RunState& s, BoxTexts& t, bool all) {
    auto& box = t.txtInput;
    box[0] = formatNumber(p.wheelbaseLength);
    box[1] = formatNumber(p.wheelbaseWidth);
    box[2] = formatNumber(p.vehicleMass);
    box[3] = formatNumber((1 - p.frontShare) * 100);
    box[4] = formatNumber(p.kineticFriction);
    if (!all) return;
    box[5] = formatNumber(p.momentInertia);
    box[6] = formatNumber(std::sqrt(p.initVx * p.initVx + p.initVy * p.initVy));
    box[7] = "0";
    if (p.steerDir == "L")
        box[8] = "Left";
    else if (p.steerDir == "R")
        box[8] = "Right";
    else if (p.steerDir == "CE")
        box[8] = "Center";
    box[9] = formatNumber(p.turnRadius);
    box[10] = formatNumber(s.gravity);
    box[11] = "0";
    box[12] = formatNumber(-s.omega / (p.pi + p.pi));
    box[13] = formatNumber(p.timeStep * 1000);
    box[14] = formatNumber(p.timeStep * 40000);
    box[15] = formatNumber(p.pixelSize);
    box[16] = formatNumber(p.startX);
    box[17] = formatNumber(p.startY);
    box[18] = formatNumber(p.frontSensitivity);
    for (int i = 0; i < kWheelBoxCount; ++i)
        t.chkWheel[i] = p.connectPixels[i] ? 1 : 0;
}

std::optional<BoxProblem> ReadBoxes(const BoxTexts& t, Params& p, RunState& s) {
    // Every number first, in reading order; nothing is stored until all read.
    static constexpr int kOrder[] = {0, 1, 2, 3, 4, 5, 7, 6, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    std::array<double, kBoxCount> v{};
    for (int i : kOrder) {
        const auto number = parseNumber(t.txtInput[i]);
        if (!number) {
            const bool blank = t.txtInput[i].find_first_not_of(" \t") == std::string::npos;
            return BoxProblem{i, blank ? "is empty: a number is needed."
                                       : "is not a number: \"" + t.txtInput[i] + "\"."};
        }
        v[i] = *number;
    }

    Params q = p;
    q.wheelbaseLength = v[0];
    q.wheelbaseWidth = v[1];
    q.vehicleMass = v[2];
    q.frontShare = 1 - v[3] / 100;
    q.kineticFriction = v[4];
    q.momentInertia = q.useGyration ? v[5] * v[5] * q.vehicleMass : v[5];
    if (!std::isfinite(q.momentInertia))
        return BoxProblem{5, "is too large: the moment of inertia would overflow."};
    const double a = v[7] / 180 * q.pi;
    q.initVx = v[6] * std::sin(a);
    q.initVy = v[6] * std::cos(a);
    const std::string& steering = t.txtInput[kSteeringBox];
    if (steering == "Left")
        q.steerDir = "L";
    else if (steering == "Right")
        q.steerDir = "R";
    else if (steering == "Center")
        q.steerDir = "CE";
    q.turnRadius = v[9];
    const double gravity = v[10];
    const double b = v[11] / 180 * q.pi;
    const double heading = -a - b;
    const double omega = -v[12] * 2 * q.pi;
    if (!std::isfinite(omega))
        return BoxProblem{12, "is too large: the angular velocity would overflow."};
    q.timeStep = v[13] / 1000;
    q.nextSnapTime = v[14] / 1000;
    q.snapInterval = q.nextSnapTime;
    q.pixelSize = v[15];
    q.startX = v[16];
    q.startY = v[17];
    q.frontSensitivity = v[18];
    for (int i = 0; i < kWheelBoxCount; ++i)
        q.connectPixels[i] = t.chkWheel[i] == 1;

    p = std::move(q);
    s.gravity = gravity;
    s.heading = heading;
    s.omega = omega;
    return std::nullopt;
}

} // namespace yawmark
