// SPDX-License-Identifier: MIT
// The linear algebra of the fit's Levenberg-Marquardt solver, on small dense
// matrices. Used by the fit; not part of the model's interface.
#pragma once

#include <functional>
#include <optional>
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

// One Levenberg-Marquardt step from the normal equations: d solves
// (A + λ·diag A)·d = −g, and `cost(d)` is the misfit after it. A step that
// lowers the misfit below `current` is taken, and λ falls tenfold (to 1e-9 at
// least); each other one raises λ tenfold and is tried again, until λ reaches
// 1e4 or `stop()`. The misfit of the step taken, or nothing.
std::optional<double> dampedStep(const Matrix& a, const std::vector<double>& g, double current,
                                 double& lambda,
                                 const std::function<double(const std::vector<double>&)>& cost,
                                 const std::function<bool()>& stop);

} // namespace yawmark::model::detail
