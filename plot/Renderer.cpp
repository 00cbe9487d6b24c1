// SPDX-License-Identifier: MIT
#include "plot/Renderer.h"

#include "sim/NumberText.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace yawmark::plot {

namespace {

ScaleFailure divisionByZero() {
    return {11, "Division by zero"};
}

// A mapping the surface can take: finite corners with an extent on both axes.
std::optional<ScaleFailure> checkMapping(double x1, double y1, double x2, double y2) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2) ||
        !std::isfinite(x2 - x1) || !std::isfinite(y2 - y1))
        return ScaleFailure{6, "Overflow"};
    if (x1 == x2 || y1 == y2) return ScaleFailure{5, "Invalid procedure call or argument"};
    return std::nullopt;
}

std::optional<ScaleFailure> checkInterval(double interval) {
    if (!(interval > 0) || !std::isfinite(interval))
        return ScaleFailure{5, "Invalid procedure call or argument"};
    return std::nullopt;
}

} // namespace

std::string scaleFailureText(const ScaleFailure& failure) {
    return "Something in SCALE went wrong, man!\nError number: " + std::to_string(failure.number) +
           "\nDescription: " + failure.description;
}

// Ticks go 1-2-5 per decade: the smallest of interval·{1, 2, 5}·10ⁿ that
// leaves at most kMaxTicksPerHalfAxis on the longer half-axis, so labels stay
// readable however far the view is zoomed out.
double tickInterval(double interval, double extent) {
    for (double decade = 1;; decade *= 10) {
        for (const double m : {1.0, 2.0, 5.0}) {
            const double candidate = interval * m * decade;
            if (!std::isfinite(candidate) || extent / candidate <= kMaxTicksPerHalfAxis)
                return candidate;
        }
    }
}

double niceInterval(double least) {
    double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (;; decade *= 10)
        for (const double m : {1.0, 2.0, 5.0})
            if (m * decade >= least || !std::isfinite(m * decade)) return m * decade;
}

Color markColor(int wheel) {
    // Two parts grey to one of the trail's colour: still plainly not a trail.
    const Color trail = kTrailColors[1 + std::clamp(wheel, 0, 3)];
    Color mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned grey = (kMarkColor >> shift) & 0xFFu, own = (trail >> shift) & 0xFFu;
        mixed |= ((2 * grey + own) / 3) << shift;
    }
    return mixed;
}

