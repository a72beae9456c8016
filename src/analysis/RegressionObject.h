// SPDX-License-Identifier: GPL-3.0-or-later
// A polynomial y = c0 + c1*x + ... + cd*x^d fitted by least squares to a stream of points.
//
// Points are added one at a time and the object keeps only running sums, so its memory does not
// grow with the number of points; the coefficients are solved on the first request after a
// change. The sums are taken in the Chebyshev basis over an x range that the caller names
// before adding points (SetXRange; [-1, 1] unless set): x is mapped onto t in [-1, 1], and the
// object keeps S_k = sum of T_k(t) for k = 0..2*Degree and B_k = sum of y*T_k(t) for
// k = 0..Degree. The normal equations of the Chebyshev basis follow from them exactly, since
// T_i*T_j = (T_(i+j) + T_|i-j|) / 2. Every T_k(t) lies in [-1, 1] for points inside the range,
// so no power of a large x is ever formed: a fit of degree 40 over 40,000 days is as well
// conditioned as the data allow.
//
// Example: the points (0, 1), (1, 3), (2, 7) with Degree 2 give Coeff(0) = Coeff(1) =
// Coeff(2) = 1 and RegVal(3) = 13, whatever the range.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/SabrixError.h"

namespace sabrix {

// The error of a degree outside 0 to 40: number 6000, source "RegressionObject".
class RegressionDegreeError : public SabrixError {
  public:
    explicit RegressionDegreeError(int32_t newVal);
    static constexpr int kNumber = 6000;
    static constexpr const char* kSource = "RegressionObject";
};

class RegressionObject {
  public:
    static constexpr int32_t kMaxDegree = 40;

    // Init, then Degree 2.
    RegressionObject();

    // Forgets every point and the solution; Degree and the x range stay.
    void Init();
    // The coefficient of x^|exponent| of the fitted polynomial (in powers of x itself, not of
    // the mapped t); 0 for an exponent above the effective degree and when there is no point.
    // Solves first when needed.
    double Coeff(int32_t exponent);
    int32_t Degree() const { return degree_; }
    // Throws RegressionDegreeError for a value outside 0 to 40 and changes nothing; otherwise
    // runs Init (the points added so far are discarded) and stores the degree.
    void SetDegree(int32_t newVal);
    // The x range [lo, hi] that the points are expected in. Discards the points (Init). An
    // empty or reversed range (lo >= hi, or not finite) is taken as [lo - 1, lo + 1].
    void SetXRange(double lo, double hi);
    // The number of points added.
    int32_t XYCount() const;
    // Adds one point. Returns false, and adds nothing, when a sum would overflow (y or the
    // mapped x so large that a sum is no longer finite): the caller should stop then.
    bool XYAdd(double x, double y);
    // The fitted polynomial at x; 0 when there is no point. Solves first when needed.
    double RegVal(double x);

    // The degree that is solved and evaluated: Degree, or XYCount - 1 when there are not more
    // points than that (-1 with no point). After a failed solution at that degree (the points
    // cannot tell the coefficients apart, e.g. all at one x), the highest lower degree that
    // could be solved.
    int32_t EffectiveDegree();
    bool Solved() const { return solved_; }

  private:
    void Regress();
    // Solves the normal equations of degree d; false when they are singular.
    bool SolveChebyshev(int32_t d);
    double MapX(double x) const { return (x - mid_) * invHalf_; }

    int32_t degree_ = 2;
    bool solved_ = false;
    double mid_ = 0;
    double invHalf_ = 1;
    double count_ = 0;
    // S_k and B_k of the header, index 0..80 and 0..40.
    std::array<double, 2 * kMaxDegree + 1> chebSum_{};
    std::array<double, kMaxDegree + 1> yChebSum_{};
    // Solution in the Chebyshev basis and in powers of x, for the degree solvedDegree_.
    std::array<double, kMaxDegree + 1> chebCoefficients_{};
    std::array<double, kMaxDegree + 1> Coefficients{};
    int32_t solvedDegree_ = -1;
};

}  // namespace sabrix
