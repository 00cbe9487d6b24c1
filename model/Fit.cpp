// SPDX-License-Identifier: MIT
#include "model/Fit.h"

#include "model/BoxTable.h"
#include "sim/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace yawmark::model {

namespace {

constexpr double pi = std::numbers::pi;
constexpr double kInf = std::numeric_limits<double>::infinity();

// An accepted fit leaves the points no further from the trails, RMS, than
// this many σ: a survey scattered by σ leaves about 1σ, and the margin allows
// for a survey a little worse than stated, not for another car.
constexpr double kAcceptedRms = 1.5;
// The longest run a fit simulates, in steps, and the longest the accuracy
// estimate does.
constexpr std::size_t kMaxFitSteps = 300000;
constexpr std::size_t kMaxRestSteps = 4000000;
// The rise of χ² that still counts as within the noise: two standard deviations.
constexpr double kWithinNoise = 4;
// The shortest piece of a simulated trail, m.
constexpr double kTrailSpacing = 0.002;
// Levenberg-Marquardt: iterations from one start, and when to stop.
constexpr int kMaxIterations = 60;
constexpr double kConverged = 1e-4;

constexpr std::array<QuantityInfo, kQuantityCount> kQuantities{{
    {"speed", "m/s", kSpeedBox},
    {"yaw_rate", "turn/s", kYawRateBox},
    {"turn_radius", "m", kRadiusBox},
    {"relative_direction", "deg", kRelativeDirectionBox},
    {"direction", "deg", kDirectionBox},
    {"start_x", "m", kStartXBox},
    {"start_y", "m", kStartYBox},
}};

// How far each quantity moves for a derivative, the size of a unit step of
// the solver, and the widest interval that still says something about it: an
// interval wider than that means the marks leave the quantity open.
struct Scale {
    double delta, unit, widest;
};
constexpr std::array<Scale, kQuantityCount> kScales{{
    {1e-3, 1, 0.25},  // speed: widest as a share of the speed
    {1e-4, 0.1, 0.5}, // yaw rate, turn/s
    {1e-3, 1, 0.5},   // turning radius: widest as a share of the radius
    {1e-3, 1, 45},    // relative direction, deg
    {1e-3, 1, 45},    // direction, deg
    {1e-4, 0.1, 5},   // start, m
    {1e-4, 0.1, 5},
}};

int index(Quantity q) {
    return static_cast<int>(q);
}

// A polyline cut into runs of kChunk segments, each with its length along the
// line: no point of a run lies further from its first vertex than that, so a
// run whose first vertex is further than the best distance so far plus its
// length cannot hold the nearest point, and its segments are not looked at.
class Polyline {
public:
    static constexpr std::size_t kChunk = 32;

    explicit Polyline(const std::vector<sim::Vec2>& points) : p_(points) {
        for (std::size_t first = 0; first + 1 < p_.size(); first += kChunk) {
            const std::size_t last = std::min(first + kChunk, p_.size() - 1);
            double len = 0;
            for (std::size_t i = first; i < last; ++i)
                len += sim::length(p_[i + 1] - p_[i]);
            chunks_.push_back({first, last, len});
        }
    }

