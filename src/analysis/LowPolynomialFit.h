// SPDX-License-Identifier: GPL-3.0-or-later
// A weighted least-squares polynomial of low degree (a line or a parabola) with the covariance
// of its coefficients: what the time of an extremum and the O-C diagram fit.
#pragma once

#include <array>
#include <optional>
#include <span>

namespace sabrix {

struct LowPolynomialFit {
    // y ~ c[0] + c[1] x + c[2] x^2 (c[2] is 0 for a line).
    std::array<double, 3> c{};
    // The inverse of the normal matrix, in the units of c: the covariance of c when the
    // weights are 1 / sigma^2 of the y's. Multiply by residual() / dof() to take the scatter of
    // the points instead.
    std::array<std::array<double, 3>, 3> inverse{};
    // Sum of w (y - fit)^2.
    double residual = 0;
    // Points less coefficients.
    int dof = 0;
    double at(double x) const { return c[0] + x * (c[1] + x * c[2]); }
    // The covariance of c scaled by the scatter about the fit (residual / dof); zeros when
    // dof is 0.
    double Covariance(int i, int j) const { return dof > 0 ? inverse[i][j] * residual / dof : 0; }
};

// Fits a polynomial of degree 1 or 2 to the points (x, y) with weights w (empty: all 1). The
// x's are centred and scaled to -1..1 inside, so cycle numbers of 10^4 lose no digits. Returns
// nothing when the points cannot fix the coefficients (fewer points than coefficients, all at one
// x, a weight that is not > 0).
std::optional<LowPolynomialFit> FitLowPolynomial(std::span<const double> x,
                                                 std::span<const double> y,
                                                 std::span<const double> w, int degree);

}  // namespace sabrix
