// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PeriodogramPeaks.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "analysis/FourierModel.h"
#include "analysis/LombScargle.h"
#include "analysis/WorkerThreads.h"

namespace sabrix {

namespace {

// Nanoseconds for one observation's term of the exact sums (measured on a 2-core x86-64 with
// AVX2), and the evaluations a refinement takes at most.
constexpr double kNsPerExactTerm = 1.5;
constexpr int kMaxEvaluations = 40;

struct Candidate {
    int64_t index = 0;
    double power = 0;
};

// Brent's method for the maximum of power(f) in [low, high], starting from `start`.
PeriodogramPeak Refine(const PeriodData& data, int harmonics, double low, double high, double start,
                       double tolerance, JobControl& control) {
    constexpr double kGolden = 0.3819660112501051;
    const double n = static_cast<double>(data.size());
    int evaluations = 0;
    // The power and first amplitude at the best frequency so far, so the fit there costs no
    // extra pass.
    double bestPower = -1;
    double bestAmplitude = 0;
    const auto minusPower = [&](double f) {
        ++evaluations;
        control.Advance(static_cast<int64_t>(n * kNsPerExactTerm * harmonics));
        double power = 0, amplitude = 0;
        if (harmonics == 1) {
            const LombScargleTerms terms = ExactLombScargle(data, f);
            power = terms.power;
            amplitude = std::hypot(terms.a, terms.b);
        } else {
            const HarmonicSolution fit =
                SolveHarmonics(ExactHarmonicSums(data, f, harmonics), data.variance());
            power = fit.power;
            amplitude = std::hypot(fit.a[1], fit.b[1]);
        }
        if (power >= bestPower) {
            bestPower = power;
            bestAmplitude = amplitude;
        }
        return -power;
    };
    double a = low, b = high;
    double x = start, w = start, v = start;
    double fx = minusPower(x), fw = fx, fv = fx;
    double d = 0, e = 0;
    while (evaluations < kMaxEvaluations && !control.cancelled()) {
        const double middle = (a + b) / 2;
        const double tol1 = tolerance;
        const double tol2 = 2 * tol1;
        if (std::fabs(x - middle) <= tol2 - (b - a) / 2) break;
        bool golden = true;
        if (std::fabs(e) > tol1) {
            // A parabola through x, w, v.
            double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2 * (q - r);
            if (q > 0) p = -p;
            q = std::fabs(q);
            const double previous = e;
            e = d;
            if (std::fabs(p) < std::fabs(q * previous / 2) && p > q * (a - x) && p < q * (b - x)) {
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2) d = middle >= x ? tol1 : -tol1;
                golden = false;
            }
        }
        if (golden) {
            e = x >= middle ? a - x : b - x;
            d = kGolden * e;
        }
        const double u = std::fabs(d) >= tol1 ? x + d : x + (d > 0 ? tol1 : -tol1);
        const double fu = minusPower(u);
        if (fu <= fx) {
            (u >= x ? a : b) = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            (u < x ? a : b) = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    // x is the frequency of the best value Brent's method has seen.
    PeriodogramPeak peak;
    peak.frequency = x;
    peak.period = 1 / x;
    peak.power = bestPower;
    peak.amplitude = bestAmplitude;
    return peak;
}

}  // namespace

int64_t PeakRefinementCost(int64_t observations, int count, int harmonics) {
    // About 12 evaluations a peak.
    return static_cast<int64_t>(static_cast<double>(observations) * kNsPerExactTerm * 12 * count *
                                harmonics);
}

std::optional<std::vector<PeriodogramPeak>> FindPeaks(const PeriodData& data,
                                                      const Periodogram& periodogram, int count,
                                                      int workers, JobControl& control,
                                                      int harmonics) {
    const FrequencyGrid& grid = periodogram.grid;
    const std::vector<double>& power = periodogram.power;
    std::vector<Candidate> maxima;
    for (size_t k = 1; k + 1 < power.size(); ++k) {
        // A flat top counts once, at its first point.
        if (power[k] > power[k - 1] && power[k] >= power[k + 1])
            maxima.push_back({static_cast<int64_t>(k), power[k]});
    }
    std::sort(maxima.begin(), maxima.end(), [](const Candidate& x, const Candidate& y) {
        return x.power != y.power ? x.power > y.power : x.index < y.index;
    });
    const double separation = 1 / data.span();
    std::vector<Candidate> taken;
    for (const Candidate& c : maxima) {
        if (static_cast<int>(taken.size()) >= count) break;
        const bool apart = std::all_of(taken.begin(), taken.end(), [&](const Candidate& t) {
            return std::fabs(grid.at(c.index) - grid.at(t.index)) >= separation;
        });
        if (apart) taken.push_back(c);
    }

    std::vector<PeriodogramPeak> peaks(taken.size());
    std::atomic<size_t> next{0};
    const int threads = std::clamp<int>(workers > 0 ? workers : WorkerCount(), 1,
                                        static_cast<int>(std::max<size_t>(taken.size(), 1)));
    RunOnWorkers(threads, [&](int) {
        for (size_t i = next++; i < taken.size(); i = next++) {
            if (control.cancelled()) return;
            const int64_t k = taken[i].index;
            peaks[i] = Refine(data, harmonics, grid.at(k - 1), grid.at(k + 1), grid.at(k),
                              1e-5 * grid.step, control);
        }
    });
    if (control.cancelled()) return std::nullopt;
    std::stable_sort(
        peaks.begin(), peaks.end(),
        [](const PeriodogramPeak& x, const PeriodogramPeak& y) { return x.power > y.power; });
    return peaks;
}

}  // namespace sabrix