std::optional<ScaleFailure> Renderer::drawAxes(const Frame& frame,
                                               std::span<const LegendEntry> more) {
    Surface& s = *surface_;
    s.clear();
    // The ranges are widened below for this drawing only; the view's stay.
    double xMin = view_->xMin, xMax = view_->xMax, yMin = view_->yMin, yMax = view_->yMax;

    if (frame.width == 0) return divisionByZero();
    const double shape = frame.height / frame.width;

    // Provisional mapping, only to measure the labels in world units.
    if (auto f = checkMapping(xMin, yMax, xMax, yMin)) return f;
    s.setWorldRect(xMin, yMax, xMax, yMin);
    const double lw = std::max(std::abs(s.textWidth(formatNumber(yMin / view_->unit))),
                               std::abs(s.textWidth(formatNumber(yMax / view_->unit))));
    const double cw = std::abs(s.textWidth("X"));
    const double ch = std::abs(s.textHeight());

    // The box that fills the drawing area: room for the labels, then brought
    // to the area's shape.
    double L = xMin - lw - 5 * cw, R = xMax + lw + 3 * cw;
    double T = yMax + 2 * ch, B = yMin - 2 * ch;
    if (R - L == 0) return divisionByZero();
    const double r = (T - B) / (R - L);
    if (r > shape) {
        if (shape == 0) return divisionByZero();
        const double d = ((T - B) / shape - (R - L)) / 2;
        L -= d;
        R += d;
        const double e = ((yMax - yMin) / shape - (xMax - xMin)) / 2;
        xMin -= e;
        xMax += e;
    } else if (r < shape) {
        const double h = (R - L) * shape;
        const double d = (h - (T - B)) / 2;
        T += d;
        B -= d;
        const double e = (h - (yMax - yMin)) / 2;
        yMin -= e;
        yMax += e;
    }
    if (auto f = checkMapping(L, T, R, B)) return f;
    s.setWorldRect(L, T, R, B);
    shownLo_ = {L, B};
    shownHi_ = {R, T};
    carDrawn_ = false;
    if (scene_) drawSceneImage(s, *scene_);

    // Each axis passes through the origin when the other range holds it,
    // otherwise along the low edge of that range.
    const double yAxisX = (xMin > 0 || xMax < 0) ? xMin : 0;
    const double xAxisY = (yMin > 0 || yMax < 0) ? yMin : 0;
    s.line(xMin, xAxisY, xMax, xAxisY);
    s.line(yAxisX, yMin, yAxisX, yMax);

    if (view_->legend && frame.width >= kMinLegendPlotWidth) {
        std::vector<LegendEntry> entries;
        for (int i = 0; i < kTrailCount; ++i)
            entries.push_back({kTrailNames[i], view_->colors[i]});
        entries.insert(entries.end(), more.begin(), more.end());
        s.legend(entries);
    }

    // Intervals and labels count in the view's unit of length (a metre or a
    // foot); the drawing is in metres.
    const double u = view_->unit > 0 && std::isfinite(view_->unit) ? view_->unit : 1.0;
    double xInterval = view_->xInterval, yInterval = view_->yInterval;
    if (view_->autoIntervals) {
        // Neighbouring x labels two characters apart at least, y labels a line
        // apart; the axes are to scale, so one interval serves both.
        const double extent = std::max(std::abs(xMin), std::abs(xMax)) / u;
        const auto widest = [&](double c) { // of the x labels this interval would draw
            double w = 0;
            for (int n = 0; n <= kMaxTicksPerHalfAxis && n * c <= extent; ++n)
                w = std::max(w, std::abs(s.textWidth(" " + formatNumber(-n * c))));
            return w;
        };
        // In the final mapping's units (cw and ch were measured in the provisional one).
        const double charWidth = std::abs(s.textWidth("X")), lineHeight = std::abs(s.textHeight());
        double c = 2 * lineHeight / u;
        if (c > 0 && std::isfinite(c)) {
            c = niceInterval(c);
            // The next of 1, 2, 5, 10, ... each time: ×1.5 lands between two of them.
            for (int n = 0; n < 64 && c * u < widest(c) + 2 * charWidth; ++n)
                c = niceInterval(c * 1.5);
            xInterval = yInterval = c;
        }
    }
    if (auto f = checkInterval(xInterval)) return f;
    if (auto f = checkInterval(yInterval)) return f;

    // X ticks from the origin outward; labels hang below the axis.
    const double xStep = tickInterval(xInterval, std::max(std::abs(xMin), std::abs(xMax)) / u);
    double t = 0;
    for (int n = 0; n <= kMaxTicksPerHalfAxis + 1; ++n) {
        const double x = t * u;
        if (x <= xMax) {
            s.line(x, xAxisY - ch / 2, x, xAxisY + ch / 2);
            s.label(x - cw / 1.5, xAxisY - ch / 2, t);
        }
        if (-x >= xMin) {
            s.line(-x, xAxisY - ch / 2, -x, xAxisY + ch / 2);
            s.label(-x - cw / 1.5, xAxisY - ch / 2, -t);
        }
        t += xStep;
        if (!(-t * u >= xMin || t * u <= xMax)) break;
    }

    // Y ticks; the origin is labelled once, on the x axis. Labels end one
    // character left of the axis, centred on their tick.
    const double yStep = tickInterval(yInterval, std::max(std::abs(yMin), std::abs(yMax)) / u);
    t = yStep;
    for (int n = 0; n <= kMaxTicksPerHalfAxis + 1; ++n) {
        const double y = t * u;
        const double yw = std::abs(s.textWidth(" " + formatNumber(t)));
        if (y <= yMax) {
            s.line(yAxisX - cw / 2, y, yAxisX + cw / 2, y);
            s.label(yAxisX - cw - yw, y + ch / 2, t);
        }
        if (-y >= yMin) {
            s.line(yAxisX - cw / 2, -y, yAxisX + cw / 2, -y);
            s.label(yAxisX - cw - yw, -y + ch / 2, -t);
        }
        t += yStep;
        if (!(-t * u >= yMin || t * u <= yMax)) break;
    }
    if (scene_) drawSceneMarks(s, *scene_, shownLo_, shownHi_, u, u == 1 ? "m" : "ft");
    return std::nullopt;
}

