// SPDX-License-Identifier: GPL-3.0-or-later
// cos and sin of 2 pi x for x in cycles, for the inner loops of the period search: branch-free
// arithmetic that the compiler vectorises, where the library's sine and cosine are calls of
// about 15 ns each. Relative error about 1e-15, the same at every x (the whole cycles are
// taken off exactly first), which is all the periodogram needs.
//
// How: after the whole cycles are off, |x| <= 1/2, so theta = 2 pi x / 8 is within pi/8; the
// Taylor series to the 13th and 14th powers give cos and sin of theta to 1e-17, and three
// squarings of cos + i sin give those of 8 theta.
#pragma once

namespace sabrix {

struct CosSin {
    double c;
    double s;
};

// x less the nearest whole number, exactly, for |x| < 2^51 (the sum rounds to a whole number
// in the current rounding mode, to nearest).
inline double FractionOfCycle(double x) {
    constexpr double kRound = 6755399441055744.0;  // 1.5 * 2^52
    return x - ((x + kRound) - kRound);
}

inline CosSin CosSinOfCycles(double x) {
    constexpr double kPiOver4 = 0.78539816339744830962;
    const double theta = FractionOfCycle(x) * kPiOver4;
    const double t2 = theta * theta;
    double s =
        theta *
        (1 + t2 * (-1.0 / 6 + t2 * (1.0 / 120 +
                                    t2 * (-1.0 / 5040 + t2 * (1.0 / 362880 +
                                                              t2 * (-1.0 / 39916800 +
                                                                    t2 * (1.0 / 6227020800.0)))))));
    double c =
        1 + t2 * (-1.0 / 2 +
                  t2 * (1.0 / 24 +
                        t2 * (-1.0 / 720 +
                              t2 * (1.0 / 40320 +
                                    t2 * (-1.0 / 3628800 + t2 * (1.0 / 479001600.0 +
                                                                 t2 * (-1.0 / 87178291200.0)))))));
    for (int i = 0; i < 3; ++i) {
        const double c2 = c * c - s * s;
        s = 2 * c * s;
        c = c2;
    }
    return {c, s};
}

}  // namespace sabrix
