// SPDX-License-Identifier: MIT
#include "model/Reference.h"

#include "model/Boxes.h"
#include "sim/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace yawmark::model {

TracePoint tracePoint(const Record& record, std::size_t index) {
    const auto samples = record.samples();
    const Sample& s = samples[index];
    const sim::WheelPlacement wheels = sim::placeWheels(record.car(s), s.heading);
    TracePoint p{s.time, {}, length(s.velocity), s.heading - samples.front().heading, s.yawRate,
                 s.distance};
    p.points[0] = s.position;
    for (int i = 0; i < sim::kWheelCount; ++i)
        p.points[i + 1] = s.position + wheels.offset[i];
    return p;
}

std::vector<TracePoint> evenTrace(const Record& record, std::size_t most) {
    std::vector<TracePoint> trace;
    const std::size_t n = record.samples().size();
    most = std::max<std::size_t>(most, 2);
    if (n <= most) {
        for (std::size_t i = 0; i < n; ++i)
            trace.push_back(tracePoint(record, i));
        return trace;
    }
    // Point k of `most` is sample k·(n−1)/(most−1): 0 first, n−1 last.
    for (std::size_t k = 0; k < most; ++k)
        trace.push_back(tracePoint(record, k * (n - 1) / (most - 1)));
    return trace;
}

Reference makeReference(const Record& record, const Case& runCase, std::size_t most) {
    return {runCase, evenTrace(record, most)};
}

namespace {

// "Initial Speed (m/s)" -> {"Initial Speed", "m/s"}; a caption without a
// unit in brackets at its end is all name. Only the first part of a unit
// with a sign convention stays ("degrees, L-/R+" -> "degrees").
std::pair<std::string, std::string> nameAndUnit(std::string_view caption) {
    if (!caption.ends_with(')')) return {std::string(caption), {}};
    const std::size_t open = caption.rfind('(');
    if (open == std::string_view::npos || open == 0) return {std::string(caption), {}};
    std::string unit(caption.substr(open + 1, caption.size() - open - 2));
    if (const std::size_t comma = unit.find(','); comma != std::string::npos) unit.resize(comma);
    std::string_view name = caption.substr(0, open);
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    return {std::string(name), unit};
}

// The direction the car travels, as box 7 reads it: degrees, clockwise of +y positive.
double travelDegrees(const Launch& launch) {
    const sim::Vec2 v = launch.velocity;
    return v.x == 0 && v.y == 0 ? 0 : std::atan2(v.x, v.y) * 180 / std::numbers::pi;
}

// Both numbers to four significant digits, or to as many more as tell them apart.
std::pair<std::string, std::string> shortPair(const std::string& a, const std::string& b) {
    const auto shortened = [](const std::string& text, int digits) {
        char* end = nullptr;
        const double v = std::strtod(text.c_str(), &end);
        if (end == text.c_str() || *end != '\0') return text; // a word (the steering)
        char out[32];
        std::snprintf(out, sizeof out, "%.*g", digits, v);
        return std::string(out);
    };
    for (const int digits : {4, 8}) {
        std::pair<std::string, std::string> p{shortened(a, digits), shortened(b, digits)};
        if (p.first != p.second) return p;
    }
    return {a, b};
}

} // namespace

std::string differenceText(const Case& before, const Case& now, std::size_t most) {
    BoxTexts a, b;
    writeBoxes(before, a, true);
    writeBoxes(now, b, true);
    // The launch's direction is folded into its velocity there: compare it apart.
    a.text[kDirectionBox] = formatNumber(travelDegrees(before.launch));
    b.text[kDirectionBox] = formatNumber(travelDegrees(now.launch));
    a.text[kRelativeDirectionBox] = formatNumber(
        (before.launch.heading) * -180 / std::numbers::pi - travelDegrees(before.launch));
    b.text[kRelativeDirectionBox] =
        formatNumber((now.launch.heading) * -180 / std::numbers::pi - travelDegrees(now.launch));
    std::vector<std::string> changes;
    for (int i = 0; i < kBoxCount; ++i) {
        if (i == kPixelSizeBox || i == kSnapIntervalBox || a.text[i] == b.text[i]) continue;
        const auto [name, unit] = nameAndUnit(boxInfo(i).caption);
        const auto [was, is] = shortPair(a.text[i], b.text[i]);
        changes.push_back(name + " " + was + " \u2192 " + is + (unit.empty() ? "" : " " + unit));
    }
    std::string text;
    for (std::size_t i = 0; i < changes.size() && i < most; ++i)
        text += (i ? ", " : "") + changes[i];
    if (changes.size() > most) text += " and " + std::to_string(changes.size() - most) + " more";
    return text;
}

} // namespace yawmark::model
