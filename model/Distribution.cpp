// SPDX-License-Identifier: MIT
#include "model/Distribution.h"

#include "model/Text.h"
#include "sim/NumberText.h"

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace yawmark::model {

namespace {

constexpr double kNormalReach = 4; // a normal draw is held within ±4σ

struct ShapeInfo {
    Shape shape;
    std::string_view name, takes;
    std::size_t count;
};
constexpr ShapeInfo kShapes[] = {{Shape::Normal, "normal", "MEAN,SD", 2},
                                 {Shape::Uniform, "uniform", "LOW,HIGH", 2},
                                 {Shape::Triangular, "triangular", "LOW,MODE,HIGH", 3}};

const ShapeInfo& info(Shape shape) {
    return kShapes[static_cast<int>(shape)];
}

std::string_view trimmed(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

// A polynomial by Horner's rule, its coefficients from the highest power down.
template <std::size_t N> double poly(const std::array<double, N>& c, double x) {
    double v = 0;
    for (double k : c)
        v = v * x + k;
    return v;
}

// The standard normal's quantile: Wichura's algorithm AS 241 (PPND16), good to
// about 1e-16, in plain arithmetic, so every machine draws the same numbers.
// Beyond 5 of its inner variable (|z| above 6.7) it gives ±infinity: no draw
// is kept that far out.
double normalQuantile(double p) {
    static constexpr std::array<double, 8> a{
        2509.0809287301226727, 33430.575583588128105, 67265.770927008700853, 45921.953931549871457,
        13731.693765509461125, 1971.5909503065514427, 133.14166789178437745, 3.387132872796366608};
    static constexpr std::array<double, 8> b{
        5226.495278852854561,  28729.085735721942674, 39307.89580009271061,  21213.794301586595867,
        5394.1960214247511077, 687.1870074920579083,  42.313330701600911252, 1};
    static constexpr std::array<double, 8> c{7.7454501427834140764e-4, 0.0227238449892691845833,
                                             0.24178072517745061177,   1.27045825245236838258,
                                             3.64784832476320460504,   5.7694972214606914055,
                                             4.6303378461565452959,    1.42343711074968357734};
    static constexpr std::array<double, 8> d{1.05075007164441684324e-9, 5.475938084995344946e-4,
                                             0.0151986665636164571966,  0.14810397642748007459,
                                             0.68976733498510000455,    1.6763848301838038494,
                                             2.05319162663775882187,    1};
    const double q = p - 0.5;
    if (std::abs(q) <= 0.425) {
        const double r = 0.180625 - q * q;
        return q * poly(a, r) / poly(b, r);
    }
    const double r = std::sqrt(-std::log(q < 0 ? p : 1 - p));
    if (!(r <= 5)) return q < 0 ? -HUGE_VAL : HUGE_VAL;
    const double z = poly(c, r - 1.6) / poly(d, r - 1.6);
    return q < 0 ? -z : z;
}

// Φ(-4): the share of a plain normal that lies below the held range.
double normalTail() {
    return 0.5 * std::erfc(kNormalReach / std::numbers::sqrt2);
}

// The quantile p of a normal held within ±4σ, in standard deviations.
double heldNormalQuantile(double p) {
    const double tail = normalTail();
    return normalQuantile(tail + p * (1 - 2 * tail));
}

double quantile(const Spread& s, double p) {
    switch (s.shape) {
    case Shape::Normal:
        return s.a + s.b * heldNormalQuantile(p);
    case Shape::Uniform:
        return s.a + p * (s.b - s.a);
    case Shape::Triangular: {
        const double width = s.c - s.a;
        if (p * width < s.b - s.a) return s.a + std::sqrt(p * width * (s.b - s.a));
        return s.c - std::sqrt((1 - p) * width * (s.c - s.b));
    }
    }
    return s.a;
}

} // namespace

double Spread::mean() const {
    switch (shape) {
    case Shape::Normal:
        return a;
    case Shape::Uniform:
        return a + (b - a) / 2;
    case Shape::Triangular:
        return (a + b + c) / 3;
    }
    return a;
}

double Spread::sd() const {
    switch (shape) {
    case Shape::Normal: {
        // Holding the draws within ±4σ takes 0.05% off the standard deviation.
        const double phi4 =
            std::exp(-kNormalReach * kNormalReach / 2) / std::sqrt(2 * std::numbers::pi);
        return b * std::sqrt(1 - 2 * kNormalReach * phi4 / (1 - 2 * normalTail()));
    }
    case Shape::Uniform:
        return (b - a) / std::sqrt(12.0);
    case Shape::Triangular:
        return std::sqrt(((a - b) * (a - b) + (b - c) * (b - c) + (c - a) * (c - a)) / 36);
    }
    return 0;
}

double Spread::low95() const {
    return quantile(*this, 0.025);
}

double Spread::high95() const {
    return quantile(*this, 0.975);
}

double Spread::lowest() const {
    return shape == Shape::Normal ? a - kNormalReach * b : a;
}

double Spread::highest() const {
    switch (shape) {
    case Shape::Normal:
        return a + kNormalReach * b;
    case Shape::Uniform:
        return b;
    case Shape::Triangular:
        return c;
    }
    return a;
}

std::variant<Spread, std::string> parseSpread(std::string_view text) {
    const std::string_view all = trimmed(text);
    const auto colon = all.find(':');
    const ShapeInfo* shape = nullptr;
    for (const ShapeInfo& s : kShapes)
        if (colon != std::string_view::npos && sameLetters(trimmed(all.substr(0, colon)), s.name))
            shape = &s;
    if (!shape)
        return "a spread is normal:MEAN,SD, uniform:LOW,HIGH or triangular:LOW,MODE,HIGH, not \"" +
               printable(text) + "\"";
    std::vector<double> v;
    std::string_view rest = all.substr(colon + 1);
    for (bool more = true; more;) {
        const auto comma = rest.find(',');
        more = comma != std::string_view::npos;
        const auto number = parseNumber(rest.substr(0, comma));
        if (!number) {
            v.clear();
            break;
        }
        v.push_back(*number);
        if (more) rest.remove_prefix(comma + 1);
    }
    if (v.size() != shape->count)
        return "a " + std::string(shape->name) + " spread takes " + std::string(shape->takes) +
               ", not \"" + printable(all.substr(colon + 1)) + "\"";
    Spread s{shape->shape, v[0], v[1], v.size() > 2 ? v[2] : 0};
    if (s.shape == Shape::Normal && !(s.b > 0)) return std::string("SD must be greater than 0");
    const double high = s.shape == Shape::Triangular ? s.c : s.b;
    if (s.shape != Shape::Normal && !(s.a < high)) return std::string("LOW must be less than HIGH");
    if (s.shape == Shape::Triangular && !(s.a <= s.b && s.b <= s.c))
        return std::string("MODE must lie from LOW to HIGH");
    if (!std::isfinite(s.highest() - s.lowest()))
        return std::string("the spread is too wide for its draws to be numbers");
    return s;
}

std::string spreadText(const Spread& s) {
    std::string text(info(s.shape).name);
    text += ':' + exactNumber(s.a) + ',' + exactNumber(s.b);
    if (s.shape == Shape::Triangular) text += ',' + exactNumber(s.c);
    return text;
}

std::optional<BoxProblem> checkSpread(int box, const Spread& s) {
    const BoxInfo& b = boxInfo(box);
    if (b.divisor == 0) return BoxProblem{box, "takes no spread: it holds a word, not a number."};
    const Range range = b.range;
    const double lo = s.lowest(), hi = s.highest();
    // A box that must not be 0 takes no spread across it.
    const bool crossesZero = range.kind == Range::NonZero && lo <= 0 && hi >= 0;
    if (range.holds(lo) && range.holds(hi) && !crossesZero) return std::nullopt;
    return BoxProblem{box, "must " + std::string(range.text()) + ": its spread " + spreadText(s) +
                               " reaches from " + exactNumber(lo) + " to " + exactNumber(hi) +
                               (s.shape == Shape::Normal ? " (a normal draw goes up to 4 SD from "
                                                           "the mean)."
                                                         : ".")};
}

namespace {

// SplitMix64's output function (Steele, Lea and Flood 2014).
std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15u;

} // namespace

// Each draw starts SplitMix64 at a point hashed from (seed, index): streams of
// a few dozen numbers each, 2^64 apart on average.
DrawStream::DrawStream(std::uint64_t seed, std::uint64_t index)
    : state_(mix(mix(seed + kGolden) + index)) {}

double DrawStream::uniform() {
    state_ += kGolden;
    return static_cast<double>(mix(state_) >> 11) * 0x1.0p-53;
}

double drawValue(const Spread& s, DrawStream& stream) {
    if (s.shape == Shape::Normal) {
        for (;;) { // by inverse CDF, drawn again beyond ±4σ (0.006% of draws)
            const double z = normalQuantile(stream.uniform());
            if (std::abs(z) <= kNormalReach) return s.a + s.b * z;
        }
    }
    return quantile(s, stream.uniform());
}

} // namespace yawmark::model