    // Distance from q to the line, negative on the right of its direction.
    double signedDistance(sim::Vec2 q) const {
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

private:
    struct Chunk {
        std::size_t first, last;
        double length;
    };
    const std::vector<sim::Vec2>& p_;
    std::vector<Chunk> chunks_;
    mutable std::vector<double> near_; // each run's first vertex from the point
};

// Solves A·x = b for a small symmetric positive matrix (Gaussian elimination
// with partial pivoting); false when A is singular.
bool solve(std::vector<std::vector<double>> a, std::vector<double>& b) {
    const std::size_t n = b.size();
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
        if (!(std::fabs(a[pivot][c]) > 1e-300)) return false;
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (std::size_t r = c + 1; r < n; ++r) {
            const double k = a[r][c] / a[c][c];
            for (std::size_t j = c; j < n; ++j)
                a[r][j] -= k * a[c][j];
            b[r] -= k * b[c];
        }
    }
    for (std::size_t c = n; c-- > 0;) {
        for (std::size_t j = c + 1; j < n; ++j)
            b[c] -= a[c][j] * b[j];
        b[c] /= a[c][c];
    }
    return std::all_of(b.begin(), b.end(), [](double v) { return std::isfinite(v); });
}

struct Solution {
    LaunchValues values{};
    double chi2 = kInf;
    std::vector<double> halfWidth; // per free quantity, box units; infinite when open
};

// One fit problem: the case, the marks, which quantities are free.
class Problem {
public:
    Problem(const Case& c, const std::vector<Mark>& marks, const FitSettings& s,
            const FitProgress& progress)
        : case_(c), marks_(marks), free_(fittedQuantities(s.unknowns)),
          follows_(s.yawFollowsSpeed && s.unknowns == Unknowns::Speed), h_(fitStep(c)),
          progress_(progress) {
        for (const Mark& m : marks) {
            wanted_[m.wheel] = true;
            if (m.endsAtRest) needRest_ = true;
            longest_ = std::max(longest_, markLength(m));
            count_ += static_cast<int>(m.points.size()) + (m.startsAtPull ? 2 : 0) +
                      (m.endsAtRest ? 2 : 0);
        }
        const double fl = std::fabs(c.car.frontShare * c.car.length);
        lower_ = {0.05, -5, std::max(fl * 1.0001, 0.1), -360, -1080, -1e6, -1e6};
        upper_ = {150, 5, 1e4, 360, 1080, 1e6, 1e6};
    }

    const std::vector<Quantity>& free() const { return free_; }
    void setFree(std::vector<Quantity> free) { free_ = std::move(free); }
    void setFollows(bool follows) { follows_ = follows; }
    int simulations() const { return simulations_; }
    bool cancelled() const { return cancelled_; }
    int residualCount() const { return count_; }
    void setFriction(double mu) { case_.car.friction = mu; }
    double lower(Quantity q) const { return lower_[index(q)]; }
    double upper(Quantity q) const { return upper_[index(q)]; }
    Case caseOf(const LaunchValues& v) const { return withLaunch(case_, v, follows_); }

    // The residuals of a launch, each a distance in units of its point's σ.
    std::vector<double> residuals(const LaunchValues& v) {
        ++simulations_;
        if (progress_ && !cancelled_ && !progress_(std::min(0.99, simulations_ / budget_)))
            cancelled_ = true;
        const Case c = caseOf(v);
        const Trails t = runTrails(c);
        std::vector<double> r;
        r.reserve(count_);
        for (const Mark& m : marks_) {
            const std::vector<sim::Vec2>& trail = t.wheel[m.wheel];
            const Polyline line(trail);
            for (const sim::Vec2& p : m.points)
                r.push_back(line.signedDistance(p) / m.sigma);
            if (m.startsAtPull) {
                const sim::Vec2 d = m.points.front() - trail.front();
                r.push_back(d.x / m.sigma);
                r.push_back(d.y / m.sigma);
            }
            if (m.endsAtRest) {
                // A run cut short ends where it was cut, far from the rest.
                const sim::Vec2 d = m.points.back() - trail.back();
                r.push_back(d.x / m.sigma);
                r.push_back(d.y / m.sigma);
            }
        }
        return r;
    }

    static double sumSquares(const std::vector<double>& r) {
        double s = 0;
        for (double x : r)
            s += x * x;
        return s;
    }

    double chi2(const LaunchValues& v) { return sumSquares(residuals(v)); }