void Renderer::drawCloud(const Cloud& cloud) {
    Surface& s = *surface_;
    const int pen = s.penWidth();
    const bool persistent = s.persistent();
    s.setPersistent(true);
    s.setPenWidth(1);
    for (const auto& trail : cloud.trails)
        for (std::size_t i = 1; i < trail.size(); ++i)
            s.line(trail[i - 1].x, trail[i - 1].y, trail[i].x, trail[i].y, kCloudTrailColor);
    s.setPenWidth(kCloudDotPixels);
    for (const sim::Vec2& p : cloud.rests)
        s.dot(p.x, p.y, kCloudRestColor);
    s.setPenWidth(2);
    const auto& r = cloud.region;
    for (std::size_t i = 0; r.size() > 1 && i < r.size(); ++i) {
        const sim::Vec2& next = r[(i + 1) % r.size()];
        s.line(r[i].x, r[i].y, next.x, next.y, kCloudRegionColor);
    }
    s.setPenWidth(pen);
    s.setPersistent(persistent);
}

void Renderer::drawReference(const ReferenceTrails& reference, int which) {
    Surface& s = *surface_;
    const int pen = s.penWidth();
    const bool persistent = s.persistent();
    const Color color = kReferenceColors[static_cast<std::size_t>(std::clamp(which, 0, 2))];
    s.setPersistent(true);
    s.setPenWidth(1);
    for (const auto& trail : reference.trails)
        for (std::size_t i = 1; i < trail.size(); ++i)
            s.line(trail[i - 1].x, trail[i - 1].y, trail[i].x, trail[i].y, color);
    const auto& t = reference.trails;
    if (std::all_of(t.begin(), t.end(), [](const auto& trail) { return !trail.empty(); })) {
        enum { CE, FL, FR, RR, RL };
        const auto edge = [&](int a, int b) {
            s.line(t[a].back().x, t[a].back().y, t[b].back().x, t[b].back().y, color);
        };
        edge(FL, FR), edge(FR, RR), edge(RR, RL), edge(RL, FL);
    }
    s.setPenWidth(pen);
    s.setPersistent(persistent);
}

void Renderer::showCar(const sim::Body& body, const sim::WheelPlacement& wheels) {
    const int pen = surface_->penWidth();
    car_ = trailPoints(body, wheels);
    carDrawn_ = true;
    surface_->setPenWidth(1);
    drawOutline(car_, false);
    surface_->setPenWidth(pen);
    surface_->flush();
}

void Renderer::drawMark(std::span<const sim::Vec2> points, int wheel) {
    Surface& s = *surface_;
    const int pen = s.penWidth();
    const bool persistent = s.persistent();
    const Color color = markColor(wheel);
    s.setPersistent(true);
    if (!points.empty()) {
        // Beside the first point, on the wheel's side, so that the codes of a
        // left and a right mark starting abreast stay apart.
        const std::string_view code = kWheelCodes[std::clamp(wheel, 0, 3)];
        const double gap = std::abs(s.textWidth("X")) / 2;
        const bool left = wheel == sim::FL || wheel == sim::RL;
        s.text(left ? points.front().x - gap - std::abs(s.textWidth(code))
                    : points.front().x + gap,
               points.front().y, code);
    }
    s.setPenWidth(1);
    for (std::size_t i = 1; i < points.size(); ++i)
        s.line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, color);
    s.setPenWidth(kMarkDotPixels);
    for (const sim::Vec2& p : points)
        s.dot(p.x, p.y, color);
    s.setPenWidth(pen);
    s.setPersistent(persistent);
}

