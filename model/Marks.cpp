// SPDX-License-Identifier: MIT
#include "model/Marks.h"

#include "model/Text.h"
#include "model/Units.h"
#include "sim/NumberText.h"

#include <array>
#include <cctype>
#include <cmath>
#include <utility>

namespace yawmark::model {

namespace {

constexpr std::array<std::pair<std::string_view, sim::Wheel>, 4> kWheels{{
    {"FL", sim::FL},
    {"FR", sim::FR},
    {"RR", sim::RR},
    {"RL", sim::RL},
}};

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string upper(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

bool sigmaInRange(double sigma) {
    return sigma >= kMinMarkSigma && sigma <= kMaxMarkSigma;
}

bool withinReach(sim::Vec2 point) {
    return std::fabs(point.x) <= kMarkReach && std::fabs(point.y) <= kMarkReach;
}

std::string_view wheelCode(sim::Wheel wheel) {
    for (const auto& [code, w] : kWheels)
        if (w == wheel) return code;
    return {};
}

std::optional<sim::Wheel> parseWheel(std::string_view text) {
    const std::string code = upper(trimmed(text));
    for (const auto& [c, w] : kWheels)
        if (code == c) return w;
    return std::nullopt;
}

std::variant<std::vector<Mark>, std::string> parseMarks(std::string_view csv) {
    std::vector<Mark> marks;
    std::size_t points = 0;
    int line = 0;
    bool previousBlank = false;
    double scale = 1; // metres in a unit of the file's coordinates
    // A spreadsheet may start its CSV with a byte-order mark.
    if (csv.starts_with("\xEF\xBB\xBF")) csv.remove_prefix(3);
    while (!csv.empty()) {
        const std::size_t end = csv.find('\n');
        const std::string_view row = trimmed(csv.substr(0, end));
        csv.remove_prefix(end == std::string_view::npos ? csv.size() : end + 1);
        ++line;
        const std::string where = "line " + std::to_string(line) + ": ";
        if (row.empty()) {
            previousBlank = true;
            continue;
        }
        std::array<std::string_view, 3> field;
        std::size_t count = 0;
        for (std::string_view rest = row;; ++count) {
            const std::size_t comma = rest.find(',');
            if (count < field.size()) field[count] = trimmed(rest.substr(0, comma));
            if (comma == std::string_view::npos) {
                ++count;
                break;
            }
            rest.remove_prefix(comma + 1);
        }
        if (count != 3)
            return where + "expected three fields wheel,x,y, found " + std::to_string(count) + ".";
        if (marks.empty() && points == 0 && upper(field[0]) == "WHEEL") { // the header
            // Its columns give the unit: x,y (or x_m,y_m) in metres, x_ft,y_ft in feet.
            const std::string columns = upper(field[1]) + ',' + upper(field[2]);
            if (columns == "X_FT,Y_FT")
                scale = kMetresPerFoot;
            else if (columns != "X,Y" && columns != "X_M,Y_M")
                return where +
                       "the header must be wheel,x,y (metres) or wheel,x_ft,y_ft (feet), "
                       "not \"" +
                       printable(row) + "\".";
            continue;
        }
        const auto wheel = parseWheel(field[0]);
        if (!wheel)
            return where + "the wheel must be FL, FR, RR or RL, not \"" + printable(field[0]) +
                   "\".";
        sim::Vec2 p;
        for (int i = 1; i <= 2; ++i) {
            auto v = parseNumber(field[i]);
            if (v) *v *= scale;
            if (!v)
                return where + "\"" + (i == 1 ? "x" : "y") + "\" is not a number: \"" +
                       printable(field[i]) + "\".";
            if (!(std::fabs(*v) <= kMarkReach))
                return where + "\"" + (i == 1 ? "x" : "y") + "\" must lie within " +
                       formatNumber(kMarkReach) + " m of the origin, not " + printable(field[i]) +
                       ".";
            (i == 1 ? p.x : p.y) = *v;
        }
        if (++points > kMaxMarkPoints)
            return where + "more than " + std::to_string(kMaxMarkPoints) + " points.";
        // A blank line or another wheel starts the next mark.
        if (marks.empty() || marks.back().wheel != *wheel || previousBlank)
            marks.push_back({*wheel, {}});
        marks.back().points.push_back(p);
        previousBlank = false;
    }
    if (marks.empty()) return std::string("no points: a row \"wheel,x,y\" is needed for each.");
    return marks;
}

std::string marksCsv(const std::vector<Mark>& marks) {
    std::string csv = "wheel,x,y\n";
    for (std::size_t m = 0; m < marks.size(); ++m) {
        if (m > 0 && marks[m - 1].wheel == marks[m].wheel) csv += '\n';
        for (const sim::Vec2& p : marks[m].points)
            csv += std::string(wheelCode(marks[m].wheel)) + ',' + formatNumber(p.x) + ',' +
                   formatNumber(p.y) + '\n';
    }
    return csv;
}

double polylineLength(const std::vector<sim::Vec2>& points) {
    double sum = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        sum += sim::length(points[i] - points[i - 1]);
    return sum;
}

double markLength(const Mark& mark) {
    return polylineLength(mark.points);
}

} // namespace yawmark::model