    // Levenberg-Marquardt from `start`, the free quantities only.
    Solution minimise(LaunchValues start) {
        Solution best;
        best.values = clamp(start);
        std::vector<double> r = residuals(best.values);
        best.chi2 = sumSquares(r);
        double lambda = 1e-3;
        const std::size_t n = free_.size();
        // A long valley is crossed in many small gains: only a few small
        // gains in a row, or none, end the descent.
        int smallGains = 0;
        for (int it = 0; it < kMaxIterations && !cancelled_ && smallGains < 3; ++it) {
            const auto jac = jacobian(best.values, r);
            std::vector<std::vector<double>> a(n, std::vector<double>(n));
            std::vector<double> g(n);
            normalEquations(jac, r, a, g);
            bool improved = false;
            while (lambda < 1e4 && !cancelled_) {
                auto damped = a;
                for (std::size_t i = 0; i < n; ++i)
                    damped[i][i] += lambda * std::max(a[i][i], 1e-12);
                std::vector<double> d = g;
                for (double& x : d)
                    x = -x;
                if (!solve(damped, d)) {
                    lambda *= 10;
                    continue;
                }
                LaunchValues trial = best.values;
                for (std::size_t i = 0; i < n; ++i)
                    trial[index(free_[i])] += d[i] * kScales[index(free_[i])].unit;
                trial = clamp(trial);
                std::vector<double> tr = residuals(trial);
                const double c2 = sumSquares(tr);
                if (c2 < best.chi2) {
                    const double gain = best.chi2 - c2;
                    best.values = trial;
                    best.chi2 = c2;
                    r = std::move(tr);
                    lambda = std::max(lambda / 10, 1e-9);
                    improved = true;
                    smallGains = gain > kConverged * (1 + c2) ? 0 : smallGains + 1;
                    break;
                }
                lambda *= 10;
            }
            if (!improved) break;
        }
        best.halfWidth = halfWidths(best.values, r);
        return best;
    }

    // The interval of each free quantity from the curvature of the misfit:
    // the range within which the best misfit stays within the noise,
    // Δχ² ≤ 4·max(1, χ²/(N − k)), two standard deviations. Infinite for a
    // quantity the marks leave open.
    std::vector<double> halfWidths(const LaunchValues& v, const std::vector<double>& r) {
        const std::size_t n = free_.size();
        const auto jac = jacobian(v, r);
        std::vector<std::vector<double>> a(n, std::vector<double>(n));
        std::vector<double> g(n);
        normalEquations(jac, r, a, g);
        const double dof = std::max(1.0, static_cast<double>(r.size()) - static_cast<double>(n));
        const double scale = kWithinNoise * std::max(1.0, sumSquares(r) / dof);
        // A quantity the residuals do not move at all is left open, and the
        // others are judged without it.
        double largest = 0;
        for (std::size_t i = 0; i < n; ++i)
            largest = std::max(largest, a[i][i]);
        std::vector<std::size_t> moving;
        for (std::size_t i = 0; i < n; ++i)
            if (a[i][i] > 1e-12 * largest) moving.push_back(i);
        std::vector<std::vector<double>> sub(moving.size(), std::vector<double>(moving.size()));
        for (std::size_t i = 0; i < moving.size(); ++i)
            for (std::size_t j = 0; j < moving.size(); ++j)
                sub[i][j] = a[moving[i]][moving[j]];
        std::vector<double> hw(n, kInf);
        for (std::size_t i = 0; i < moving.size(); ++i) {
            std::vector<double> e(moving.size(), 0.0);
            e[i] = 1;
            if (solve(sub, e) && e[i] > 0)
                hw[moving[i]] = std::sqrt(e[i] * scale) * kScales[index(free_[moving[i]])].unit;
        }
        return hw;
    }

