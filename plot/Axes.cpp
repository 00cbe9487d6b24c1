#include "plot/Axes.h"

#include "sim/NumberText.h"

#include <algorithm>
#include <cmath>

namespace yawmark {

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

double tickInterval(double interval, double extent) {
    for (double decade = 1;; decade *= 10) {
        for (const double m : {1.0, 2.0, 5.0}) {
            const double candidate = interval * m * decade;
            if (!std::isfinite(candidate) || extent / candidate <= kMaxTicksPerHalfAxis)
                return candidate;
        }
    }
}

std::optional<ScaleFailure> DrawScale(Surface& surface, const Params& params) {
    surface.Cls();
    // The ranges are widened below for this drawing only; the stored ones stay.
    double xMin = params.xMin, xMax = params.xMax, yMin = params.yMin, yMax = params.yMax;

    // Window and panel in twips.
    surface.Scale();
    const double outerWidth = surface.windowWidth();
    const double outerHeight = surface.windowHeight();
    if (outerWidth == 0) return divisionByZero();
    const double shape = outerHeight / outerWidth; // R0
    const double panelRight = surface.panelLeft() + surface.panelWidth();
    if (outerWidth - panelRight == 0) return divisionByZero();
    // About the world width the panel covers.
    const double m = panelRight / (outerWidth - panelRight) * (xMax - xMin);

    // Provisional mapping, only to measure the labels in world units.
    if (auto f = checkMapping(xMin - m, yMax, xMax, yMin)) return f;
    surface.Scale(xMin - m, yMax, xMax, yMin);
    const double lw = std::max(std::abs(surface.TextWidth(formatNumber(yMin))),
                               std::abs(surface.TextWidth(formatNumber(yMax))));
    const double cw = std::abs(surface.TextWidth("X"));
    const double ch = std::abs(surface.TextHeight("X"));

    // The box that fills the drawing area: room for the panel and the labels,
    // then brought to the window's shape.
    double L = xMin - m - lw - 5 * cw, R = xMax + lw + 3 * cw;
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
    surface.Scale(L, T, R, B);

    // Each axis passes through the origin when the other range holds it,
    // otherwise along the low edge of that range.
    const double yAxisX = (xMin > 0 || xMax < 0) ? xMin : 0;
    const double xAxisY = (yMin > 0 || yMax < 0) ? yMin : 0;
    surface.Line(xMin, xAxisY, xMax, xAxisY);
    surface.Line(yAxisX, yMin, yAxisX, yMax);

    if (auto f = checkInterval(params.xInterval)) return f;
    if (auto f = checkInterval(params.yInterval)) return f;

    // X ticks from the origin outward; labels hang below the axis.
    const double xStep = tickInterval(params.xInterval, std::max(std::abs(xMin), std::abs(xMax)));
    double t = 0;
    for (int n = 0; n <= kMaxTicksPerHalfAxis + 1; ++n) {
        if (t <= xMax) {
            surface.Line(t, xAxisY - ch / 2, t, xAxisY + ch / 2);
            surface.setCurrentX(t - cw / 1.5);
            surface.setCurrentY(xAxisY - ch / 2);
            surface.Print(t);
        }
        if (-t >= xMin) {
            surface.Line(-t, xAxisY - ch / 2, -t, xAxisY + ch / 2);
            surface.setCurrentX(-t - cw / 1.5);
            surface.setCurrentY(xAxisY - ch / 2);
            surface.Print(-t);
        }
        t += xStep;
        if (!(-t >= xMin || t <= xMax)) break;
    }

    // Y ticks; the origin is labelled once, on the x axis. Labels end one
    // character left of the axis, centred on their tick.
    const double yStep = tickInterval(params.yInterval, std::max(std::abs(yMin), std::abs(yMax)));
    double y = yStep;
    for (int n = 0; n <= kMaxTicksPerHalfAxis + 1; ++n) {
        const double yw = std::abs(surface.TextWidth(" " + formatNumber(y)));
        if (y <= yMax) {
            surface.Line(yAxisX - cw / 2, y, yAxisX + cw / 2, y);
            surface.setCurrentX(yAxisX - cw - yw);
            surface.setCurrentY(y + ch / 2);
            surface.Print(y);
        }
        if (-y >= yMin) {
            surface.Line(yAxisX - cw / 2, -y, yAxisX + cw / 2, -y);
            surface.setCurrentX(yAxisX - cw - yw);
            surface.setCurrentY(-y + ch / 2);
            surface.Print(-y);
        }
        y += yStep;
        if (!(-y >= yMin || y <= yMax)) break;
    }
    return std::nullopt;
}

std::optional<ScaleFailure> cmdClear_Click(Surface& surface, const Params& params) {
    surface.Cls();
    return DrawScale(surface, params);
}

std::string scaleFailureText(const ScaleFailure& failure) {
    return "Something in SCALE went wrong, man!\nError number: " + std::to_string(failure.number) +
           "\nDescription: " + failure.description;
}

} // namespace yawmark
