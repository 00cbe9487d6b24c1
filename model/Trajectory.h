// SPDX-License-Identifier: MIT
// The trajectory as CSV: one row per pass, the body the pass left, in SI units
// and radians with 17 significant digits. yawmark-batch prints it as the run
// goes; the window exports it from a run's record.
#pragma once

#include "model/Record.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace yawmark::model {

inline constexpr std::string_view kCsvHeader = "pass,t,x,y,vx,vy,heading,omega\n";
std::string csvRow(std::uint64_t pass, const sim::Body& body);

// The header and a row for every pass the record kept (the body after pass k
// is sample k), ending with `current`, the body after the last pass.
std::string trajectoryCsv(const Record& record, const sim::Body& current);

} // namespace yawmark::model