    void setBudget(double sims) { budget_ = sims; }
    // The scan for starting points runs coarser steps: it only ranks speeds.
    void setCoarse(bool coarse) { h_ = coarse ? 4 * fitStep(case_) : fitStep(case_); }

private:
    Trails runTrails(const Case& c) const {
        // A mark that does not end at rest says nothing about the run beyond
        // it, and one that does is not matched by a run going far past it:
        // the run stops once the car has gone well past the longest mark.
        const double reach = needRest_ ? 3 * longest_ + 20 : 2 * longest_ + 10;
        return simulate(c, h_, wanted_, kMaxFitSteps, reach);
    }

    LaunchValues clamp(LaunchValues v) const {
        for (int i = 0; i < kQuantityCount; ++i)
            v[i] = std::clamp(v[i], lower_[i], upper_[i]);
        return v;
    }

    std::vector<std::vector<double>> jacobian(const LaunchValues& v, const std::vector<double>& r) {
        std::vector<std::vector<double>> jac(free_.size());
        for (std::size_t i = 0; i < free_.size(); ++i) {
            const int q = index(free_[i]);
            LaunchValues moved = v;
            double delta = kScales[q].delta * (q == index(Quantity::TurnRadius) ? v[q] : 1);
            if (q == index(Quantity::Speed)) delta *= std::max(1.0, v[q]);
            if (moved[q] + delta > upper_[q]) delta = -delta;
            moved[q] += delta;
            const std::vector<double> rm = residuals(moved);
            jac[i].resize(r.size());
            const double perUnit = kScales[q].unit / delta;
            for (std::size_t k = 0; k < r.size(); ++k)
                jac[i][k] = (rm[k] - r[k]) * perUnit;
        }
        return jac;
    }

    static void normalEquations(const std::vector<std::vector<double>>& jac,
                                const std::vector<double>& r, std::vector<std::vector<double>>& a,
                                std::vector<double>& g) {
        const std::size_t n = jac.size();
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j <= i; ++j) {
                double s = 0;
                for (std::size_t k = 0; k < r.size(); ++k)
                    s += jac[i][k] * jac[j][k];
                a[i][j] = a[j][i] = s;
            }
            double s = 0;
            for (std::size_t k = 0; k < r.size(); ++k)
                s += jac[i][k] * r[k];
            g[i] = s;
        }
    }

    // A wheel's next point, unless it lies within kTrailSpacing of the last
    // one kept: a car slowing to rest crawls in steps far shorter than any
    // survey resolves, and its last step may even turn back by a hair, which
    // would give the end of the trail a direction of its own. The last point
    // always counts: it is where the wheel came to rest.
    static void keep(std::vector<sim::Vec2>& trail, sim::Vec2 p, bool last) {
        if (!trail.empty() && sim::length(p - trail.back()) < kTrailSpacing) {
            if (last && trail.size() > 1) trail.back() = p;
            return;
        }
        trail.push_back(p);
    }

public:
    static Trails simulate(const Case& c, double h, std::array<bool, sim::kWheelCount> wanted,
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

private:
    Case case_;
    const std::vector<Mark>& marks_;
    std::vector<Quantity> free_;
    bool follows_;
    double h_;
    FitProgress progress_;
    std::array<bool, sim::kWheelCount> wanted_{};
    bool needRest_ = false;
    double longest_ = 0;
    int count_ = 0;
    int simulations_ = 0;
    bool cancelled_ = false;
    double budget_ = 200;
    LaunchValues lower_{}, upper_{};
};

std::string number(double v) {
    // Four significant figures are plenty for a message.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4g", v);
    return buf;
}

// First guesses from the marks themselves. Where both rear marks start at
// the pull, the line between their first points is the rear axle, which gives
// the heading and, f·L ahead of its middle, the mass centre; otherwise the
// first metres of a mark point where the car went, and its first point less
// the wheel's offset is the start.
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

// The guess at another speed. A free yaw rate starts as that of normal
// driving before the pull, the usual case; straight ahead it keeps its
// proportion to the speed, since the path depends on ω/v.
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

