// SPDX-License-Identifier: MIT
// The trajectory as CSV: one row per pass, the body the pass left, in SI units
// and radians, each number in the shortest form that reads back to the same
// double. Optionally each wheel's position follows, where the window's trails
// plot it. yawmark-batch prints it as the run goes; the window exports it from
// a run's record.
#pragma once

#include "model/Record.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace yawmark::model {

inline constexpr std::string_view kCsvHeader = "pass,t,x,y,vx,vy,heading,omega\n";
// The columns the wheels add, in the order of the trails: FL, FR, RR, RL.
inline constexpr std::string_view kWheelColumns = ",fl_x,fl_y,fr_x,fr_y,rr_x,rr_y,rl_x,rl_y";
std::string csvHeader(bool wheels);
// The row of a pass; with `wheelsOf`, the wheels placed by that car as well.
std::string csvRow(std::uint64_t pass, const sim::Body& body, const sim::Car* wheelsOf = nullptr);

// The header and a row for every pass the record kept (the body after pass k
// is sample k), ending with `current`, the body after the last pass.
std::string trajectoryCsv(const Record& record, const sim::Body& current, bool wheels = false);

} // namespace yawmark::model
