// SPDX-License-Identifier: MIT
#include "model/Scene.h"

#include "model/Marks.h"
#include "model/Text.h"
#include "model/Units.h"
#include "sim/NumberText.h"

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace yawmark::model {

namespace {

constexpr double kMetresPerInch = kMetresPerFoot / 12;

bool finite(sim::Vec2 p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::variant<Placement, std::string> checked(const Placement& p) {
    if (auto problem = placementProblem(p)) return *problem;
    return p;
}

} // namespace

sim::Vec2 Placement::toWorld(sim::Vec2 pixel) const {
    return {a * pixel.x + b * pixel.y + c, d * pixel.x + e * pixel.y + f};
}

std::optional<sim::Vec2> Placement::toImage(sim::Vec2 world) const {
    const double det = a * e - b * d;
    if (det == 0 || !std::isfinite(det)) return std::nullopt;
    const double x = world.x - c, y = world.y - f;
    return sim::Vec2{(e * x - b * y) / det, (a * y - d * x) / det};
}

double Placement::scale() const {
    return std::sqrt(std::fabs(a * e - b * d));
}

std::optional<std::string> placementProblem(const Placement& p) {
    for (const double v : {p.a, p.b, p.c, p.d, p.e, p.f})
        if (!std::isfinite(v)) return std::string("it holds a number that is not finite");
    const double s = p.scale();
    if (s == 0) return std::string("its scale is zero (the image would have no extent)");
    if (!std::isfinite(s)) return std::string("its scale is not a finite number");
    // A pixel wider than a survey reaches, or the image's corner beyond it,
    // would put numbers no plot can map into the drawing.
    if (s > kMarkReach || !withinReach({p.c, p.f}))
        return "it places the image more than " + formatNumber(kMarkReach) + " m from the origin";
    return std::nullopt;
}

std::variant<Placement, std::string> parseWorldFile(std::string_view text, double metresPerUnit) {
    std::array<double, 6> v{};
    std::size_t count = 0;
    int line = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view row = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++line;
        if (row.empty()) continue;
        if (count == v.size())
            return "line " + std::to_string(line) + ": a world file holds six numbers, not more.";
        const auto number = parseNumber(row);
        if (!number)
            return "line " + std::to_string(line) + ": \"" + printable(row) + "\" is not a number.";
        v[count++] = *number * metresPerUnit;
    }
    if (count < v.size())
        return "a world file holds six numbers, one a line; this one has " + std::to_string(count) +
               ".";
    // A, D, B, E, then the centre of the top-left pixel: half a pixel in from the corner.
    Placement p{v[0], v[2], 0, v[1], v[3], 0};
    p.c = v[4] - (p.a + p.b) / 2;
    p.f = v[5] - (p.d + p.e) / 2;
    if (p.a * p.e - p.b * p.d == 0)
        return std::string("its scale is zero (the image would have no extent).");
    if (auto problem = placementProblem(p)) return *problem + ".";
    return p;
}

std::string worldFileText(const Placement& p) {
    std::string text;
    for (const double v : {p.a, p.d, p.b, p.e, p.c + (p.a + p.b) / 2, p.f + (p.d + p.e) / 2})
        text += formatNumber(v) + '\n';
    return text;
}

std::variant<Placement, std::string> calibrateByDistance(sim::Vec2 pixel1, sim::Vec2 pixel2,
                                                         double distance, sim::Vec2 first) {
    if (!finite(pixel1) || !finite(pixel2) || !finite(first))
        return std::string("a point is not a number.");
    const double pixels = sim::length(pixel2 - pixel1);
    if (pixels == 0) return std::string("the two points coincide: pick two points apart.");
    if (!(distance > 0) || !std::isfinite(distance))
        return std::string("the distance must be a number greater than 0.");
    const double s = distance / pixels;
    return checked({s, 0, first.x - s * pixel1.x, 0, -s, first.y + s * pixel1.y});
}

std::variant<Placement, std::string> calibrateByPoints(sim::Vec2 pixel1, sim::Vec2 world1,
                                                       sim::Vec2 pixel2, sim::Vec2 world2) {
    if (!finite(pixel1) || !finite(pixel2) || !finite(world1) || !finite(world2))
        return std::string("a point is not a number.");
    if (pixel1 == pixel2) return std::string("the two points coincide: pick two points apart.");
    if (world1 == world2)
        return std::string("the two points' coordinates coincide: give two points apart.");
    // In complex numbers, with the image point z = column - i·row (y upward),
    // the world point is w = α·z + β: α turns and scales, β moves.
    const double zx = pixel2.x - pixel1.x, zy = -(pixel2.y - pixel1.y);
    const double wx = world2.x - world1.x, wy = world2.y - world1.y;
    const double zz = zx * zx + zy * zy;
    const double p = (wx * zx + wy * zy) / zz, q = (wy * zx - wx * zy) / zz; // α = p + iq
    // α·z = (p·column + q·row) + i(q·column - p·row).
    Placement pl{p, q, 0, q, -p, 0};
    const sim::Vec2 at = pl.toWorld(pixel1);
    pl.c = world1.x - at.x;
    pl.f = world1.y - at.y;
    return checked(pl);
}

std::optional<std::string> imageSizeProblem(long long width, long long height) {
    if (width <= 0 || height <= 0) return std::string("the image is empty");
    if (width > kMaxSceneImagePixels / height)
        return "the image has " + formatNumber(double(width) * double(height) / 1e6) +
               " megapixels; a scene may have at most " +
               formatNumber(double(kMaxSceneImagePixels) / 1e6);
    return std::nullopt;
}

std::variant<Placement, std::string> calibrationOf(std::string_view answer, sim::Vec2 pixel1,
                                                   sim::Vec2 pixel2, double metresPerUnit) {
    std::vector<double> v;
    std::size_t i = 0;
    while (i < answer.size()) {
        const std::size_t end = answer.find_first_of(" \t,;", i);
        const std::string_view part = answer.substr(i, end == answer.npos ? answer.npos : end - i);
        if (!part.empty()) {
            const auto n = parseNumber(part);
            if (!n) return "\"" + std::string(part) + "\" is not a number.";
            v.push_back(*n * metresPerUnit);
        }
        if (end == answer.npos) break;
        i = end + 1;
    }
    if (v.size() == 1) return calibrateByDistance(pixel1, pixel2, v[0]);
    if (v.size() == 4) return calibrateByPoints(pixel1, {v[0], v[1]}, pixel2, {v[2], v[3]});
    return std::string("give the distance between the two points, or both points' "
                       "coordinates as x1,y1 x2,y2.");
}

Placement provisionalPlacement(double width, double height, double metresPerUnit) {
    const double u = metresPerUnit;
    return {u, 0, -width / 2 * u, 0, -u, height / 2 * u};
}

std::optional<double> Measurement::distance() const {
    if (points.size() < 2) return std::nullopt;
    return sim::length(points[1] - points[0]);
}

std::optional<double> Measurement::angle() const {
    if (points.size() < 3) return std::nullopt;
    const sim::Vec2 u = points[0] - points[1], v = points[2] - points[1];
    if (sim::length(u) == 0 || sim::length(v) == 0) return std::nullopt;
    // atan2 of the cross and dot products keeps its precision near 0° and 180°.
    const double cross = u.x * v.y - u.y * v.x, dot = u.x * v.x + u.y * v.y;
    return std::fabs(std::atan2(cross, dot)) * 180 / std::numbers::pi;
}

std::optional<double> parseLengthUnitName(std::string_view name) {
    name = trimmed(name);
    if (sameLetters(name, "m")) return 1.0;
    if (sameLetters(name, "cm")) return 0.01;
    if (sameLetters(name, "mm")) return 0.001;
    if (sameLetters(name, "ft")) return kMetresPerFoot;
    if (sameLetters(name, "in")) return kMetresPerInch;
    return std::nullopt;
}

} // namespace yawmark::model
