// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/LowPolynomialFit.h"

#include <algorithm>
#include <cmath>

namespace sabrix {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Inverts the symmetric positive definite n x n top-left block of m by Gauss-Jordan with
// partial pivoting. False when it is singular to working precision.
bool Invert(Matrix m, int n, Matrix& inverse) {
    inverse = {};
    for (int i = 0; i < n; ++i) inverse[i][i] = 1;
    double largest = 0;
    for (int i = 0; i < n; ++i) largest = std::max(largest, std::fabs(m[i][i]));
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
        if (!(std::fabs(m[pivot][col]) > 1e-13 * largest)) return false;
        std::swap(m[col], m[pivot]);
        std::swap(inverse[col], inverse[pivot]);
        const double d = m[col][col];
        for (int k = 0; k < n; ++k) {
            m[col][k] /= d;
            inverse[col][k] /= d;
        }
        for (int r = 0; r < n; ++r) {
            if (r == col) continue;
            const double f = m[r][col];
            for (int k = 0; k < n; ++k) {
                m[r][k] -= f * m[col][k];
                inverse[r][k] -= f * inverse[col][k];
            }
        }
    }
    return true;
}

}  // namespace

std::optional<LowPolynomialFit> FitLowPolynomial(std::span<const double> x,
                                                 std::span<const double> y,
                                                 std::span<const double> w, int degree) {
    const int n = degree + 1;
    if (degree < 1 || degree > 2 || x.size() != y.size() || (!w.empty() && w.size() != x.size()) ||
        static_cast<int>(x.size()) < n)
        return std::nullopt;
    // Fitted in u = (x - middle) / half, -1 to 1, then carried back to x.
    const auto [lowest, highest] = std::minmax_element(x.begin(), x.end());
    const double middle = (*lowest + *highest) / 2;
    const double half = (*highest - *lowest) / 2;
    if (!(half > 0) || !std::isfinite(half)) return std::nullopt;
    Matrix normal{};
    std::array<double, 3> rhs{};
    for (size_t i = 0; i < x.size(); ++i) {
        const double weight = w.empty() ? 1 : w[i];
        if (!(weight > 0) || !std::isfinite(weight)) return std::nullopt;
        const double u = (x[i] - middle) / half;
        const double powers[3] = {1, u, u * u};
        for (int r = 0; r < n; ++r) {
            rhs[r] += weight * powers[r] * y[i];
            for (int k = 0; k < n; ++k) normal[r][k] += weight * powers[r] * powers[k];
        }
    }
    Matrix inverse;
    if (!Invert(normal, n, inverse)) return std::nullopt;
    std::array<double, 3> d{};
    for (int r = 0; r < n; ++r)
        for (int k = 0; k < n; ++k) d[r] += inverse[r][k] * rhs[k];
    // c = J d: the coefficients of x from those of u.
    const double m = middle, s = half;
    Matrix j{};
    j[0] = {1, -m / s, m * m / (s * s)};
    j[1] = {0, 1 / s, -2 * m / (s * s)};
    j[2] = {0, 0, 1 / (s * s)};
    LowPolynomialFit fit;
    for (int r = 0; r < n; ++r)
        for (int k = 0; k < n; ++k) fit.c[r] += j[r][k] * d[k];
    for (int r = 0; r < n; ++r)
        for (int q = 0; q < n; ++q) {
            double sum = 0;
            for (int k = 0; k < n; ++k)
                for (int l = 0; l < n; ++l) sum += j[r][k] * inverse[k][l] * j[q][l];
            fit.inverse[r][q] = sum;
        }
    for (size_t i = 0; i < x.size(); ++i) {
        const double weight = w.empty() ? 1 : w[i];
        const double r = y[i] - fit.at(x[i]);
        fit.residual += weight * r * r;
    }
    fit.dof = static_cast<int>(x.size()) - n;
    return fit;
}

}  // namespace sabrix