void Renderer::beginPasses(sim::Vec2 at) {
    surface_->setPenWidth(penWidthFor(view_->pixelSize));
    // The start dot has always been placed in single precision.
    surface_->dot(static_cast<float>(at.x), static_cast<float>(at.y));
}

void Renderer::endPasses() {
    surface_->setPersistent(true);
    surface_->setPenWidth(1);
    surface_->flush();
}

std::array<sim::Vec2, kTrailCount> Renderer::trailPoints(const sim::Body& body,
                                                         const sim::WheelPlacement& wheels) {
    std::array<sim::Vec2, kTrailCount> points;
    points[0] = body.position;
    for (int i = 0; i < sim::kWheelCount; ++i)
        points[i + 1] = {body.position.x + wheels.offset[i].x,
                         body.position.y + wheels.offset[i].y};
    return points;
}

bool Renderer::carInSight() const {
    if (!carDrawn_) return true;
    return std::all_of(car_.begin(), car_.end(), [this](sim::Vec2 p) {
        return p.x >= shownLo_.x && p.x <= shownHi_.x && p.y >= shownLo_.y && p.y <= shownHi_.y;
    });
}

void Renderer::drawCar(const sim::Body& body, const sim::WheelPlacement& wheels, bool lasting) {
    const auto points = trailPoints(body, wheels);
    car_ = points;
    carDrawn_ = true;
    plotTrails(points, lasting);
    drawOutline(points, lasting);
}

void Renderer::redrawCar(const sim::Body& body, const sim::WheelPlacement& wheels, bool lasting) {
    const auto points = trailPoints(body, wheels);
    car_ = points;
    carDrawn_ = true;
    plotTrails(points, lasting);
    if (lasting) drawOutline(points, true);
}

// One point per trail: a dot, or a segment from the trail's last point when
// the trail is joined, was joined at its last point too, and no lasting
// drawing (the start, a snapshot) restarts it.
void Renderer::plotTrails(const std::array<sim::Vec2, kTrailCount>& points, bool lasting) {
    for (int i = 0; i < kTrailCount; ++i) {
        const sim::Vec2 p = points[i];
        const Color color = view_->colors[i];
        const bool joined = view_->joined[i];
        if (joined && !lasting && wasJoined_[i])
            surface_->line(p.x, p.y, last_[i].x, last_[i].y, color);
        else
            surface_->dot(p.x, p.y, color);
        if (joined) last_[i] = p;
        wasJoined_[i] = joined;
    }
}

// The outline through the four wheels; its rear edge, the locked axle, in cyan
// so that the car's orientation reads from every snapshot.
void Renderer::drawOutline(const std::array<sim::Vec2, kTrailCount>& p, bool lasting) {
    enum { CE, FL, FR, RR, RL };
    Surface& s = *surface_;
    // An ordinary pass shows the car on the screen only.
    if (!lasting) s.setPersistent(false);
    s.line(p[FL].x, p[FL].y, p[FR].x, p[FR].y); // front edge
    s.line(p[FR].x, p[FR].y, p[RR].x, p[RR].y); // right side
    s.line(p[FL].x, p[FL].y, p[RL].x, p[RL].y); // left side
    const int width = penWidthFor(view_->pixelSize);
    s.setPenWidth(width);
    s.line(p[RR].x, p[RR].y, p[RL].x, p[RL].y, kRearEdgeColor);
    for (int i = CE; i <= RL; ++i)
        s.dot(p[i].x, p[i].y, view_->colors[i]);
    s.setPenWidth(width);
    s.setPersistent(true);
}

} // namespace yawmark::plot
