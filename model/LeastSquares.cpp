// SPDX-License-Identifier: MIT
#include "model/LeastSquares.h"

#include <algorithm>
#include <cmath>

namespace yawmark::model::detail {

bool solveLinear(Matrix a, std::vector<double>& b) {
    const std::size_t n = b.size();
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
        if (!(std::fabs(a[pivot][c]) > 1e-300)) return false;
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (std::size_t r = c + 1; r < n; ++r) {
            const double k = a[r][c] / a[c][c];
            for (std::size_t j = c; j < n; ++j)
                a[r][j] -= k * a[c][j];
            b[r] -= k * b[c];
        }
    }
    for (std::size_t c = n; c-- > 0;) {
        for (std::size_t j = c + 1; j < n; ++j)
            b[c] -= a[c][j] * b[j];
        b[c] /= a[c][c];
    }
    return std::all_of(b.begin(), b.end(), [](double v) { return std::isfinite(v); });
}

void normalEquations(const Matrix& jac, const std::vector<double>& r, Matrix& a,
                     std::vector<double>& g) {
    const std::size_t n = jac.size();
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j <= i; ++j) {
            double s = 0;
            for (std::size_t k = 0; k < r.size(); ++k)
                s += jac[i][k] * jac[j][k];
            a[i][j] = a[j][i] = s;
        }
        double s = 0;
        for (std::size_t k = 0; k < r.size(); ++k)
            s += jac[i][k] * r[k];
        g[i] = s;
    }
}

} // namespace yawmark::model::detail
