// SPDX-License-Identifier: MIT
// Where the fit's solver starts: first guesses from the marks, the speeds a
// coarse scan ranks best, and the stages in which the quantities are freed.
#include "model/FitDetail.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace yawmark::model::detail {

namespace {

constexpr double pi = std::numbers::pi;

std::vector<std::vector<Quantity>> stages(Unknowns unknowns) {
    using enum Quantity;
    switch (unknowns) {
    case Unknowns::Speed:
        return {{Speed}};
    case Unknowns::SpeedYaw:
        return {{Speed}, {Speed, YawRate}};
    case Unknowns::All:
        break;
    }
    return {{Speed, Direction, StartX, StartY},
            {Speed, YawRate, Direction, StartX, StartY},
            fittedQuantities(Unknowns::All)};
}

} // namespace

// Where both rear marks start at the pull, the line between their first
// points is the rear axle, which gives the heading and, f·L ahead of its
// middle, the mass centre; otherwise the first metres of a mark point where
// the car went, and its first point less the wheel's offset is the start.
LaunchValues firstGuess(const Case& c, const std::vector<Mark>& marks, Unknowns unknowns) {
    LaunchValues v = launchValues(c);
    if (unknowns != Unknowns::All) return v;
    const Mark* first[sim::kWheelCount] = {};
    for (const Mark& k : marks)
        if (k.startsAtPull && !first[k.wheel]) first[k.wheel] = &k;
    v[index(Quantity::RelativeDirection)] = 0;
    if (first[sim::RL] && first[sim::RR]) {
        const sim::Vec2 left = first[sim::RL]->points[0], right = first[sim::RR]->points[0];
        const sim::Vec2 axle = right - left;
        if (!(axle == sim::Vec2{})) {
            // The axle points along the car's +x: heading h turns (1, 0) to (cos h, sin h).
            const double heading = std::atan2(axle.y, axle.x);
            v[index(Quantity::Direction)] = -heading * 180 / pi;
            const sim::Vec2 middle = 0.5 * (left + right);
            const double ahead = c.car.frontShare * c.car.length;
            v[index(Quantity::StartX)] = middle.x - ahead * std::sin(heading);
            v[index(Quantity::StartY)] = middle.y + ahead * std::cos(heading);
            return v;
        }
    }
    const Mark* m = &marks.front();
    for (const Mark* k : first)
        if (k) m = k;
    std::size_t i = 1;
    while (i + 1 < m->points.size() && sim::length(m->points[i] - m->points[0]) < 2)
        ++i;
    if (i < m->points.size()) {
        const sim::Vec2 d = m->points[i] - m->points[0];
        if (!(d == sim::Vec2{})) v[index(Quantity::Direction)] = std::atan2(d.x, d.y) * 180 / pi;
    }
    const double heading = -v[index(Quantity::Direction)] * pi / 180;
    const sim::Vec2 start = m->points[0] - sim::placeWheels(c.car, heading).offset[m->wheel];
    v[index(Quantity::StartX)] = start.x;
    v[index(Quantity::StartY)] = start.y;
    return v;
}

// A free yaw rate starts as that of normal driving before the pull, the usual
// case; straight ahead it keeps its proportion to the speed, since the path
// depends on ω/v.
LaunchValues atSpeed(LaunchValues v, double speed, const Case& c) {
    const double was = v[index(Quantity::Speed)];
    if (c.car.steering != sim::Steering::Center && c.car.turnRadius != 0)
        v[index(Quantity::YawRate)] =
            -sim::normalYawRate(c.car.steering, v[index(Quantity::TurnRadius)], {0, speed}) /
            (2 * pi);
    else if (was > 0)
        v[index(Quantity::YawRate)] *= speed / was;
    v[index(Quantity::Speed)] = speed;
    return v;
}

// The speed decides the length and shape of the marks more than anything
// else: it is scanned first, and the solver starts from the best few speeds.
std::vector<double> startSpeeds(Problem& problem, const LaunchValues& guess, const Case& c) {
    std::vector<std::pair<double, double>> scan; // speed, misfit
    problem.setCoarse(true);
    for (double v = 2; v <= 120 && !problem.cancelled(); v *= 1.25)
        scan.emplace_back(v, problem.misfit(atSpeed(guess, v, c)));
    problem.setCoarse(false);
    std::vector<double> seeds;
    for (std::size_t i = 0; i < scan.size(); ++i) {
        const bool leftOk = i == 0 || scan[i].second <= scan[i - 1].second;
        const bool rightOk = i + 1 == scan.size() || scan[i].second <= scan[i + 1].second;
        if (leftOk && rightOk) seeds.push_back(scan[i].first);
    }
    const auto scanned = [&](double v) {
        for (const auto& [speed, c2] : scan)
            if (speed == v) return c2;
        return kInf;
    };
    std::sort(seeds.begin(), seeds.end(),
              [&](double a, double b) { return scanned(a) < scanned(b); });
    if (seeds.size() > 3) seeds.resize(3);
    // A speed whose run misses the marks by far more than the best one's does
    // not start a solver of its own.
    while (seeds.size() > 1 && scanned(seeds.back()) > 50 * scanned(seeds.front()))
        seeds.pop_back();
    return seeds;
}

// In stages: a solver freed of every quantity at once from a rough guess
// wanders along the valleys the quantities make together. The speed, and
// where the car was and went, first; then the yaw rate too; then everything
// asked for.
Solution minimiseInStages(Problem& problem, const LaunchValues& guess, double speed, const Case& c,
                          const FitSettings& settings) {
    Solution s;
    s.values = atSpeed(guess, speed, c);
    // Until the yaw rate is free it follows the speed as normal driving
    // would have it, where the car steers.
    const bool steers = c.car.steering != sim::Steering::Center && c.car.turnRadius != 0;
    problem.setRobustLoss(false);
    for (const auto& stage : stages(settings.unknowns)) {
        const bool yawFree =
            std::find(stage.begin(), stage.end(), Quantity::YawRate) != stage.end();
        problem.setFree(stage);
        if (settings.unknowns != Unknowns::Speed) problem.setFollows(!yawFree && steers);
        s = problem.minimise(s.values);
        if (problem.cancelled()) break;
        if (settings.unknowns != Unknowns::Speed && !yawFree && steers)
            s.values = atSpeed(s.values, s.values[index(Quantity::Speed)], c);
    }
    problem.setFollows(settings.yawFollowsSpeed && settings.unknowns == Unknowns::Speed);
    problem.setRobustLoss(true);
    if (!problem.cancelled()) s = problem.minimise(s.values);
    return s;
}

} // namespace yawmark::model::detail
