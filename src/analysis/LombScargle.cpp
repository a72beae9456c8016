// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/LombScargle.h"

#include <algorithm>
#include <cmath>

#include "analysis/UnitCircle.h"

namespace sabrix {

namespace {
// D below this share of (CC + SS)^2 is rounding: cos and sin are one function there.
constexpr double kSingular = 1e-12;
// CC + SS below this: every observation at one phase, nothing to fit.
constexpr double kNoSpread = 1e-15;
}  // namespace

LombScargleTerms SolveLombScargle(const TrigSums& sums, double variance) {
    LombScargleTerms terms;
    terms.window = sums.c * sums.c + sums.s * sums.s;
    const double cc = (1 + sums.c2) / 2 - sums.c * sums.c;
    const double ss = (1 - sums.c2) / 2 - sums.s * sums.s;
    const double cs = sums.s2 / 2 - sums.c * sums.s;
    const double trace = cc + ss;
    if (!(trace > kNoSpread)) return terms;
    const double d = cc * ss - cs * cs;
    const double gap = std::sqrt(std::max(0.0, (cc - ss) * (cc - ss) / 4 + cs * cs));
    const double largest = trace / 2 + gap;
    terms.conditioning = std::max(0.0, d / largest);
    if (d > kSingular * trace * trace) {
        terms.a = (sums.yc * ss - sums.ys * cs) / d;
        terms.b = (sums.ys * cc - sums.yc * cs) / d;
        terms.power =
            (ss * sums.yc * sums.yc + cc * sums.ys * sums.ys - 2 * cs * sums.yc * sums.ys) /
            (variance * d);
    } else {
        // Fit along the one direction that varies: the eigenvector of the larger eigenvalue.
        double ux = cc >= ss ? largest - ss : cs;
        double uy = cc >= ss ? cs : largest - cc;
        const double norm = std::hypot(ux, uy);
        if (!(norm > 0)) return terms;
        ux /= norm;
        uy /= norm;
        const double projection = ux * sums.yc + uy * sums.ys;
        terms.a = ux * projection / largest;
        terms.b = uy * projection / largest;
        terms.power = projection * projection / (largest * variance);
    }
    terms.power = std::clamp(terms.power, 0.0, 1.0);
    return terms;
}

namespace {

// One pass over the observations, vectorised across them.
// Not under ThreadSanitizer: g++ instruments the clones' resolver, which runs before the
// sanitizer is set up, and the program stops at its start.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("default", "arch=x86-64-v3")))
#endif
TrigSums
SumsAt(double frequency, int64_t n, const double* t, const double* w, const double* y) {
    double sc = 0, ss = 0, sc2 = 0, ss2 = 0, syc = 0, sys = 0;
#pragma omp simd reduction(+ : sc, ss, sc2, ss2, syc, sys)
    for (int64_t i = 0; i < n; ++i) {
        const CosSin z = CosSinOfCycles(frequency * t[i]);
        const double wc = w[i] * z.c;
        const double ws = w[i] * z.s;
        sc += wc;
        ss += ws;
        sc2 += wc * z.c - ws * z.s;
        ss2 += 2 * wc * z.s;
        syc += wc * y[i];
        sys += ws * y[i];
    }
    return {sc, ss, sc2, ss2, syc, sys};
}

}  // namespace

TrigSums ExactTrigSums(const PeriodData& data, double frequency) {
    return SumsAt(frequency, data.size(), data.times().data(), data.weights().data(),
                  data.residuals().data());
}

LombScargleTerms ExactLombScargle(const PeriodData& data, double frequency) {
    return SolveLombScargle(ExactTrigSums(data, frequency), data.variance());
}

}  // namespace sabrix
