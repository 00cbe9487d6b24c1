// SPDX-License-Identifier: MIT
// The spread of an uncertain input: what a box's value may really have been,
// as a distribution to draw from. Written and read as text, in the box's own
// unit: "normal:1139,20" (mean, standard deviation), "uniform:0.7,0.8" (low,
// high), "triangular:40,45,55" (low, mode, high).
//
// Draws come from a counter-based stream: draw i of seed s depends on (s, i)
// alone, so a Monte Carlo run gives the same numbers whatever the number of
// threads that share it out, and any single draw can be made again.
#pragma once

#include "model/BoxTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace yawmark::model {

enum class Shape { Normal, Uniform, Triangular };

struct Spread {
    Shape shape = Shape::Normal;
    // Normal: a = mean, b = standard deviation (c unused).
    // Uniform: a = low, b = high. Triangular: a = low, b = mode, c = high.
    double a = 0, b = 0, c = 0;
    friend bool operator==(const Spread&, const Spread&) = default;

    double mean() const;
    double sd() const;
    // The ends of the 95% range around the middle (2.5% and 97.5% points).
    double low95() const;
    double high95() const;
    // The smallest and largest value a draw can take. A normal draw is held
    // within ±4σ of its mean (a draw beyond is drawn again), so that every
    // spread has ends to check against its box's range.
    double lowest() const;
    double highest() const;
};

// "normal:MEAN,SD", "uniform:LOW,HIGH" or "triangular:LOW,MODE,HIGH", the
// shape's name in any letter case; or why the text is none of them
// ("a normal spread takes MEAN,SD", "SD must be greater than 0", ...).
std::variant<Spread, std::string> parseSpread(std::string_view text);
// The text parseSpread reads back exactly.
std::string spreadText(const Spread& s);
// A spread box i can take: its draws stay in the box's range. The problem
// names the box as boxMessage does, or nothing.
std::optional<BoxProblem> checkSpread(int box, const Spread& s);

// The spread set for each box, or none (the box is taken as typed).
using Spreads = std::array<std::optional<Spread>, kBoxCount>;

// A stream of uniform numbers in [0, 1) for draw `index` of `seed`: the same
// numbers on every machine and thread.
class DrawStream {
public:
    DrawStream(std::uint64_t seed, std::uint64_t index);
    double uniform();

private:
    std::uint64_t state_;
};

// One value from the spread, taken from the stream.
double drawValue(const Spread& s, DrawStream& stream);

} // namespace yawmark::model
