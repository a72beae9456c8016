// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/TimeOfMinimum.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "analysis/LowPolynomialFit.h"

namespace sabrix {

namespace {

constexpr int kMinObservations = 5;
constexpr int kMinBranch = 3;
constexpr int kMinPairs = 3;

TimeOfExtremumOutcome Refuse(QString why) {
    TimeOfExtremumOutcome outcome;
    outcome.refusal = std::move(why);
    return outcome;
}

QString NoExtremumText(Extremum kind) {
    return kind == Extremum::Minimum
               ? QStringLiteral(
                     "The observations in the box show no minimum: draw the box "
                     "around one eclipse, both branches inside.")
               : QStringLiteral(
                     "The observations in the box show no maximum: draw the box "
                     "around one maximum, both branches inside.");
}

// Kwee-van Woerden on y (the magnitude, negated for a maximum, so the extremum is the largest
// y). Nothing when the branches are too sparse or S does not curve upwards.
std::optional<TimeOfExtremum> KweeVanWoerden(const std::vector<double>& t,
                                             const std::vector<double>& y) {
    const int n = static_cast<int>(t.size());
    const double dt = (t.back() - t.front()) / (n - 1);
    std::vector<double> grid(static_cast<size_t>(n));
    size_t j = 0;
    for (int k = 0; k < n; ++k) {
        const double at = k == n - 1 ? t.back() : t.front() + dt * k;
        while (j + 2 < t.size() && t[j + 1] < at) ++j;
        const double f = (at - t[j]) / (t[j + 1] - t[j]);
        grid[static_cast<size_t>(k)] = y[j] + std::clamp(f, 0.0, 1.0) * (y[j + 1] - y[j]);
    }
    // Pairs reach a quarter of the box either side, so the trial centres can range over its
    // middle half.
    const int pairs = std::max(kMinPairs, n / 4);
    if (n < 2 * pairs + 3) return std::nullopt;
    const auto s = [&](int centre) {
        double sum = 0;
        for (int p = 1; p <= pairs; ++p) {
            const double d =
                grid[static_cast<size_t>(centre - p)] - grid[static_cast<size_t>(centre + p)];
            sum += d * d;
        }
        return sum / pairs;
    };
    // T1: the faintest interpolated point, then downhill in S to its grid minimum (on a flat,
    // noisy bottom the faintest point is often several steps from the axis of symmetry).
    int k1 = static_cast<int>(std::max_element(grid.begin(), grid.end()) - grid.begin());
    // Faintest at an end of the box: a branch, not an extremum.
    if (k1 == 0 || k1 == n - 1) return std::nullopt;
    k1 = std::clamp(k1, pairs + 1, n - 2 - pairs);
    while (k1 - 1 > pairs && s(k1 - 1) < s(k1)) --k1;
    while (k1 + 1 < n - 2 - pairs && s(k1 + 1) < s(k1)) ++k1;
    const double t1 = t.front() + dt * k1;
    const auto before = std::count_if(t.begin(), t.end(), [&](double v) { return v < t1; });
    const auto after = std::count_if(t.begin(), t.end(), [&](double v) { return v > t1; });
    if (before < kMinBranch || after < kMinBranch) return std::nullopt;
    const double sMinus = s(k1 - 1), s0 = s(k1), sPlus = s(k1 + 1);
    // A minimum of S at the end of the trial range is no minimum of the light curve's symmetry.
    if (!(s0 <= sMinus && s0 <= sPlus)) return std::nullopt;
    // The parabola in u = T - T1: A u^2 + B u + C.
    const double a = (sPlus + sMinus - 2 * s0) / (2 * dt * dt);
    const double b = (sPlus - sMinus) / (2 * dt);
    const double c = s0;
    if (!(a > 0)) return std::nullopt;
    const double u0 = -b / (2 * a);
    const double spread = 4 * a * c - b * b;
    const double z = (2.0 * pairs + 1) / 4;
    if (std::fabs(u0) > dt || !(spread > 0) || !(z > 1)) return std::nullopt;
    TimeOfExtremum result;
    result.time = t1 + u0;
    result.error = std::sqrt(spread / (4 * a * a * (z - 1)));
    result.count = n;
    result.method = ExtremumMethod::KweeVanWoerden;
    return result;
}

std::optional<TimeOfExtremum> Parabola(const std::vector<double>& t, const std::vector<double>& y,
                                       int count) {
    const double centre = (t.front() + t.back()) / 2;
    std::vector<double> x(t.size());
    for (size_t i = 0; i < t.size(); ++i) x[i] = t[i] - centre;
    const std::optional<LowPolynomialFit> fit = FitLowPolynomial(x, y, {}, 2);
    // The largest y: a parabola that opens downwards.
    if (!fit || !(fit->c[2] < 0)) return std::nullopt;
    const double u0 = -fit->c[1] / (2 * fit->c[2]);
    if (!(u0 >= x.front() && u0 <= x.back())) return std::nullopt;
    // d u0 / d c1 and d u0 / d c2.
    const double g1 = -1 / (2 * fit->c[2]);
    const double g2 = fit->c[1] / (2 * fit->c[2] * fit->c[2]);
    const double variance = g1 * g1 * fit->Covariance(1, 1) + 2 * g1 * g2 * fit->Covariance(1, 2) +
                            g2 * g2 * fit->Covariance(2, 2);
    TimeOfExtremum result;
    result.time = centre + u0;
    result.error = std::sqrt(std::max(0.0, variance));
    result.count = count;
    result.method = ExtremumMethod::Parabola;
    return result;
}

}  // namespace

TimeOfExtremumOutcome FindTimeOfExtremum(std::span<const double> times,
                                         std::span<const double> mags, Extremum kind) {
    const size_t n = std::min(times.size(), mags.size());
    for (size_t i = 0; i < n; ++i)
        if (!std::isfinite(times[i]) || !std::isfinite(mags[i]))
            return Refuse(QStringLiteral("A time or magnitude in the box is not a number."));
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return times[a] < times[b]; });
    // Observations at one time become their mean, so the interpolation never divides by 0.
    std::vector<double> t, y;
    std::vector<int> same;
    const double sign = kind == Extremum::Minimum ? 1 : -1;
    for (const size_t i : order) {
        if (!t.empty() && times[i] == t.back()) {
            y.back() += (sign * mags[i] - y.back()) / ++same.back();
        } else {
            t.push_back(times[i]);
            y.push_back(sign * mags[i]);
            same.push_back(1);
        }
    }
    if (static_cast<int>(t.size()) < kMinObservations)
        return Refuse(QStringLiteral("Draw the box around at least %1 observations at different "
                                     "times; it holds %2.")
                          .arg(kMinObservations)
                          .arg(t.size()));
    std::optional<TimeOfExtremum> found = KweeVanWoerden(t, y);
    if (found)
        found->count = static_cast<int>(n);
    else
        found = Parabola(t, y, static_cast<int>(n));
    if (!found) return Refuse(NoExtremumText(kind));
    found->kind = kind;
    TimeOfExtremumOutcome outcome;
    outcome.value = found;
    return outcome;
}

const char* ExtremumMethodName(ExtremumMethod method) {
    return method == ExtremumMethod::KweeVanWoerden ? "KvW" : "parabola";
}

std::optional<ExtremumMethod> ExtremumMethodFromName(std::string_view name) {
    if (name == "KvW") return ExtremumMethod::KweeVanWoerden;
    if (name == "parabola") return ExtremumMethod::Parabola;
    return std::nullopt;
}

}  // namespace sabrix
