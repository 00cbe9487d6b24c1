// SPDX-License-Identifier: MIT
// The linear algebra of the fit's intervals, on small dense matrices. Used by
// the fit; not part of the model's interface.
#pragma once

#include <vector>

namespace yawmark::model::detail {

using Matrix = std::vector<std::vector<double>>;

// Solves A·x = b for a small symmetric positive matrix (Gaussian elimination
// with partial pivoting), x into `b`; false when A is singular.
bool solveLinear(Matrix a, std::vector<double>& b);

// From the Jacobian (one row of residual derivatives per unknown) and the
// residuals r: A = J·Jᵀ and g = J·r, into `a` (n×n) and `g` (n).
void normalEquations(const Matrix& jac, const std::vector<double>& r, Matrix& a,
                     std::vector<double>& g);

} // namespace yawmark::model::detail