bool FitResult::accepted() const {
    return refusal.empty() && !cancelled && !estimates.empty() &&
           std::all_of(estimates.begin(), estimates.end(),
                       [](const Estimate& e) { return e.value.has_value(); });
}

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

std::optional<CriticalSpeed> criticalSpeed(const Mark& mark, double friction, double gravity) {
    const auto& p = mark.points;
    if (p.size() < 3) return std::nullopt;
    // The points of the first 15 m, and the chord from the first to the last.
    std::size_t last = 1;
    for (double along = 0; last < p.size(); ++last) {
        along += sim::length(p[last] - p[last - 1]);
        if (along >= kCriticalChord) break;
    }
    last = std::min(last, p.size() - 1);
    const sim::Vec2 a = p[0], chord = p[last] - p[0];
    const double c = sim::length(chord);
    if (last < 2 || c == 0) return std::nullopt;
    // The middle ordinate: the arc's distance from the chord where it passes
    // the chord's middle, between the two points either side of it.
    double m = 0;
    for (std::size_t i = 1; i <= last; ++i) {
        const double t0 = sim::dot(p[i - 1] - a, chord) / (c * c);
        const double t1 = sim::dot(p[i] - a, chord) / (c * c);
        if ((t0 - 0.5) * (t1 - 0.5) > 0 || t0 == t1) continue;
        const double k = (0.5 - t0) / (t1 - t0);
        const double d0 = sim::cross(chord, p[i - 1] - a) / c;
        const double d1 = sim::cross(chord, p[i] - a) / c;
        m = std::fabs(d0 + k * (d1 - d0));
        break;
    }
    if (!(m > 0)) return std::nullopt;
    CriticalSpeed s;
    s.chord = c;
    s.ordinate = m;
    const auto speedOf = [&](double ordinate) {
        return std::sqrt(friction * gravity * (c * c / (8 * ordinate) + ordinate / 2));
    };
    s.radius = c * c / (8 * m) + m / 2;
    const double v2 = friction * gravity * s.radius;
    if (!(v2 >= 0) || !std::isfinite(v2)) return std::nullopt;
    s.speed = std::sqrt(v2);
    // R falls as M grows up to C/2 (a half circle), then rises again.
    const double lo = m - 2 * mark.sigma, hi = m + 2 * mark.sigma;
    s.low = std::min(speedOf(hi), lo < c / 2 && c / 2 < hi ? speedOf(c / 2) : speedOf(hi));
    if (lo > 0) {
        s.low = std::min(s.low, speedOf(lo));
        s.high = std::max(speedOf(lo), speedOf(hi));
    }
    return s;
}

void applyFit(const FitResult& result, BoxTexts& texts, AutoCalculate& autos) {
    if (!result.accepted()) return;
    for (const Estimate& e : result.estimates) {
        texts.text[quantityInfo(e.quantity).box] = formatNumber(std::round(*e.value * 1e4) / 1e4);
        if (e.quantity == Quantity::YawRate || e.quantity == Quantity::RelativeDirection)
            autos.normal = false;
    }
}

