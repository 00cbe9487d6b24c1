#include "model/Boxes.h"

#include "model/Validation.h"
#include "sim/NumberText.h"

#include <cmath>
#include <numbers>

namespace yawmark::model {

namespace {

constexpr double pi = std::numbers::pi;

std::string_view steeringWord(sim::Steering s) {
    switch (s) {
    case sim::Steering::Left: return "Left";
    case sim::Steering::Right: return "Right";
    case sim::Steering::Center: return "Center";
    }
    return {};
}

} // namespace

void writeBoxes(const Case& c, BoxTexts& t, bool all) {
    auto& box = t.text;
    box[kLengthBox] = formatNumber(c.car.length);
    box[kWidthBox] = formatNumber(c.car.width);
    box[kMassBox] = formatNumber(c.car.mass);
    box[kDistributionBox] = formatNumber((1 - c.car.frontShare) * 100);
    box[kFrictionBox] = formatNumber(c.car.friction);
    if (!all) return;
    box[kInertiaBox] = formatNumber(c.car.inertia);
    box[kSpeedBox] = formatNumber(sim::length(c.launch.velocity));
    box[kDirectionBox] = "0";
    box[kSteeringBox] = steeringWord(c.car.steering);
    box[kRadiusBox] = formatNumber(c.car.turnRadius);
    box[kGravityBox] = formatNumber(c.car.gravity);
    box[kRelativeDirectionBox] = "0";
    box[kYawRateBox] = formatNumber(-c.launch.yawRate / (pi + pi));
    box[kIntervalBox] = formatNumber(c.run.timeStep * 1000);
    box[kSnapIntervalBox] = formatNumber(c.run.timeStep * 40000);
    box[kPixelSizeBox] = formatNumber(c.style.pixelSize);
    box[kStartXBox] = formatNumber(c.launch.start.x);
    box[kStartYBox] = formatNumber(c.launch.start.y);
    box[kSensitivityBox] = formatNumber(c.car.frontSensitivity);
    for (int i = 0; i < kTrailCount; ++i)
        t.trail[i] = c.style.joined[i] ? 1 : 0;
}

Checked<Case> readCase(const BoxTexts& t, InertiaForm form, sim::Steering steering) {
    static constexpr int kOrder[] = {0, 1, 2, 3, 4, 5, 7, 6, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    std::array<double, kBoxCount> v{};
    for (int i : kOrder) {
        const auto number = parseNumber(t.text[i]);
        if (!number) {
            const bool blank = t.text[i].find_first_not_of(" \t") == std::string::npos;
            return BoxProblem{i, blank ? "is empty: a number is needed."
                                       : "is not a number: \"" + t.text[i] + "\"."};
        }
        v[i] = *number;
    }

    Case c;
    sim::Car& car = c.car;
    car.length = v[kLengthBox];
    car.width = v[kWidthBox];
    car.mass = v[kMassBox];
    car.frontShare = 1 - v[kDistributionBox] / 100;
    car.friction = v[kFrictionBox];
    car.inertia =
        form == InertiaForm::Gyration ? v[kInertiaBox] * v[kInertiaBox] * car.mass : v[kInertiaBox];
    if (!std::isfinite(car.inertia))
        return BoxProblem{kInertiaBox, "is too large: the moment of inertia would overflow."};
    // Directions are typed clockwise from +y; headings turn counter-clockwise.
    const double travel = v[kDirectionBox] / 180 * pi;
    c.launch.velocity = {v[kSpeedBox] * std::sin(travel), v[kSpeedBox] * std::cos(travel)};
    const std::string& word = t.text[kSteeringBox];
    car.steering = word == "Left"     ? sim::Steering::Left
                   : word == "Right"  ? sim::Steering::Right
                   : word == "Center" ? sim::Steering::Center
                                      : steering;
    car.turnRadius = v[kRadiusBox];
    car.gravity = v[kGravityBox];
    const double relative = v[kRelativeDirectionBox] / 180 * pi;
    c.launch.heading = -travel - relative;
    // Turns per second, clockwise positive.
    c.launch.yawRate = -v[kYawRateBox] * 2 * pi;
    if (!std::isfinite(c.launch.yawRate))
        return BoxProblem{kYawRateBox, "is too large: the angular velocity would overflow."};
    c.run.timeStep = v[kIntervalBox] / 1000;
    c.run.snapInterval = v[kSnapIntervalBox] / 1000;
    c.style.pixelSize = v[kPixelSizeBox];
    c.launch.start = {v[kStartXBox], v[kStartYBox]};
    car.frontSensitivity = v[kSensitivityBox];
    for (int i = 0; i < kTrailCount; ++i)
        c.style.joined[i] = t.trail[i] == 1;
    return c;
}

Checked<Case> calculateNormal(BoxTexts& t, InertiaForm form, sim::Steering steering) {
    auto read = readCase(t, form, steering);
    if (auto* c = std::get_if<Case>(&read)) {
        if (auto problem = validateNormal(*c)) return *problem;
        const double omega = sim::normalYawRate(c->car.steering, c->car.turnRadius,
                                                c->launch.velocity);
        t.text[kRelativeDirectionBox] = "0"; // in normal driving the car points where it goes
        t.text[kYawRateBox] = formatNumber(-omega / (2 * pi));
    }
    return read;
}

Checked<Case> calculateInertia(BoxTexts& t, InertiaForm form, sim::Steering steering) {
    auto read = readCase(t, form, steering);
    if (auto* c = std::get_if<Case>(&read)) {
        if (auto problem = validateInertia(c->car, form)) return *problem;
        c->car.inertia = sim::homogeneousInertia(c->car);
        auto text = inertiaText(c->car, form);
        if (auto* problem = std::get_if<BoxProblem>(&text)) return *problem;
        t.text[kInertiaBox] = std::get<std::string>(text);
    }
    return read;
}

Checked<std::string> inertiaText(const sim::Car& car, InertiaForm form) {
    if (form == InertiaForm::Moment) return formatNumber(car.inertia);
    if (auto problem = validateGyration(car)) return *problem;
    return formatNumber(std::sqrt(car.inertia / car.mass));
}

Checked<Prepared> prepareDraw(const BoxTexts& t, AutoCalculate autos, InertiaForm form,
                              sim::Steering steering) {
    Prepared p{{}, t};
    if (autos.normal) {
        auto read = calculateNormal(p.texts, form, steering);
        if (auto* problem = std::get_if<BoxProblem>(&read)) return *problem;
    }
    if (autos.inertia) {
        auto read = calculateInertia(p.texts, form, steering);
        if (auto* problem = std::get_if<BoxProblem>(&read)) return *problem;
    }
    auto read = readCase(p.texts, form, steering);
    if (auto* problem = std::get_if<BoxProblem>(&read)) return *problem;
    p.c = std::get<Case>(read);
    if (auto problem = validateRun(p.c)) return *problem;
    return p;
}

} // namespace yawmark::model
