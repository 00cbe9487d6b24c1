// SPDX-License-Identifier: MIT
// What the readouts say in metric and US units.
#include "model/Readout.h"
#include "model/Units.h"

#include <gtest/gtest.h>

namespace yawmark::model {
namespace {

TEST(Units, ValuesShownInTheChosenSystem) {
    const struct {
        Units units;
        double value;
        const char* unit;
        double shownValue;
        const char* shownUnit;
    } rows[] = {
        {Units::US, 20, "m/s", 44.74, "mph"}, {Units::US, 30.4, "m", 99.74, "ft"},
        {Units::US, 2.54, "cm", 1.0, "in"},   {Units::US, 35, "deg", 35, "deg"},
        {Units::Metric, 20, "m/s", 20, "m/s"},
    };
    for (const auto& r : rows) {
        const Shown s = shown(r.units, r.value, r.unit);
        EXPECT_NEAR(s.value, r.shownValue, 0.005) << r.value << r.unit;
        EXPECT_EQ(s.unit, r.shownUnit);
    }
    EXPECT_EQ(smallLengthText(0.13, Units::Metric), "13 cm");
    EXPECT_EQ(smallLengthText(0.004, Units::Metric), "4 mm");
    EXPECT_EQ(smallLengthText(0.13, Units::US), "5.1 in");
    EXPECT_EQ(smallLengthText(0.9, Units::US), "3 ft");
}

TEST(Units, TheReadoutInFeetAndMph) {
    Readout r{1.25, {-1.47, 30.4}, 20, 35.2, 41, 30.4, false};
    EXPECT_EQ(readoutText(r, Units::US),
              "t = 1.25 s   44.7 mph   turned 35.2\u00B0   yaw rate 41.0\u00B0/s   slid 99.7 ft");
    r.atRest = true;
    EXPECT_EQ(readoutText(r, Units::US),
              "At rest after 1.25 s at (\u22124.82, 99.74) ft; slid 99.7 ft, turned 35.2\u00B0");
}

} // namespace
} // namespace yawmark::model