double marksRms(const Case& c, const std::vector<Mark>& marks) {
    Problem problem(c, marks, {Unknowns::Speed, 0, false}, {});
    const double chi2 = problem.chi2(launchValues(c));
    double sum = 0, points = 0;
    for (const Mark& m : marks) {
        sum += m.sigma * m.sigma * static_cast<double>(m.points.size());
        points += static_cast<double>(m.points.size());
    }
    return std::sqrt(sum / std::max(1.0, points) * chi2 / std::max(1, problem.residualCount()));
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

Trails simulateTrails(const Case& c, double h, std::array<bool, sim::kWheelCount> wanted) {
    return Problem::simulate(c, h, wanted, kMaxFitSteps, kInf);
}

std::optional<double> restError(const Case& c) {
    const double h = c.run.timeStep;
    if (!(h > 0)) return std::nullopt;
    std::array<sim::Vec2, 2> rest;
    for (int k = 0; k < 2; ++k) {
        const double step = k == 0 ? h : h / 2;
        sim::Body body = c.launch.body();
        bool atRest = false;
        for (std::size_t n = 0; n < kMaxRestSteps && !atRest; ++n) {
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

std::optional<std::string> fitInputProblem(const Case& c, const std::vector<Mark>& marks,
                                           const FitSettings& settings) {
    if (marks.empty()) return "there are no marks to fit";
    for (const Mark& m : marks)
        if (m.points.empty() || !std::all_of(m.points.begin(), m.points.end(), withinReach))
            return "every mark needs points within " + formatNumber(kMarkReach) +
                   " m of the origin";
    for (const Mark& m : marks)
        if (!sigmaInRange(m.sigma))
            return "σ must be from " + formatNumber(kMinMarkSigma) + " to " +
                   formatNumber(kMaxMarkSigma) + " m, not " + formatNumber(m.sigma);
    const auto quoted = [](int box) { return "\"" + std::string(boxInfo(box).caption) + "\""; };
    if (!(fitStep(c) > 0))
        return "the case's " + quoted(kIntervalBox) + " must be greater than 0 for a fit";
    const double mu = c.car.friction;
    // The trails scale with v²/(μ·g): without friction nothing stops the car.
    if (!(mu > 0)) return "the friction μ, " + quoted(kFrictionBox) + ", must be greater than 0 for a fit";
    if (!(settings.muUncertainty >= 0 && settings.muUncertainty < mu))
        return "the uncertainty of μ must be 0 or more and less than μ (" + formatNumber(mu) +
               "), not " + formatNumber(settings.muUncertainty);
    return std::nullopt;
}

FitResult fitMarks(const Case& c, const std::vector<Mark>& marks, const FitSettings& settings,
                   const FitProgress& progress) {
    FitResult result;
    result.fitted = c;
    result.step = fitStep(c);
    for (const Mark& m : marks)
        result.critical.push_back(criticalSpeed(m, c.car.friction, c.car.gravity));
    if (auto problem = fitInputProblem(c, marks, settings)) {
        result.refusal = std::move(*problem);
        return result;
    }
    double sigmaSquares = 0;
    std::size_t points = 0;
    for (const Mark& m : marks) {
        sigmaSquares += m.sigma * m.sigma * static_cast<double>(m.points.size());
        points += m.points.size();
    }
    result.sigma = std::sqrt(sigmaSquares / static_cast<double>(points));
    if (settings.unknowns == Unknowns::All &&
        std::none_of(marks.begin(), marks.end(), [](const Mark& m) { return m.endsAtRest; })) {
        result.refusal = "fitting everything needs a mark that ends where the car came to rest: "
                         "along a mark cut short, launches from a wide range of speeds leave "
                         "the same marks";
        return result;
    }

    Problem problem(c, marks, settings, progress);
    const bool follows = settings.yawFollowsSpeed && settings.unknowns == Unknowns::Speed;
    const std::vector<Quantity>& free = problem.free();
    const LaunchValues guess = firstGuess(c, marks, settings.unknowns);
    problem.setBudget(settings.unknowns == Unknowns::All     ? 900
                      : settings.unknowns == Unknowns::Speed ? 80
                                                             : 250);

    // The speed decides the length and shape of the marks more than anything
    // else: scan it first, then start the solver from the best few speeds.
    std::vector<std::pair<double, double>> scan; // speed, χ²
    problem.setCoarse(true);
    for (double v = 2; v <= 120 && !problem.cancelled(); v *= 1.25)
        scan.emplace_back(v, problem.chi2(atSpeed(guess, v, c)));
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

    std::vector<Solution> minima;
    for (double v : seeds) {
        if (problem.cancelled()) break;
        // In stages: a solver freed of every quantity at once from a rough
        // guess wanders along the valleys the quantities make together. The
        // speed, and where the car was and went, first; then the yaw rate
        // too; then everything asked for.
        Solution s;
        s.values = atSpeed(guess, v, c);
        // Until the yaw rate is free it follows the speed as normal driving
        // would have it, where the car steers.
        const bool steers = c.car.steering != sim::Steering::Center && c.car.turnRadius != 0;
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
        problem.setFollows(follows);
        minima.push_back(std::move(s));
    }
    result.simulations = problem.simulations();
    if (problem.cancelled() || minima.empty()) {
        result.cancelled = true;
        return result;
    }
    std::sort(minima.begin(), minima.end(),
              [](const Solution& a, const Solution& b) { return a.chi2 < b.chi2; });
    const Solution& best = minima.front();
    result.fitted = problem.caseOf(best.values);
    result.rms = result.sigma * std::sqrt(best.chi2 / std::max(1, problem.residualCount()));

    if (!(result.rms <= kAcceptedRms * result.sigma)) {
        result.refusal = "no launch fits the marks: the best leaves the points " +
                         number(result.rms * 100) +
                         " cm from the trails (RMS), against σ = " + number(result.sigma * 100) +
                         " cm; the marks may come from another car, other friction, or a "
                         "survey less exact than σ says";
        return result;
    }

    // μ moved by its uncertainty: the fit again, from the best launch.
    const double mu = c.car.friction, dmu = settings.muUncertainty;
    std::vector<Solution> shifted;
    for (double m : {mu - dmu, mu + dmu}) {
        if (dmu == 0 || problem.cancelled()) break;
        problem.setFriction(m);
        shifted.push_back(problem.minimise(best.values));
    }
    problem.setFriction(mu);
    result.simulations = problem.simulations();
    if (problem.cancelled()) {
        result.cancelled = true;
        return result;
    }

    // Separated minima that fit as well as the best (within the noise).
    const double dof = std::max(1.0, problem.residualCount() - static_cast<double>(free.size()));
    const double within = kWithinNoise * std::max(1.0, best.chi2 / dof);
    for (std::size_t i = 0; i < free.size(); ++i) {
        const int q = index(free[i]);
        Estimate e;
        e.quantity = free[i];
        const QuantityInfo& info = quantityInfo(free[i]);
        const double value = best.values[q], hw = best.halfWidth[i];
        const double widest =
            kScales[q].widest * (q == index(Quantity::Speed) || q == index(Quantity::TurnRadius)
                                     ? std::fabs(value)
                                     : 1);
        for (const Solution& other : minima) {
            if (&other == &best || other.chi2 > best.chi2 + within) continue;
            const double apart = std::fabs(other.values[q] - value);
            // Two minima whose intervals do not overlap.
            if (apart > hw + other.halfWidth[i] && apart > 1e-9) {
                e.refusal = "separated launches fit the marks equally well: " + number(value) +
                            " and " + number(other.values[q]) + " " + std::string(info.unit);
                break;
            }
        }
        if (e.refusal.empty() && !(hw <= widest)) {
            e.refusal = std::isfinite(hw)
                            ? "the marks leave it open: the misfit stays within the noise from " +
                                  number(std::max(value - hw, problem.lower(free[i]))) + " to " +
                                  number(std::min(value + hw, problem.upper(free[i]))) + " " +
                                  std::string(info.unit)
                            : "the marks do not depend on it";
        }
        if (e.refusal.empty()) {
            double low = value - hw, high = value + hw;
            for (const Solution& s : shifted) {
                const double w = std::isfinite(s.halfWidth[i]) ? s.halfWidth[i] : hw;
                low = std::min(low, s.values[q] - w);
                high = std::max(high, s.values[q] + w);
            }
            e.value = value;
            e.low = low;
            e.high = high;
        }
        result.estimates.push_back(std::move(e));
    }
    return result;
}

} // namespace yawmark::model
