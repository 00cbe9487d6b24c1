// SPDX-License-Identifier: MIT
// The launch quantities a fit may find: their names and boxes, and how a
// case's launch reads and writes them.
#include "model/Fit.h"

#include "model/BoxTable.h"
#include "model/FitDetail.h"
#include "sim/NumberText.h"

#include <cmath>
#include <numbers>

namespace yawmark::model {

namespace {

constexpr double pi = std::numbers::pi;
using detail::index;

constexpr std::array<QuantityInfo, kQuantityCount> kQuantities{{
    {"speed", "m/s", kSpeedBox},
    {"yaw_rate", "turn/s", kYawRateBox},
    {"turn_radius", "m", kRadiusBox},
    {"relative_direction", "deg", kRelativeDirectionBox},
    {"direction", "deg", kDirectionBox},
    {"start_x", "m", kStartXBox},
    {"start_y", "m", kStartYBox},
}};

} // namespace

std::optional<Unknowns> parseUnknowns(std::string_view text) {
    for (Unknowns u : {Unknowns::Speed, Unknowns::SpeedYaw, Unknowns::All})
        if (text == unknownsText(u)) return u;
    return std::nullopt;
}

std::string_view unknownsText(Unknowns unknowns) {
    switch (unknowns) {
    case Unknowns::Speed:
        return "speed";
    case Unknowns::SpeedYaw:
        return "speed,yaw";
    case Unknowns::All:
        return "all";
    }
    return {};
}

const QuantityInfo& quantityInfo(Quantity q) {
    return kQuantities[index(q)];
}

std::vector<Quantity> fittedQuantities(Unknowns unknowns) {
    switch (unknowns) {
    case Unknowns::Speed:
        return {Quantity::Speed};
    case Unknowns::SpeedYaw:
        return {Quantity::Speed, Quantity::YawRate};
    case Unknowns::All:
        break;
    }
    return {
        Quantity::Speed,     Quantity::YawRate, Quantity::TurnRadius, Quantity::RelativeDirection,
        Quantity::Direction, Quantity::StartX,  Quantity::StartY};
}

LaunchValues launchValues(const Case& c) {
    const sim::Vec2 v = c.launch.velocity;
    const double travel = v == sim::Vec2{} ? -c.launch.heading : std::atan2(v.x, v.y);
    LaunchValues out{};
    out[index(Quantity::Speed)] = sim::length(v);
    out[index(Quantity::YawRate)] = -c.launch.yawRate / (2 * pi);
    out[index(Quantity::TurnRadius)] = c.car.turnRadius;
    out[index(Quantity::RelativeDirection)] =
        std::remainder(-c.launch.heading - travel, 2 * pi) * 180 / pi;
    out[index(Quantity::Direction)] = travel * 180 / pi;
    out[index(Quantity::StartX)] = c.launch.start.x;
    out[index(Quantity::StartY)] = c.launch.start.y;
    return out;
}

Case withLaunch(Case c, const LaunchValues& v, bool yawFollowsSpeed) {
    // As the boxes are read: directions clockwise from +y, headings counter-clockwise.
    const double travel = v[index(Quantity::Direction)] * pi / 180;
    const double speed = v[index(Quantity::Speed)];
    c.launch.velocity = {speed * std::sin(travel), speed * std::cos(travel)};
    c.car.turnRadius = v[index(Quantity::TurnRadius)];
    c.launch.heading = -travel - v[index(Quantity::RelativeDirection)] * pi / 180;
    c.launch.yawRate = -v[index(Quantity::YawRate)] * 2 * pi;
    if (yawFollowsSpeed) {
        c.launch.heading = -travel;
        c.launch.yawRate = sim::normalYawRate(c.car.steering, c.car.turnRadius, c.launch.velocity);
    }
    c.launch.start = {v[index(Quantity::StartX)], v[index(Quantity::StartY)]};
    return c;
}

void applyFit(const FitResult& result, BoxTexts& texts, AutoCalculate& autos) {
    if (!result.accepted()) return;
    for (const Estimate& e : result.estimates) {
        texts.text[quantityInfo(e.quantity).box] = formatNumber(std::round(*e.value * 1e4) / 1e4);
        if (e.quantity == Quantity::YawRate || e.quantity == Quantity::RelativeDirection)
            autos.normal = false;
    }
}

} // namespace yawmark::model
