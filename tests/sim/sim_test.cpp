// SPDX-License-Identifier: MIT
// The core: numbers as the boxes write and read them, and one step of the skid.
#include "sim/NumberText.h"
#include "sim/Step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

namespace yawmark::sim {
namespace {

constexpr double pi = std::numbers::pi;

TEST(NumberText, WritesAtMost15DigitsAndReadsOnlyOneFiniteDecimalNumber) {
    const double values[] = {
        58.80000000000001,  10 / 11.16,       0.0001, 1e-05, -0.0, -0.187241109519877, 1e15,
        2061.2577916666664, 123456789012345.0};
    std::string texts;
    for (const double v : values) {
        texts += formatNumber(v) + " ";
        EXPECT_NEAR(parseNumber(formatNumber(v)).value_or(NAN), v, std::abs(v) * 1e-14) << v;
    }
    EXPECT_EQ(texts, "58.8 0.896057347670251 0.0001 1E-05 0 -0.187241109519877 1E+15 "
                     "2061.25779166667 123456789012345 ");
    for (const char* bad : {"", " ", "1,5", "nan", "inf", "1e999", "-1e999", "0x10", "1e", "+-1",
                            "1 2", "-", ".", "e5", "1.2.3", "12a", "Infinity", "1e+"})
        EXPECT_FALSE(parseNumber(bad)) << '"' << bad << '"';
    const std::pair<std::string, double> good[] = {
        // a text, its value
        {" 12\t", 12},        {"-0", 0},
        {".5", 0.5},          {"5.", 5},
        {"1E+3", 1000},       {"+7", 7},
        {"1e-400", 0},        {"-2.5", -2.5},
        {"1.5e300", 1.5e300}, {"1" + std::string(299, '0'), 1e299}};
    for (const auto& [text, value] : good)
        EXPECT_EQ(parseNumber(text).value_or(NAN), value) << '"' << text << '"';
    // Too small or too large to hold, told by the value, not the spelling.
    EXPECT_EQ(parseNumber("0." + std::string(400, '0') + "1"), 0.0); // 1e-401
    EXPECT_FALSE(parseNumber("1" + std::string(400, '0') + "e-10")); // 1e390
    EXPECT_EQ(parseNumber("1e-99999999999999999999"), 0.0);
}

// The start-up car and launch as Draw reads them back from the boxes' texts.
const Car kCar{4.29, 1.82,           1139, 1 - 58.8 / 100, 2061.25779166667, 0.896057347670251,
               9.8,  Steering::Left, 17,   0.0001};
const Body kLaunch{{0, 0}, {0, 20}, -0.0, 0.187241109519877 * 2 * pi, 0};

bool same(const Body& a, const Body& b) {
    return !std::memcmp(&a, &b, sizeof(Body));
}

TEST(Step, DefaultSkidIsTheEarlierBuildsBitForBitAndRestsFromPass352) {
    // pass, t, x, y, vx, vy, heading, omega as the batch runner printed them before the rewrite
    const double rows[][8] = {
        {1, 0.01, -0.00020206935747290081, 0.1996986248337099, -0.040413871494580159,
         19.939724966741977, 0.011983960123402391, 1.2203214364451835},
        {2, 0.02, -0.000808262274422287, 0.39879245939635927, -0.08082471189529708,
         19.879041945787886, 0.024402881425632888, 1.2634628240009156},
        {352, 3.5199999999999689, -1.4659549215088752, 30.277837363503476, 0, 0, 2.8230289495697476,
         0}};
    Body b = kLaunch;
    int pass = 0;
    for (const auto& r : rows) {
        for (; pass < r[0]; ++pass)
            b = step(kCar, b, 0.01).body;
        EXPECT_TRUE(same(b, {{r[2], r[3]}, {r[4], r[5]}, r[6], r[7], r[1]})) << "pass " << pass;
    }
    const Body rest = b; // at rest the car stays exactly where it is
    for (int n = 0; n < 100000; ++n)
        b = step(kCar, b, 0.01).body;
    b.time = rest.time;
    EXPECT_TRUE(same(b, rest));
}

TEST(Step, RefusedStepLeavesTheBodyAsItWas) {
    const std::tuple<const char*, double, double, double, double> cases[] = {
        // what, speed, step, turning radius, front share
        {"overflowing step", 1e308, 1000, 17, 0.412},
        {"huge step", 20, 1e300, 17, 0.412},
        {"radius with no real centre of turn", 20, 0.01, 0.5, 0.412},
        {"overflowing wheelbase", 20, 0.01, 17, -1e308}};
    for (const auto& [what, speed, h, radius, frontShare] : cases) {
        Car car = kCar;
        car.turnRadius = radius, car.frontShare = frontShare;
        const Body b{{1, 2}, {speed, speed}, 0.5, 1, 1.5};
        const StepResult r = step(car, b, h);
        EXPECT_FALSE(r.finite) << what;
        EXPECT_TRUE(same(r.body, b)) << what;
        EXPECT_TRUE(isFinite(r.force) && r.torque == 0 && isFinite(r.frontAxle[0]) && // nothing
                    isFinite(r.wheelForce[0]) && isFinite(r.wheelVelocity[3]))
            << what; // kept
    }
}

TEST(Step, FrontAxlesAndYawRateOfTheSteering) {
    Car car = kCar;
    const Rot straight{};
    const auto left = frontAxles(car, straight);
    EXPECT_NEAR(left[0].x, 0.965875, 1e-6); // inner wheel
    EXPECT_NEAR(left[1].y, 0.234080, 1e-6); // outer wheel
    car.steering = Steering::Right;         // mirrored, the wheels exchanged
    const auto right = frontAxles(car, straight);
    EXPECT_EQ(right[0], (Vec2{-left[1].x, left[1].y}));
    EXPECT_EQ(right[1], (Vec2{-left[0].x, left[0].y}));
    car.steering = Steering::Center; // across the car, turned with it
    EXPECT_NEAR(frontAxles(car, Rot::fromAngle(pi / 2))[1].y, 1, 1e-15);
    car = Car{0, 0, 1, 0.5, 1, 1, 1, Steering::Left, 0, 0}; // a zero-length axle: no direction
    EXPECT_EQ(frontAxles(car, straight)[0], Vec2{});
    const std::tuple<Steering, double, Vec2, double> yawRates[] = {
        // of normal driving
        {Steering::Left, 17, {0, 20}, 20.0 / 17},
        {Steering::Right, 17, {0, 20}, -20.0 / 17},
        {Steering::Center, 1, {0, 20}, 0},
        {Steering::Left, 0, {0, 0}, 0}, // at rest
        {Steering::Left, 10, {3, -4}, 0.5}};
    for (const auto& [steering, radius, v, omega] : yawRates)
        EXPECT_NEAR(normalYawRate(steering, radius, v), omega, 1e-12) << radius << " " << v.x;
}

// Not turning, axles straight across, every wheel moving at v: the force on
// FL and on RR for front wheels of 100 N of friction, rear wheels of 10 N.
std::pair<Vec2, Vec2> forces(Vec2 v, double sensitivity) {
    const Car car{2, 2, 1, 100.0 / 110, 1, 220, 1, Steering::Center, 0, sensitivity};
    const StepResult r = step(car, {{0, 0}, v, 0, 0, 0}, 1e-9);
    return {r.wheelForce[FL], r.wheelForce[RR]};
}

TEST(Step, FrontWheelSlidesBeyondItsSensitivityRearWheelAgainstItsVelocity) {
    const std::tuple<Vec2, double, double, Vec2> cases[] = {
        // v, sensitivity, front x/100 N, rear
        {{0, 20}, 0, 0, {0, -10}},      // rolling straight: no sideways speed, no force
        {{3, 4}, 1, 0, {-6, -8}},       // sensitivity 1: never slides
        {{3, 4}, 0, -1, {-6, -8}},      // sensitivity 0: any sideways motion slides
        {{-3, 4}, 0, 1, {6, -8}},       // against the sideways component
        {{3, 4}, 0.59, -1, {-6, -8}},   // sideways share 0.6 above 0.59
        {{3, 4}, 0.61, 0, {-6, -8}},    //   and below 0.61
        {{1, 0}, 1, 0, {-10, 0}},       // limit equal to the sideways speed: still rolling
        {{0, 0}, 0, 0, {0, 0}},         // standing exactly still: no force, never 0/0
        {{1e-150, 0}, 1, -1, {-10, 0}}, // tiny: full friction; a single-precision speed of 0 slides
        {{1e-300, 0}, 1, -1, {0, 0}},   // one whose square underflows stands still
    };
    for (const auto& [v, sensitivity, front, rear] : cases) {
        SCOPED_TRACE(testing::Message() << v.x << "," << v.y << " s=" << sensitivity);
        const auto [f, r] = forces(v, sensitivity);
        EXPECT_NEAR(f.x, 100 * front, 1e-9);
        EXPECT_EQ(f.y, 0);
        EXPECT_NEAR(length({r.x - rear.x, r.y - rear.y}), 0, 1e-9);
    }
}

} // namespace
} // namespace yawmark::sim
