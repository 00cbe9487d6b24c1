// SPDX-License-Identifier: MIT
#include "model/Trails.h"

#include "model/FitDetail.h"

#include <algorithm>
#include <array>
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

// The square of the nearest a point of the box can be to q.
double boxSquare(sim::Vec2 q, double x0, double y0, double x1, double y1) {
    const double dx = std::max({x0 - q.x, 0.0, q.x - x1});
    const double dy = std::max({y0 - q.y, 0.0, q.y - y1});
    return dx * dx + dy * dy;
}

} // namespace

Polyline::Polyline(const std::vector<sim::Vec2>& points) : p_(points) {
    if (p_.size() < 2) return;
    const std::size_t segments = p_.size() - 1;
    std::vector<Box> leaves;
    for (std::size_t first = 0; first < segments; first += kLeaf) {
        Box b{p_[first].x, p_[first].y, p_[first].x, p_[first].y};
        for (std::size_t i = first + 1; i <= std::min(first + kLeaf, segments); ++i)
            b = {std::min(b.x0, p_[i].x), std::min(b.y0, p_[i].y), std::max(b.x1, p_[i].x),
                 std::max(b.y1, p_[i].y)};
        leaves.push_back(b);
    }
    levels_.push_back(std::move(leaves));
    while (levels_.back().size() > 1) {
        const std::vector<Box>& below = levels_.back();
        std::vector<Box> level;
        for (std::size_t j = 0; j < below.size(); j += 2) {
            const Box& a = below[j];
            const Box& b = j + 1 < below.size() ? below[j + 1] : a;
            level.push_back({std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1),
                             std::max(a.y1, b.y1)});
        }
        levels_.push_back(std::move(level));
    }
}

void Polyline::visit(std::size_t i, sim::Vec2 q, double& best, std::size_t& at) const {
    const sim::Vec2 a = p_[i], d = p_[i + 1] - p_[i];
    const double dd = sim::dot(d, d);
    const double t = dd > 0 ? std::clamp(sim::dot(q - a, d) / dd, 0.0, 1.0) : 0;
    const sim::Vec2 off = q - (a + t * d);
    // Most segments are plainly further than the best: no root for them.
    if (sim::dot(off, off) > best * best * (1 + 1e-12)) return;
    const double dist = sim::length(off);
    if (dist < best || (dist == best && i > at)) {
        best = dist;
        at = i;
    }
}

double Polyline::signedDistance(sim::Vec2 q) const {
    if (p_.size() < 2) return p_.empty() ? kInf : sim::length(q - p_[0]);
    const std::size_t segments = p_.size() - 1;
    double best = kInf;
    std::size_t at = 0;
    // A box is passed over only when it lies further than the best so far by
    // more than rounding could make up: of equally near segments the last
    // must be found, wherever it lies.
    const auto beyond = [&best](double square) {
        const double reach = best * (1 + 1e-12) + 1e-12;
        return square > reach * reach;
    };
    const auto square = [&q](const Box& b) { return boxSquare(q, b.x0, b.y0, b.x1, b.y1); };
    struct Node {
        std::size_t level, index;
        double square; // of the box's distance
    };
    std::array<Node, 128> stack; // two a level at most
    const auto search = [&](Node from) {
        std::size_t top = 0;
        stack[top++] = from;
        while (top > 0) {
            const Node n = stack[--top];
            if (beyond(n.square)) continue;
            if (n.level == 0) {
                for (std::size_t i = n.index * kLeaf; i < std::min((n.index + 1) * kLeaf, segments);
                     ++i)
                    visit(i, q, best, at);
                continue;
            }
            const std::vector<Box>& below = levels_[n.level - 1];
            Node near{n.level - 1, 2 * n.index, square(below[2 * n.index])};
            if (near.index + 1 < below.size()) {
                Node far{n.level - 1, near.index + 1, square(below[near.index + 1])};
                if (far.square < near.square) std::swap(near, far);
                stack[top++] = far;
            }
            stack[top++] = near;
        }
    };
    // The leaf of the previous point's nearest segment first, then up the
    // tree the other half at each level: every segment is in the first leaf
    // or in one of those halves, and a half further than the best is passed
    // over whole.
    std::size_t node = std::min(hint_, segments - 1) / kLeaf;
    search({0, node, 0});
    for (std::size_t level = 0; level + 1 < levels_.size(); ++level, node /= 2) {
        const std::size_t other = node ^ 1;
        if (other < levels_[level].size()) search({level, other, square(levels_[level][other])});
    }
    hint_ = at;
    const sim::Vec2 a = p_[at], d = p_[at + 1] - p_[at];
    const double dd = sim::dot(d, d);
    const double t = dd > 0 ? std::clamp(sim::dot(q - a, d) / dd, 0.0, 1.0) : 0;
    const sim::Vec2 off = q - (a + t * d);
    // Beyond either end of the line there is no side to be on: the distance
    // counts as it is, so that a point straight ahead does not flip its sign
    // as the line moves.
    const bool ends = (at == 0 && t == 0) || (at + 1 == segments && t == 1);
    return !ends && sim::cross(d, off) < 0 ? -best : best;
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
