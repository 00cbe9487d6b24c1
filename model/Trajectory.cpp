// SPDX-License-Identifier: MIT
#include "model/Trajectory.h"

#include <charconv>

namespace yawmark::model {

std::string csvHeader(bool wheels) {
    std::string header(kCsvHeader);
    if (wheels) header.insert(header.size() - 1, kWheelColumns);
    return header;
}

std::string csvRow(std::uint64_t pass, const sim::Body& b, const sim::Car* wheelsOf) {
    std::string line = std::to_string(pass);
    const auto add = [&line](double v) {
        char buf[32];
        const auto res = std::to_chars(buf, buf + sizeof buf, v); // the shortest exact form
        line += ',';
        line.append(buf, res.ptr);
    };
    for (double v :
         {b.time, b.position.x, b.position.y, b.velocity.x, b.velocity.y, b.heading, b.yawRate})
        add(v);
    if (wheelsOf)
        for (const sim::Vec2 offset : sim::placeWheels(*wheelsOf, b.heading).offset) {
            add(b.position.x + offset.x);
            add(b.position.y + offset.y);
        }
    line += '\n';
    return line;
}

std::string trajectoryCsv(const Record& record, const sim::Body& current, bool wheels) {
    std::string csv = csvHeader(wheels);
    const auto car = [&](const Sample& s) { return wheels ? &record.car(s) : nullptr; };
    for (const Sample& s : record.samples())
        if (s.pass > 0) csv += csvRow(s.pass, s.body(), car(s));
    // The record holds each body as drawn, before its step: the last pass's
    // result is the run's body, unless the car came to rest and was drawn there.
    if (!record.empty() && current.time != record.newest().time)
        csv += csvRow(record.newest().pass + 1, current, car(record.newest()));
    return csv;
}

} // namespace yawmark::model
