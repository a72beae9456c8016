// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/RegressionObject.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sabrix {

RegressionDegreeError::RegressionDegreeError(int32_t newVal)
    : SabrixError(std::to_string(newVal) + " is an invalid property value! Use 0<= Degree <= " +
                  std::to_string(RegressionObject::kMaxDegree)) {}

RegressionObject::RegressionObject() {
    Init();
    degree_ = 2;
}

void RegressionObject::Init() {
    count_ = 0;
    chebSum_.fill(0);
    yChebSum_.fill(0);
    chebCoefficients_.fill(0);
    Coefficients.fill(0);
    solvedDegree_ = -1;
    solved_ = false;
}

void RegressionObject::SetDegree(int32_t newVal) {
    if (newVal < 0 || newVal > kMaxDegree) throw RegressionDegreeError(newVal);
    Init();
    degree_ = newVal;
}

void RegressionObject::SetXRange(double lo, double hi) {
    Init();
    if (!std::isfinite(lo)) lo = 0;
    if (!(hi > lo) || !std::isfinite(hi)) {
        lo -= 1;
        hi = lo + 2;
    }
    mid_ = lo + (hi - lo) / 2;
    invHalf_ = 2 / (hi - lo);
}

int32_t RegressionObject::XYCount() const {
    return static_cast<int32_t>(std::llround(count_));
}

bool RegressionObject::XYAdd(double x, double y) {
    const int d = degree_;
    const double t = MapX(x);
    std::array<double, 2 * kMaxDegree + 1> cheb;
    std::array<double, kMaxDegree + 1> ycheb;
    // T_0 = 1, T_1 = t, T_(k+1) = 2t T_k - T_(k-1): bounded by 1 inside the range.
    double previous = 1;
    double current = t;
    cheb[0] = chebSum_[0] + 1;
    ycheb[0] = yChebSum_[0] + y;
    bool finite = std::isfinite(cheb[0]) && std::isfinite(ycheb[0]);
    for (int k = 1; k <= 2 * d; ++k) {
        if (k > 1) {
            const double next = 2 * t * current - previous;
            previous = current;
            current = next;
        }
        cheb[k] = chebSum_[k] + current;
        if (k <= d) ycheb[k] = yChebSum_[k] + y * current;
    }
    for (int k = 1; k <= 2 * d; ++k) finite = finite && std::isfinite(cheb[k]);
    for (int k = 1; k <= d; ++k) finite = finite && std::isfinite(ycheb[k]);
    if (!finite) return false;
    std::copy_n(cheb.begin(), 2 * d + 1, chebSum_.begin());
    std::copy_n(ycheb.begin(), d + 1, yChebSum_.begin());
    count_ += 1;
    solved_ = false;
    return true;
}

int32_t RegressionObject::EffectiveDegree() {
    if (!solved_) Regress();
    return solvedDegree_;
}

double RegressionObject::Coeff(int32_t exponent) {
    if (!solved_) Regress();
    const int64_t e = std::llabs(static_cast<int64_t>(exponent));
    if (e > solvedDegree_) return 0;
    return Coefficients[static_cast<size_t>(e)];
}

double RegressionObject::RegVal(double x) {
    if (!solved_) Regress();
    if (solvedDegree_ < 0) return 0;
    // Clenshaw's recurrence for the sum of c_k T_k(t).
    const double t = MapX(x);
    double b1 = 0;
    double b2 = 0;
    for (int k = solvedDegree_; k >= 1; --k) {
        const double b0 = chebCoefficients_[static_cast<size_t>(k)] + 2 * t * b1 - b2;
        b2 = b1;
        b1 = b0;
    }
    return chebCoefficients_[0] + t * b1 - b2;
}

void RegressionObject::Regress() {
    const int32_t count = XYCount();
    int32_t d = std::min(degree_, count - 1);
    solvedDegree_ = -1;
    chebCoefficients_.fill(0);
    Coefficients.fill(0);
    if (d < 0) return;
    // A system the points cannot decide is solved again one degree lower, with the matrix
    // built for that degree; degree 0 (the mean) always succeeds with a point.
    while (d > 0 && !SolveChebyshev(d)) --d;
    if (d == 0) SolveChebyshev(0);
    solvedDegree_ = d;

    // The same polynomial in powers of x: T_k as polynomials in x, with t = a x + b.
    const double a = invHalf_;
    const double b = -mid_ * invHalf_;
    std::array<double, kMaxDegree + 1> older{};
    std::array<double, kMaxDegree + 1> old{};
    std::array<double, kMaxDegree + 1> now{};
    old[0] = 1;  // T_0
    Coefficients[0] = chebCoefficients_[0];
    if (d >= 1) {
        now[0] = b;
        now[1] = a;  // T_1
        for (int i = 0; i <= 1; ++i)
            Coefficients[size_t(i)] += chebCoefficients_[1] * now[size_t(i)];
    }
    for (int k = 2; k <= d; ++k) {
        older = old;
        old = now;
        now.fill(0);
        for (int i = 0; i < k; ++i) {
            now[size_t(i)] += 2 * b * old[size_t(i)] - older[size_t(i)];
            now[size_t(i) + 1] += 2 * a * old[size_t(i)];
        }
        for (int i = 0; i <= k; ++i)
            Coefficients[size_t(i)] += chebCoefficients_[size_t(k)] * now[size_t(i)];
    }
    solved_ = true;
}

bool RegressionObject::SolveChebyshev(int32_t d) {
    const int n = d + 1;
    double m[kMaxDegree + 1][kMaxDegree + 2];
    double scale = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            m[i][j] = (chebSum_[size_t(i + j)] + chebSum_[size_t(std::abs(i - j))]) / 2;
        m[i][n] = yChebSum_[size_t(i)];
        scale = std::max(scale, std::fabs(m[i][i]));
    }
    // Pivots this far below the largest diagonal entry are rounding noise of a singular system.
    const double tiny = scale * 1e-13;
    for (int i = 0; i < n; ++i) {
        int p = i;
        double best = std::fabs(m[i][i]);
        for (int j = i + 1; j < n; ++j)
            if (std::fabs(m[j][i]) > best) {
                best = std::fabs(m[j][i]);
                p = j;
            }
        if (!(best > tiny)) return false;
        if (p > i)
            for (int k = i; k <= n; ++k) std::swap(m[i][k], m[p][k]);
        for (int j = i + 1; j < n; ++j) {
            const double f = m[j][i] / m[i][i];
            m[j][i] = 0;
            for (int k = i + 1; k <= n; ++k) m[j][k] -= f * m[i][k];
        }
    }
    std::array<double, kMaxDegree + 1> c{};
    for (int i = n - 1; i >= 0; --i) {
        double s = m[i][n];
        for (int j = i + 1; j < n; ++j) s -= m[i][j] * c[size_t(j)];
        c[size_t(i)] = s / m[i][i];
        if (!std::isfinite(c[size_t(i)])) return false;
    }
    chebCoefficients_ = c;
    return true;
}

}  // namespace sabrix
