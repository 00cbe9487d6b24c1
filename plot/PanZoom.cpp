#include "plot/PanZoom.h"

#include <cmath>

namespace yawmark {

namespace {

bool usableRange(double lo, double hi) {
    const double width = hi - lo;
    return std::isfinite(lo) && std::isfinite(hi) && width >= kMinRange && width <= kMaxRange;
}

} // namespace

int barSign(int value) {
    return (value > 0) - (value < 0);
}

bool scrX_Change(Params& params, int index, int k) {
    k = barSign(k);
    if (k == 0) return false;
    if (index == 0) {
        const double s = 0.04 * (params.xMax - params.xMin);
        const double xMax = params.xMax - k * s, xMin = params.xMin - k * s;
        if (!std::isfinite(xMin) || !std::isfinite(xMax)) return false;
        params.xMax = xMax;
        params.xMin = xMin;
    }
    return true;
}

bool scrY_Change(Params& params, int index, int k) {
    k = barSign(k);
    if (k == 0) return false;
    if (index == 0) {
        const double s = 0.04 * (params.yMax - params.yMin);
        const double yMax = params.yMax + k * s, yMin = params.yMin + k * s;
        if (!std::isfinite(yMin) || !std::isfinite(yMax)) return false;
        params.yMax = yMax;
        params.yMin = yMin;
    }
    return true;
}

bool scrZoom_Change(Params& params, int index, int k) {
    k = barSign(k);
    if (k == 0) return false;
    if (index == 0) {
        const double dx = 0.1 * (params.xMax - params.xMin);
        const double dy = 0.1 * (params.yMax - params.yMin);
        const double xMax = params.xMax - k * dx, xMin = params.xMin + k * dx;
        const double yMax = params.yMax - k * dy, yMin = params.yMin + k * dy;
        // Zoomed so far in or out that the axes could no longer be drawn: stay.
        if (!usableRange(xMin, xMax) || !usableRange(yMin, yMax)) return false;
        params.xMax = xMax;
        params.xMin = xMin;
        params.yMax = yMax;
        params.yMin = yMin;
    } else if (index == 1) {
        if (params.xInterval <= 1 && k < 0) return false; // the interval never falls below 1
        const double v = params.xInterval;
        const double step = v < 20 ? 1 : v < 100 ? 5 : v < 1000 ? 25 : 100;
        params.xInterval = std::fmax(1.0, params.xInterval + k * step);
        params.yInterval = std::fmax(1.0, params.yInterval + k * step);
    }
    return true;
}

} // namespace yawmark
