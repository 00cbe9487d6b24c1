// SPDX-License-Identifier: MIT
#include "plot/View.h"

#include "plot/Renderer.h"

#include <charconv>

#include <cmath>

namespace yawmark::plot {

namespace {

int sign(int k) {
    return (k > 0) - (k < 0);
}

bool usableRange(double lo, double hi) {
    const double width = hi - lo;
    return std::isfinite(lo) && std::isfinite(hi) && width >= kMinRange && width <= kMaxRange;
}

// Moves a range by `by`; a move past the numbers is refused.
bool shift(double& lo, double& hi, double by) {
    const double newLo = lo + by, newHi = hi + by;
    if (!std::isfinite(newLo) || !std::isfinite(newHi)) return false;
    lo = newLo;
    hi = newHi;
    return true;
}

} // namespace

bool View::panX(int k) {
    k = sign(k);
    return k != 0 && shift(xMin, xMax, -k * 0.04 * (xMax - xMin));
}

bool View::panY(int k) {
    k = sign(k);
    return k != 0 && shift(yMin, yMax, k * 0.04 * (yMax - yMin));
}

bool View::zoom(int k) {
    k = sign(k);
    if (k == 0) return false;
    const double dx = 0.1 * (xMax - xMin);
    const double dy = 0.1 * (yMax - yMin);
    const double x1 = xMax - k * dx, x0 = xMin + k * dx;
    const double y1 = yMax - k * dy, y0 = yMin + k * dy;
    // Zoomed so far in or out that the axes could no longer be drawn: stay.
    if (!usableRange(x0, x1) || !usableRange(y0, y1)) return false;
    xMax = x1;
    xMin = x0;
    yMax = y1;
    yMin = y0;
    return true;
}

bool View::stepInterval(int k) {
    k = sign(k);
    if (k == 0) return false;
    autoIntervals = false;
    if (xInterval <= 1 && k < 0) return false;
    const double v = xInterval;
    const double step = v < 20 ? 1 : v < 100 ? 5 : v < 1000 ? 25 : 100;
    xInterval = std::fmax(1.0, xInterval + k * step);
    yInterval = std::fmax(1.0, yInterval + k * step);
    return true;
}

namespace {

// Sets the ranges when both are usable.
bool setRanges(View& v, double x0, double x1, double y0, double y1) {
    if (!usableRange(x0, x1) || !usableRange(y0, y1)) return false;
    v.xMin = x0, v.xMax = x1, v.yMin = y0, v.yMax = y1;
    return true;
}

} // namespace

bool View::zoomAbout(sim::Vec2 at, double factor) {
    if (!(factor > 0) || !std::isfinite(factor) || !isFinite(at)) return false;
    if (!setRanges(*this, at.x + (xMin - at.x) * factor, at.x + (xMax - at.x) * factor,
                   at.y + (yMin - at.y) * factor, at.y + (yMax - at.y) * factor))
        return false;
    autoIntervals = true;
    return true;
}

bool View::panBy(double dx, double dy) {
    if (!std::isfinite(dx) || !std::isfinite(dy) || (dx == 0 && dy == 0)) return false;
    return setRanges(*this, xMin + dx, xMax + dx, yMin + dy, yMax + dy);
}

bool View::fit(sim::Vec2 lo, sim::Vec2 hi, double margin) {
    // A box without extent (a point) still gets a range to show it in.
    const double w = std::fmax(hi.x - lo.x, 1.0), h = std::fmax(hi.y - lo.y, 1.0);
    const double cx = (lo.x + hi.x) / 2, cy = (lo.y + hi.y) / 2;
    const double half = 0.5 + margin;
    if (!setRanges(*this, cx - w * half, cx + w * half, cy - h * half, cy + h * half)) return false;
    autoIntervals = true;
    return true;
}

bool View::grow(sim::Vec2 lo, sim::Vec2 hi) {
    if (!isFinite(lo) || !isFinite(hi)) return false;
    const double w = xMax - xMin, h = yMax - yMin;
    const double need = std::fmax(std::fmax((hi.x - lo.x) * (1 + 2 * kFollowMargin) / w,
                                            (hi.y - lo.y) * (1 + 2 * kFollowMargin) / h),
                                  std::sqrt(2.0));
    const double u = unit > 0 ? unit : 1.0;
    const double k = niceInterval(w * need / u) * u / w;
    if (!(k >= need * (1 - 1e-9)) || !std::isfinite(k)) return false;
    const double cx = (lo.x + hi.x) / 2, cy = (lo.y + hi.y) / 2;
    if (!setRanges(*this, cx - w * k / 2, cx + w * k / 2, cy - h * k / 2, cy + h * k / 2))
        return false;
    autoIntervals = true;
    return true;
}

int penWidthFor(double pixelSize) {
    if (!(pixelSize >= 1)) return 1; // also not a number
    if (pixelSize >= kMaxPenWidth) return kMaxPenWidth;
    return static_cast<int>(std::nearbyint(pixelSize)); // halves to even
}

std::optional<std::pair<int, int>> parseImageSize(std::string_view text) {
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos) return std::nullopt;
    const auto side = [](std::string_view digits) -> std::optional<int> {
        const auto first = digits.find_first_not_of(' '), last = digits.find_last_not_of(' ');
        if (first == std::string_view::npos) return std::nullopt;
        digits = digits.substr(first, last - first + 1);
        int value = 0;
        if (digits.front() == '+' || digits.front() == '-') return std::nullopt;
        const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (res.ec != std::errc() || res.ptr != digits.data() + digits.size()) return std::nullopt;
        if (value < 1 || value > kMaxImageSide) return std::nullopt;
        return value;
    };
    const auto w = side(text.substr(0, x));
    const auto h = side(text.substr(x + 1));
    if (!w || !h || static_cast<long long>(*w) * *h > kMaxImagePixels) return std::nullopt;
    return std::pair{*w, *h};
}

} // namespace yawmark::plot
