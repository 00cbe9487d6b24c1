// SPDX-License-Identifier: MIT
// What the fit makes of its best launch: the points far off their trails,
// named and left out, and the interval the misfit's curvature (from forward
// differences of the residuals) gives each free quantity.
#include "model/FitDetail.h"
#include "model/LeastSquares.h"

#include <algorithm>
#include <cmath>

namespace yawmark::model::detail {

std::vector<bool> Problem::outliers(const std::vector<double>& r) const {
    std::vector<bool> out(r.size(), false);
    std::size_t points = 0, far = 0;
    for (std::size_t k = 0; k < r.size(); ++k) {
        if (rows_[k].pointRow != k) continue;
        ++points;
        if (std::fabs(r[k]) > kOutlierSigmas) out[k] = true, ++far;
    }
    if (10 * far > points) return std::vector<bool>(r.size(), false);
    for (std::size_t k = 0; k < r.size(); ++k)
        out[k] = out[rows_[k].pointRow];
    return out;
}

std::vector<Outlier> Problem::named(const std::vector<double>& r,
                                    const std::vector<bool>& out) const {
    std::vector<Outlier> named;
    for (std::size_t k = 0; k < r.size(); ++k)
        if (out[k] && rows_[k].pointRow == k) {
            const Mark& m = marks_[rows_[k].mark];
            named.push_back(
                {rows_[k].mark, m.wheel, rows_[k].point + 1, std::fabs(r[k]) * m.sigma});
        }
    return named;
}

std::vector<double> Problem::halfWidths(const LaunchValues& v, const std::vector<double>& r,
                                        const std::vector<bool>& out) {
    const std::size_t n = free_.size();
    auto jac = jacobian(v, r);
    std::vector<double> kept;
    for (std::size_t k = 0; k < r.size(); ++k)
        if (!out[k]) kept.push_back(r[k]);
    for (auto& row : jac) {
        std::size_t at = 0;
        for (std::size_t k = 0; k < r.size(); ++k)
            if (!out[k]) row[at++] = row[k];
        row.resize(at);
    }
    Matrix a(n, std::vector<double>(n));
    std::vector<double> g(n);
    normalEquations(jac, kept, a, g);
    const double dof = std::max(1.0, static_cast<double>(kept.size()) - static_cast<double>(n));
    const double scale = kWithinNoise * std::max(1.0, sumSquares(kept) / dof);
    // A quantity the residuals do not move at all is left open, and the
    // others are judged without it.
    double largest = 0;
    for (std::size_t i = 0; i < n; ++i)
        largest = std::max(largest, a[i][i]);
    std::vector<std::size_t> moving;
    for (std::size_t i = 0; i < n; ++i)
        if (a[i][i] > 1e-12 * largest) moving.push_back(i);
    Matrix sub(moving.size(), std::vector<double>(moving.size()));
    for (std::size_t i = 0; i < moving.size(); ++i)
        for (std::size_t j = 0; j < moving.size(); ++j)
            sub[i][j] = a[moving[i]][moving[j]];
    std::vector<double> hw(n, kInf);
    for (std::size_t i = 0; i < moving.size(); ++i) {
        std::vector<double> e(moving.size(), 0.0);
        e[i] = 1;
        if (solveLinear(sub, e) && e[i] > 0)
            hw[moving[i]] = std::sqrt(e[i] * scale) * kScales[index(free_[moving[i]])].unit;
    }
    return hw;
}

std::vector<std::vector<double>> Problem::jacobian(const LaunchValues& v,
                                                   const std::vector<double>& r) {
    std::vector<std::vector<double>> jac(free_.size());
    for (std::size_t i = 0; i < free_.size(); ++i) {
        const int q = index(free_[i]);
        LaunchValues moved = v;
        double delta = kScales[q].delta * (q == index(Quantity::TurnRadius) ? v[q] : 1);
        if (q == index(Quantity::Speed)) delta *= std::max(1.0, v[q]);
        if (moved[q] + delta > upper_[q]) delta = -delta;
        moved[q] += delta;
        const std::vector<double> rm = residuals(moved);
        jac[i].resize(r.size());
        const double perUnit = kScales[q].unit / delta;
        for (std::size_t k = 0; k < r.size(); ++k)
            jac[i][k] = (rm[k] - r[k]) * perUnit;
    }
    return jac;
}

} // namespace yawmark::model::detail
