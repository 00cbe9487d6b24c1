// SPDX-License-Identifier: MIT
#include "model/Boxes.h"

#include "model/BoxUnits.h"
#include "model/Text.h"
#include "model/Validation.h"
#include "sim/NumberText.h"

#include <array>
#include <cctype>
#include <cmath>
#include <numbers>
#include <utility>

namespace yawmark::model {

namespace {

constexpr double pi = std::numbers::pi;

// After a successful reading: every box typed with a unit shows its value in
// the box's own unit instead, which the next reading takes as it is.
void showInBoxUnits(BoxTexts& t, InertiaForm form) {
    for (int i = 0; i < kBoxCount; ++i) {
        if (i == kSteeringBox || splitUnit(t.text[i]).unit.empty()) continue;
        const auto value = readBoxValue(i, t.text[i], form);
        if (const auto* v = std::get_if<double>(&value)) t.text[i] = formatNumber(*v);
    }
}

} // namespace

std::string_view steeringWord(sim::Steering s) {
    switch (s) {
    case sim::Steering::Left:
        return "Left";
    case sim::Steering::Right:
        return "Right";
    case sim::Steering::Center:
        return "Center";
    }
    return {};
}

std::optional<sim::Steering> parseSteering(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    static constexpr std::array<std::pair<std::string_view, sim::Steering>, 6> kWords{{
        {"Left", sim::Steering::Left},
        {"L", sim::Steering::Left},
        {"Right", sim::Steering::Right},
        {"R", sim::Steering::Right},
        {"Center", sim::Steering::Center},
        {"CE", sim::Steering::Center},
    }};
    for (const auto& [word, steering] : kWords)
        if (sameLetters(text, word)) return steering;
    return std::nullopt;
}

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

Checked<Case> readCase(const BoxTexts& t, InertiaForm form) {
    static constexpr int kOrder[] = {0,  1,  2,  3,  4,  5,  7,  6,  8, 9,
                                     10, 11, 12, 13, 14, 15, 16, 17, 18};
    std::array<double, kBoxCount> v{};
    std::optional<sim::Steering> steering;
    for (int i : kOrder) {
        const std::string& text = t.text[i];
        if (i == kSteeringBox) {
            steering = parseSteering(text);
            if (!steering)
                return BoxProblem{i, "must be Left, Right or Center (or L, R, CE), not \"" +
                                         printable(text) + "\"."};
            continue;
        }
        const auto number = readBoxValue(i, text, form);
        if (const auto* problem = std::get_if<BoxProblem>(&number)) return *problem;
        if (auto problem = checkRange(i, std::get<double>(number))) return *problem;
        v[i] = std::get<double>(number);
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
    if (!std::isfinite(car.inertia)) // k² alone may overflow where k²·m does not
        car.inertia = v[kInertiaBox] * (v[kInertiaBox] * car.mass);
    if (!std::isfinite(car.inertia))
        return BoxProblem{kInertiaBox, "is too large: the moment of inertia would overflow."};
    // Directions are typed clockwise from +y; headings turn counter-clockwise.
    const double travel = v[kDirectionBox] / 180 * pi;
    c.launch.velocity = {v[kSpeedBox] * std::sin(travel), v[kSpeedBox] * std::cos(travel)};
    car.steering = *steering;
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

Checked<Case> calculateNormal(BoxTexts& t, InertiaForm form) {
    auto read = readCase(t, form);
    if (auto* c = std::get_if<Case>(&read)) {
        if (auto problem = validateNormal(*c)) return *problem;
        showInBoxUnits(t, form);
        const double omega =
            sim::normalYawRate(c->car.steering, c->car.turnRadius, c->launch.velocity);
        t.text[kRelativeDirectionBox] = "0"; // in normal driving the car points where it goes
        t.text[kYawRateBox] = formatNumber(-omega / (2 * pi));
        t.text[kSteeringBox] = steeringWord(c->car.steering);
    }
    return read;
}

Checked<Case> calculateInertia(BoxTexts& t, InertiaForm form) {
    auto read = readCase(t, form);
    if (auto* c = std::get_if<Case>(&read)) {
        if (auto problem = validateInertia(c->car, form)) return *problem;
        c->car.inertia = sim::homogeneousInertia(c->car);
        auto text = inertiaText(c->car, form);
        if (auto* problem = std::get_if<BoxProblem>(&text)) return *problem;
        showInBoxUnits(t, form);
        t.text[kInertiaBox] = std::get<std::string>(text);
        t.text[kSteeringBox] = steeringWord(c->car.steering);
    }
    return read;
}

Checked<std::string> inertiaText(const sim::Car& car, InertiaForm form) {
    if (form == InertiaForm::Moment) return formatNumber(car.inertia);
    if (auto problem = validateGyration(car)) return *problem;
    return formatNumber(std::sqrt(car.inertia / car.mass));
}

Checked<Prepared> prepareDraw(const BoxTexts& t, AutoCalculate autos, InertiaForm form) {
    Prepared p{{}, t};
    auto typed = readCase(p.texts, form); // the boxes' own ranges come first
    if (auto* problem = std::get_if<BoxProblem>(&typed)) return *problem;
    showInBoxUnits(p.texts, form);
    if (autos.normal) {
        auto read = calculateNormal(p.texts, form);
        if (auto* problem = std::get_if<BoxProblem>(&read)) return *problem;
    }
    if (autos.inertia) {
        auto read = calculateInertia(p.texts, form);
        if (auto* problem = std::get_if<BoxProblem>(&read)) return *problem;
    }
    auto read = readCase(p.texts, form);
    if (auto* problem = std::get_if<BoxProblem>(&read)) return *problem;
    p.c = std::get<Case>(read);
    if (auto problem = validateRun(p.c)) return *problem;
    p.texts.text[kSteeringBox] = steeringWord(p.c.car.steering);
    return p;
}

} // namespace yawmark::model
