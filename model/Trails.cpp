// SPDX-License-Identifier: MIT
#include "model/Trails.h"

#include "model/FitDetail.h"

#include <algorithm>
#include <cmath>

namespace yawmark::model {

namespace detail {

namespace {

// The longest run the accuracy estimate simulates, in steps.
constexpr std::size_t kMaxRestSteps = 4000000;
// The shortest piece of a simulated trail, m.
constexpr double kTrailSpacing = 0.002;

// A wheel's next point, unless it lies within kTrailSpacing of the last
// one kept: a car slowing to rest crawls in steps far shorter than any
// survey resolves, and its last step may even turn back by a hair, which
// would give the end of the trail a direction of its own. The last point
// always counts: it is where the wheel came to rest.
void keep(std::vector<sim::Vec2>& trail, sim::Vec2 p, bool last) {
    if (!trail.empty() && sim::length(p - trail.back()) < kTrailSpacing) {
        if (last && trail.size() > 1) trail.back() = p;
        return;
    }
    trail.push_back(p);
}

} // namespace

double pathLength(const std::vector<sim::Vec2>& p, std::size_t first, std::size_t last) {
    double len = 0;
    for (std::size_t i = first; i < last; ++i)
        len += sim::length(p[i + 1] - p[i]);
    return len;
}

Polyline::Polyline(const std::vector<sim::Vec2>& points) : p_(points) {
    for (std::size_t first = 0; first + 1 < p_.size(); first += kChunk) {
        const std::size_t last = std::min(first + kChunk, p_.size() - 1);
        chunks_.push_back({first, last, pathLength(p_, first, last)});
    }
}

double Polyline::signedDistance(sim::Vec2 q) const {
    if (p_.size() == 1) return sim::length(q - p_[0]);
    double best = kInf;
    near_.resize(chunks_.size());
    for (std::size_t k = 0; k < chunks_.size(); ++k) {
        near_[k] = sim::length(q - p_[chunks_[k].first]);
        best = std::min(best, near_[k]);
    }
    double signedBest = best;
    for (std::size_t k = 0; k < chunks_.size(); ++k) {
        const Chunk& c = chunks_[k];
        if (near_[k] - c.length > best) continue;
        for (std::size_t i = c.first; i < c.last; ++i) {
            const sim::Vec2 a = p_[i], d = p_[i + 1] - p_[i];
            const double dd = sim::dot(d, d);
            const double t = dd > 0 ? std::clamp(sim::dot(q - a, d) / dd, 0.0, 1.0) : 0;
            const sim::Vec2 off = q - (a + t * d);
            const double dist = sim::length(off);
            if (dist <= best) {
                best = dist;
                // Beyond either end of the line there is no side to be
                // on: the distance counts as it is, so that a point
                // straight ahead does not flip its sign as the line moves.
                const bool beyond = (i == 0 && t == 0) || (i + 2 == p_.size() && t == 1);
                signedBest = !beyond && sim::cross(d, off) < 0 ? -dist : dist;
            }
        }
    }
    return signedBest;
}

Trails simulateTrails(const Case& c, double h, std::array<bool, sim::kWheelCount> wanted,
                      std::size_t maxSteps, double reach) {
    Trails t;
    sim::Body body = c.launch.body();
    double travelled = 0;
    for (std::size_t n = 0; n < maxSteps && travelled <= reach; ++n) {
        const sim::WheelPlacement w = sim::placeWheels(c.car, body.heading);
        for (int i = 0; i < sim::kWheelCount; ++i)
            if (wanted[i]) keep(t.wheel[i], body.position + w.offset[i], t.atRest);
        if (t.atRest) break;
        const sim::StepResult s = sim::step(c.car, body, w, h);
        if (!s.finite) break;
        travelled += sim::length(s.body.position - body.position);
        const bool wasMoving = !(body.velocity == sim::Vec2{}) || body.yawRate != 0;
        body = s.body;
        t.atRest = body.velocity == sim::Vec2{} && body.yawRate == 0;
        if (t.atRest && !wasMoving) break;
    }
    return t;
}

} // namespace detail

Trails simulateTrails(const Case& c, double h, std::array<bool, sim::kWheelCount> wanted) {
    return detail::simulateTrails(c, h, wanted, detail::kMaxFitSteps, detail::kInf);
}

std::vector<Mark> runMarks(const Case& c, double spacing) {
    const Trails t = simulateTrails(c, fitStep(c), {false, false, true, true});
    std::vector<Mark> marks;
    for (const sim::Wheel w : {sim::RL, sim::RR}) {
        Mark m{w, {}};
        const auto& p = t.wheel[w];
        double along = 0, next = 0;
        for (std::size_t i = 0; i < p.size(); ++i) {
            if (i > 0) along += sim::length(p[i] - p[i - 1]);
            if (along < next && i + 1 < p.size()) continue;
            m.points.push_back(p[i]);
            next = along + spacing;
        }
        m.startsAtPull = true;
        m.endsAtRest = t.atRest;
        marks.push_back(std::move(m));
    }
    const std::size_t total = marks[0].points.size() + marks[1].points.size();
    if (total > kMaxMarkPoints) {
        // Each mark keeps ⌈n/every⌉ points and perhaps its last: at most n/every + 2.
        const std::size_t room = kMaxMarkPoints - 4;
        const std::size_t every = (total + room - 1) / room;
        for (Mark& m : marks) {
            std::vector<sim::Vec2> kept;
            for (std::size_t i = 0; i < m.points.size(); i += every)
                kept.push_back(m.points[i]);
            if (!m.points.empty() && (m.points.size() - 1) % every != 0)
                kept.push_back(m.points.back());
            m.points = std::move(kept);
        }
    }
    return marks;
}

double fitStep(const Case& c) {
    return std::min(c.run.timeStep, 0.001);
}

std::optional<double> restError(const Case& c) {
    const double h = c.run.timeStep;
    if (!(h > 0)) return std::nullopt;
    std::array<sim::Vec2, 2> rest;
    for (int k = 0; k < 2; ++k) {
        const double step = k == 0 ? h : h / 2;
        sim::Body body = c.launch.body();
        bool atRest = false;
        for (std::size_t n = 0; n < detail::kMaxRestSteps && !atRest; ++n) {
            const sim::StepResult s = sim::step(c.car, body, step);
            if (!s.finite) return std::nullopt;
            body = s.body;
            atRest = body.velocity == sim::Vec2{} && body.yawRate == 0;
        }
        if (!atRest) return std::nullopt;
        rest[k] = body.position;
    }
    return 2 * sim::length(rest[0] - rest[1]);
}

} // namespace yawmark::model
