// The small vector procedures of the force model. Vectors are passed as their
// separate components; everything is inline so that a pass stays cheap.
#pragma once

#include <cmath>

namespace yawmark {

// A three-component result of Cross.
struct Vec3 {
    double x, y, z;
};

// Plane dot product ax·bx + ay·by.
inline double Dot(double ax, double ay, double bx, double by) {
    return ax * bx + ay * by;
}

// Three-dimensional cross product a × b.
inline Vec3 Cross(double ax, double ay, double az, double bx, double by, double bz) {
    return {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
}

// Length of (x, y, z); pass z = 0 for a plane vector.
inline double Mag(double x, double y, double z) {
    return std::sqrt(x * x + y * y + z * z);
}

// Rotates (x, y) in place by the angle whose cosine and sine are given.
inline void RotateBy(double& x, double& y, double cosTheta, double sinTheta) {
    const double x0 = x;
    const double y0 = y;
    x = cosTheta * x0 - sinTheta * y0;
    y = sinTheta * x0 + cosTheta * y0;
}

// Rotates (x, y) in place counter-clockwise by theta radians.
inline void Rotate(double& x, double& y, double theta) {
    RotateBy(x, y, std::cos(theta), std::sin(theta));
}

} // namespace yawmark
