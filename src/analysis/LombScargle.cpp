#include "analysis/LombScargle.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

TrigSums ExactTrigSums(const PeriodData& data, double frequency) {
    const auto& t = data.times();
    const auto& w = data.weights();
    const auto& y = data.residuals();
    TrigSums sums;
    for (size_t i = 0; i < t.size(); ++i) {
        // Whole cycles off before the sine: the phase then keeps every digit the product has.
        double cycles = frequency * t[i];
        cycles -= std::nearbyint(cycles);
        const double angle = 2 * std::numbers::pi * cycles;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        const double wc = w[i] * c;
        const double ws = w[i] * s;
        sums.c += wc;
        sums.s += ws;
        sums.c2 += wc * c - ws * s;
        sums.s2 += 2 * wc * s;
        sums.yc += wc * y[i];
        sums.ys += ws * y[i];
    }
    return sums;
}

LombScargleTerms ExactLombScargle(const PeriodData& data, double frequency) {
    return SolveLombScargle(ExactTrigSums(data, frequency), data.variance());
}

}  // namespace sabrix
