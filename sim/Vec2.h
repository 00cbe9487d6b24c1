// SPDX-License-Identifier: MIT
// Plane vectors and rotations as value types. x to the right, y up, metres;
// angles counter-clockwise. Products keep the order of their factors, so a
// skid comes out bit for bit the same on every build (contraction is off).
#pragma once

#include <cmath>

namespace yawmark::sim {

struct Vec2 {
    double x = 0;
    double y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(double k, Vec2 v) {
    return {k * v.x, k * v.y};
}
inline bool operator==(Vec2 a, Vec2 b) {
    return a.x == b.x && a.y == b.y;
}

inline double dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
// The z component of a × b.
inline double cross(Vec2 a, Vec2 b) {
    return a.x * b.y - a.y * b.x;
}
// The plain formula, which every run has always used; hypot only where the
// squares overflow, so that no length of finite components is infinite.
inline double length(Vec2 v) {
    const double squares = v.x * v.x + v.y * v.y;
    if (std::isfinite(squares)) return std::sqrt(squares);
    return std::hypot(v.x, v.y);
}
inline bool isFinite(Vec2 v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// A rotation held as its cosine and sine, so that one evaluation of the
// heading serves the four wheels and both front axles of a step.
struct Rot {
    double c = 1;
    double s = 0;

    static Rot fromAngle(double radians) { return {std::cos(radians), std::sin(radians)}; }
    Vec2 apply(Vec2 v) const { return {c * v.x - s * v.y, s * v.x + c * v.y}; }
};

} // namespace yawmark::sim
