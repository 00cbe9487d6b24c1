// SPDX-License-Identifier: MIT
#include "model/Trajectory.h"

#include <charconv>

namespace yawmark::model {

std::string csvRow(std::uint64_t pass, const sim::Body& b) {
    std::string line = std::to_string(pass);
    for (double v :
         {b.time, b.position.x, b.position.y, b.velocity.x, b.velocity.y, b.heading, b.yawRate}) {
        char buf[32];
        const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
        line += ',';
        line.append(buf, res.ptr);
    }
    line += '\n';
    return line;
}

std::string trajectoryCsv(const Record& record, const sim::Body& current) {
    std::string csv(kCsvHeader);
    for (const Sample& s : record.samples())
        if (s.pass > 0) csv += csvRow(s.pass, s.body());
    // The record holds each body as drawn, before its step: the last pass's
    // result is the run's body, unless the car came to rest and was drawn there.
    if (!record.empty() && current.time != record.newest().time)
        csv += csvRow(record.newest().pass + 1, current);
    return csv;
}

} // namespace yawmark::model
