// SPDX-License-Identifier: MIT
// The boxes' texts and a case both ways, the "Calculate"s, Draw, and the refusals naming a box.
#include "model/Boxes.h"
#include "sim/NumberText.h"
#include "model/Validation.h"

#include <gtest/gtest.h>

#include <numbers>

namespace yawmark::model {
namespace {

constexpr double pi = std::numbers::pi;
constexpr auto kMoment = InertiaForm::Moment, kGyration = InertiaForm::Gyration;
using sim::Steering;
constexpr auto kLeft = Steering::Left, kRight = Steering::Right, kCenter = Steering::Center;

// The start-up texts with some boxes typed over.
BoxTexts typed(std::initializer_list<std::pair<int, const char*>> boxes = {}) {
    BoxTexts t;
    writeBoxes(startupCase(), t, true);
    for (const auto& [box, text] : boxes)
        t.text[box] = text;
    return t;
}

std::string joined(const BoxTexts& t) {
    std::string all = t.text[0];
    for (int i = 1; i < kBoxCount; ++i)
        all += "|" + t.text[i];
    return all;
}

TEST(Boxes, StartupCaseShowsTheseTextsAndReadsBackToThem) {
    const std::string expected = "4.29|1.82|1139|58.8|0.896057347670251|2061.25779166667|20|0|"
                                 "Left|17|9.8|0|-0.187241109519877|10|400|1|0|0|0.0001";
    BoxTexts t = typed();
    EXPECT_EQ(joined(t), expected);
    EXPECT_EQ(t.trail, (std::array<int, kTrailCount>{}));
    BoxTexts again;
    writeBoxes(std::get<Case>(readCase(t, kMoment)), again, true);
    EXPECT_EQ(joined(again), expected);
    Case imaginery = startupCase(); // a preset writes the vehicle boxes only
    applyVehicle(*preset("Imaginery Car"), imaginery.car);
    imaginery.car.inertia = 1;
    writeBoxes(imaginery, t, false);
    EXPECT_EQ(joined(t), "7|2|4000|30|0.8" + expected.substr(expected.find("|2061")));
    for (const char* none : {"Custom", "mclaren f1", ""})
        EXPECT_FALSE(preset(none)) << none;
}

TEST(Boxes, ReadingConvertsToSIUnitsAndWritingBack) {
    // Distribution, travel and relative directions, turns per second, both intervals, steering.
    BoxTexts t = typed(
        {{3, "100"}, {7, "90"}, {11, "5"}, {12, "1"}, {13, "12.5"}, {14, "1000"}, {8, "Right"}});
    t.trail = {0, 0, 0, 1, 2}; // greyed counts as unticked
    const Case c = std::get<Case>(readCase(t, kMoment));
    EXPECT_EQ(c.car.frontShare, 0);
    EXPECT_EQ(c.launch.velocity.x, 20);
    EXPECT_NEAR(c.launch.velocity.y, 0, 1e-14);
    EXPECT_DOUBLE_EQ(c.launch.heading, -(90 + 5) / 180.0 * pi);
    EXPECT_EQ((std::array{c.launch.yawRate, c.run.timeStep, c.run.snapInterval}),
              (std::array{-2 * pi, 0.0125, 1.0}));
    EXPECT_EQ(c.car.steering, kRight);
    EXPECT_EQ(c.style.joined, (std::array<bool, kTrailCount>{false, false, false, true, false}));
    writeBoxes(c, t, true); // turns clockwise; forty passes between snapshots whatever box 14 held
    EXPECT_EQ(joined(t).substr(joined(t).find("|20|")),
              "|20|0|Right|17|9.8|0|1|12.5|500|1|0|0|0.0001");
    EXPECT_EQ(t.trail, (std::array{0, 0, 0, 1, 0}));
}

TEST(Boxes, SteeringTakesItsWordsAndCodesInAnyCase) {
    const std::pair<const char*, std::optional<Steering>> cases[] = {
        {"Left", kLeft},     {" l\t", kLeft},   {"RIGHT", kRight}, {"r", kRight},
        {"center", kCenter}, {" Ce ", kCenter}, {"", {}},          {"sideways", {}},
        {"C", {}},           {"Le ft", {}},     {"Lefts", {}}};
    for (const auto& [text, steering] : cases) {
        EXPECT_EQ(parseSteering(text), steering) << text;
        const auto read = readCase(typed({{kSteeringBox, text}}), kMoment);
        EXPECT_EQ(std::holds_alternative<Case>(read), steering.has_value()) << text;
    }
    // Draw shows the word.
    const auto p =
        std::get<Prepared>(prepareDraw(typed({{kSteeringBox, " r"}}), {false, false}, kMoment));
    EXPECT_EQ(p.texts.text[kSteeringBox], "Right");
}

TEST(Boxes, RefusalsNameTheBoxAndWhatIsWrong) {
    const std::tuple<int, const char*, InertiaForm, const char*> cases[] = {
        {0, "abc", kMoment, "\"Wheelbase Length (m)\" is not a number: \"abc\"."},
        {2, "", kMoment, "\"Vehicle Mass (kg)\" is empty: a number is needed."},
        {2, " \t ", kMoment, "\"Vehicle Mass (kg)\" is empty: a number is needed."},
        {7, "1,5", kMoment,
         "\"Initial Direction of Travel (degrees, L-/R+)\" is not a number: \"1,5\"."},
        {18, "nan", kMoment, "\"Front Wheel Sensitivity\" is not a number: \"nan\"."},
        {5, "1e300", kGyration,
         "\"Radius of Gyration (m)\" is too large: the moment of inertia would overflow."},
        {12, "1e308", kMoment,
         "\"Angular Velocity (turn/s)\" is too large: the angular velocity would overflow."},
        {8, "sideways", kMoment,
         "\"Steering Direction (L/R/CE)\" must be Left, Right or Center (or L, R, CE), not "
         "\"sideways\"."},
        // The ranges the tooltips promise.
        {0, "0", kMoment, "\"Wheelbase Length (m)\" must be greater than 0."},
        {1, "-1.5", kMoment, "\"Wheelbase Width (m)\" must be greater than 0."},
        {6, "-0", kMoment, "\"Initial Speed (m/s)\" must not be 0."},
        {13, "0", kMoment, "\"Calculation Interval (ms)\" must be greater than 0."},
        {13, "-10", kMoment, "\"Calculation Interval (ms)\" must be greater than 0."},
        {15, "0.99", kMoment, "\"Plot Pixel Size\" must be at least 1."},
        {18, "-0.01", kMoment, "\"Front Wheel Sensitivity\" must be from 0 to 1."},
        {18, "1.0001", kMoment, "\"Front Wheel Sensitivity\" must be from 0 to 1."},
        {2, "-1139", kMoment, "\"Vehicle Mass (kg)\" must be greater than 0."},
        {3, "588", kMoment, "\"Weight Distribution (% Rear)\" must be from 0 to 100."},
        {3, "-0.5", kMoment, "\"Weight Distribution (% Rear)\" must be from 0 to 100."},
        {4, "-0.9", kMoment, "\"Tire Coefficient of Kinetic Friction\" must be greater than 0."},
        {5, "-10", kMoment, "\"Moment of Inertia (kg-m^2)\" must be greater than 0."},
        {5, "-1", kGyration, "\"Radius of Gyration (m)\" must be greater than 0."},
        {10, "-9.8", kMoment,
         "\"g (acceleration due to gravity) (m/s^2)\" must be greater than 0."},
    };
    for (const auto& [box, text, form, message] : cases) {
        const BoxProblem p = std::get<BoxProblem>(readCase(typed({{box, text}}), form));
        EXPECT_EQ(p.box, box) << text;
        EXPECT_EQ(boxMessage(p, form), message);
    }
    const BoxTexts t = typed({{kSpeedBox, "fast"}, {kDirectionBox, "north"}}); // direction first
    EXPECT_EQ(std::get<BoxProblem>(readCase(t, kMoment)).box, kDirectionBox);
    // Allowed: the ranges' edges, a speed backwards, any direction.
    const std::pair<int, const char*> allowed[] = {{0, "1e-300"}, {6, "-20"}, {13, "1e-9"},
                                                    {15, "1"},      {18, "0"},  {18, "1"},
                                                    {3, "0"},       {3, "100"}, {7, "-720"}};
    for (const auto& [box, text] : allowed)
        EXPECT_TRUE(std::holds_alternative<Case>(readCase(typed({{box, text}}), kMoment)))
            << box << " " << text;
}

TEST(Boxes, AUnitAfterTheNumberIsConvertedToTheBoxsUnitOrRefusedNamingBoth) {
    const std::tuple<int, const char*, InertiaForm, double> accepted[] = {
        {6, "90 km/h", kMoment, 25},      {6, "10MPH", kMoment, 4.4704},
        {6, "-10 ft/s", kMoment, -3.048}, {6, "7 m/s", kMoment, 7},
        {0, "150 cm", kMoment, 1.5},      {1, "1820mm", kMoment, 1.82},
        {9, "50 ft", kMoment, 15.24},     {17, "-12 in", kMoment, -0.3048},
        {5, "4 ft", kGyration, 1.2192},   {2, "2500 lb", kMoment, 1133.9809250000001},
        {7, "1 rad", kMoment, 180 / pi},  {11, "-30 °", kMoment, -30},
        {12, "60 rpm", kMoment, 1},       {13, "0.01 s", kMoment, 10},
        {10, "32.174 ft/s^2", kMoment, 9.8066352}, {3, "60 %", kMoment, 60},
        {0, "2e1 ft", kMoment, 6.096}};
    for (const auto& [box, text, form, value] : accepted) {
        BoxTexts t = typed({{box, text}});
        const auto p = prepareDraw(t, {false, false}, form);
        ASSERT_TRUE(std::holds_alternative<Prepared>(p)) << text;
        EXPECT_EQ(std::get<Prepared>(p).texts.text[box], formatNumber(value)) << text;
    }
    const std::tuple<int, const char*, const char*> refused[] = {
        {2, "1139 mph", "takes a mass (kg, lb), not \"mph\"."},
        {6, "20 m", "takes a speed (m/s, km/h, mph, ft/s), not \"m\"."},
        {0, "4 furlongs", "takes a length (m, cm, mm, ft, in), not \"furlongs\"."},
        {4, "0.8 kg", "takes a number without a unit, not \"kg\"."},
        {13, "1e306 s",
         "is too large: \"1e306 s\" is more than a number can hold in the box's unit."},
        {0, "4,5", "is not a number: \"4,5\"."},
        {0, "ft", "is not a number: \"ft\"."}};
    for (const auto& [box, text, what] : refused) {
        const BoxProblem p = std::get<BoxProblem>(readCase(typed({{box, text}}), kMoment));
        EXPECT_EQ(p.box, box) << text;
        EXPECT_EQ(p.what, what);
    }
}

TEST(Calculate, NormalWritesBoxes11And12InertiaBox5InItsFormOrNothing) {
    BoxTexts t = typed({{kRelativeDirectionBox, "45"}, {kYawRateBox, "2"}});
    const Case c = std::get<Case>(calculateNormal(t, kMoment));
    EXPECT_EQ(t.text, typed().text);
    EXPECT_EQ(c.launch.yawRate, -2 * 2 * pi); // the case read, from the old text
    t.text[kRadiusBox] = "0", t.text[kRelativeDirectionBox] = "45";
    const BoxTexts before = t;
    EXPECT_EQ(std::get<BoxProblem>(calculateNormal(t, kMoment)).box, kRadiusBox);
    EXPECT_EQ(t.text, before.text);
    // The Imaginery Car's dimensions; form, mass, box 5 written (empty: refused for the mass).
    const std::tuple<InertiaForm, const char*, const char*> cases[] = {
        {kMoment, "4000", "17666.6666666667"},
        {kGyration, "4000", "2.10158670215308"},
        {kGyration, "0", ""}};
    for (const auto& [form, mass, box5] : cases) {
        t = typed({{kLengthBox, "7"}, {kWidthBox, "2"}, {kMassBox, mass}, {5, "1"}});
        const auto r = calculateInertia(t, form);
        EXPECT_EQ(t.text[kInertiaBox], *box5 ? box5 : "1") << mass;
        EXPECT_EQ(std::holds_alternative<Case>(r) ? -1 : std::get<BoxProblem>(r).box,
                  *box5 ? -1 : kMassBox);
    }
}

TEST(PrepareDraw, TickedCalculationsFeedTheCaseReadUntickedTheTypedValuesOrItNamesABox) {
    BoxTexts t = typed({{kInertiaBox, "1"}, {kRelativeDirectionBox, "45"}});
    const Prepared p = std::get<Prepared>(prepareDraw(t, {}, kMoment));
    EXPECT_EQ(p.texts.text, typed().text);
    EXPECT_EQ(p.c.car.inertia, 2061.25779166667); // through its text form
    EXPECT_EQ(p.c.launch.yawRate, 0.187241109519877 * 2 * pi);
    EXPECT_EQ(p.c.launch.heading, 0);
    t.text[kYawRateBox] = "0";
    const Prepared q = std::get<Prepared>(prepareDraw(t, {false, false}, kMoment));
    EXPECT_EQ((std::array{q.c.car.inertia, q.c.launch.yawRate}), (std::array{1.0, 0.0}));
    EXPECT_EQ(q.texts.text, t.text);
    const std::tuple<int, const char*, const char*> cases[] = {
        {kMassBox, "0", "must be greater than 0."}, // by its range, before either Calculate
        {kRadiusBox, "1",
         "must be at least the distance from the mass centre to the rear axle "
         "(1.76748 m) when steering Left."},
        {kRadiusBox, "0", "must not be 0 for a car that moves and steers."}, // by Calculate
        {kPixelSizeBox, "px", "is not a number: \"px\"."},
    };
    for (const auto& [box, text, what] : cases) {
        const BoxProblem r = std::get<BoxProblem>(prepareDraw(typed({{box, text}}), {}, kMoment));
        EXPECT_EQ(r.box, box) << text;
        EXPECT_EQ(r.what, what);
    }
}

constexpr int kAllowed = -1;
int boxOf(const std::optional<BoxProblem>& p) {
    return p ? p->box : kAllowed;
}

TEST(Validation, RunsRefusedNamingTheirBoxAndRunsAllowed) {
    const std::tuple<const char*, int, void (*)(Case&)> cases[] = {
        {"start-up case", kAllowed, [](Case&) {}},
        {"mass 0", kMassBox, [](Case& c) { c.car.mass = 0; }},
        {"inertia 0", kInertiaBox, [](Case& c) { c.car.inertia = 0; }},
        {"radius inside the rear axle", kRadiusBox, [](Case& c) { c.car.turnRadius = 1.7; }},
        {"negative radius", kRadiusBox, [](Case& c) { c.car.turnRadius = -17; }},
        {"right too", kRadiusBox, [](Case& c) { c.car.turnRadius = 1, c.car.steering = kRight; }},
        {"behind axle", kRadiusBox, [](Case& c) { c.car.turnRadius = 4, c.car.frontShare = -1; }},
        {"mass largest", kMassBox, [](Case& c) { c.car.mass = 1e300, c.car.gravity = 1e10; }},
        {"gravity largest", kGravityBox, [](Case& c) { c.car.gravity = 1e308; }},
        {"huge wheelbase", kLengthBox,
         [](Case& c) { c.car.length = 1e308, c.car.frontShare = -1, c.car.steering = kCenter; }},
        {"huge radius", kRadiusBox, [](Case& c) { c.car.turnRadius = 1e200; }},
        {"huge time step", kIntervalBox, [](Case& c) { c.run.timeStep = 1e300; }},
        {"huge speed", kSpeedBox,
         [](Case& c) { c.launch.velocity.y = 1e200, c.run.timeStep = 1e197; }},
        {"radius at the rear axle", kAllowed, [](Case& c) { c.car.turnRadius = 0.412 * 4.29; }},
        {"straight", kAllowed, [](Case& c) { c.car.turnRadius = 0, c.car.steering = kCenter; }},
        {"at rest", kAllowed, [](Case& c) { c.launch.velocity = {}, c.launch.yawRate = 0; }},
    };
    for (const auto& [name, box, change] : cases) {
        Case k = startupCase();
        change(k);
        EXPECT_EQ(boxOf(validateRun(k)), box) << name;
    }
}

TEST(Validation, NormalDrivingNeedsAUsableRadiusInertiaARealRadiusOfGyration) {
    const std::tuple<double, double, Steering, int> normal[] = {
        // radius, speed, steering, box
        {17, 20, kLeft, kAllowed},
        {0, 20, kRight, kRadiusBox},
        {0, 20, kCenter, kAllowed},
        {0, 0, kLeft, kAllowed},          // at rest the yaw rate is 0 whatever the radius
        {1e-320, 20, kLeft, kRadiusBox}, // the yaw rate would overflow
        {17, 1e155, kLeft, kAllowed}};    // the speed's square would, its length does not
    for (const auto& [radius, speed, steering, box] : normal) {
        Case k = startupCase();
        k.car.turnRadius = radius, k.car.steering = steering, k.launch.velocity = {0, speed};
        EXPECT_EQ(boxOf(validateNormal(k)), box) << radius << " " << speed;
    }
    // mass, inertia, length, form; the box validateInertia names, validateGyration names
    const std::tuple<double, double, double, InertiaForm, int, int> inertias[] = {
        {1139, 2000, 4.29, kGyration, kAllowed, kAllowed},
        {0, 2000, 4.29, kMoment, kAllowed, kMassBox}, // 0 refused when a run starts
        {0, 2000, 4.29, kGyration, kMassBox, kMassBox},
        {-1, -5, 4.29, kGyration, kAllowed, kAllowed}, // same sign: a real radius
        {1, -5, 4.29, kMoment, kAllowed, kInertiaBox},
        {1e-320, 1e10, 4.29, kMoment, kAllowed, kMassBox}, // k² overflows
        {1139, 2000, 1e200, kMoment, kLengthBox, kAllowed}};
    for (const auto& [mass, inertia, length, form, inertiaBox, gyrationBox] : inertias) {
        sim::Car car = startupCase().car;
        car.mass = mass, car.inertia = inertia, car.length = length;
        EXPECT_EQ(boxOf(validateInertia(car, form)), inertiaBox) << mass << " " << length;
        EXPECT_EQ(boxOf(validateGyration(car)), gyrationBox) << mass << " " << inertia;
    }
}

TEST(BoxTable, ASpinnerStopsAtItsBoxsRange) {
    const std::tuple<int, double, int, double> rows[] = {
        // box, value, spinner units, stepped; a number beyond an end stays, or steps back in
        {18, 0.0001, -1, 0}, {8, 2, 100, 2},         {18, 0.99995, 1, 1}, {18, 1.5, 1, 1.5},
        {15, 1.5, -100, 1},  {18, 1.5, -1, 1.4999},  {3, 99.9, 20, 100},  {0, 0.05, -10, 0.01},
        {6, 1, -100, -1},    {0, 0.005, -10, 0.005}, {0, -3, 10, -2.9},   {13, 1, -100, 0.01}};
    for (const auto& [box, value, steps, expected] : rows)
        EXPECT_DOUBLE_EQ(stepped(box, value, steps), expected) << box << " " << value;
}

} // namespace
} // namespace yawmark::model
