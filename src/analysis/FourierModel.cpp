// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/FourierModel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>

#include "analysis/UnitCircle.h"
#include "analysis/WorkerThreads.h"

namespace sabrix {

namespace {

// Frequencies between fresh cosines, as the one-harmonic direct path (DirectPeriodogram.cpp).
constexpr int64_t kReseedInterval = 256;
// Measured on a 2-core x86-64 (AVX2), one core: about 0.5 ns per observation, frequency and
// harmonic sum (2H of them), 2 ns for a fresh cosine and sine.
constexpr double kNsPerHarmonicTerm = 0.5;
constexpr double kNsPerSeed = 2;
// A pivot below this share of its diagonal, or below kVarianceFloor (the functions are at most
// 1 in size, the weights sum to 1: a variance of 10^-12 is a spread of 10^-6 of a cycle's
// swing, the size of the rounding of the sums), is rounding: its function is dropped.
constexpr double kPivotFloor = 1e-10;
constexpr double kVarianceFloor = 1e-12;

// The sums of one harmonic m over the current cosines and sines (one pass, vectorised across
// the observations), then the cosines and sines turned on to harmonic m + 1.
struct PassSums {
    double c = 0, s = 0, yc = 0, ys = 0;
};
// Not under ThreadSanitizer: g++ instruments the clones' resolver, which runs before the
// sanitizer is set up, and the program stops at its start.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("default", "arch=x86-64-v3")))
#endif
PassSums
SumAndAdvance(int64_t n, bool withY, const double* w, const double* wy, const double* baseCos,
              const double* baseSin, double* c, double* s) {
    double sc = 0, ss = 0, syc = 0, sys = 0;
    if (withY) {
#pragma omp simd reduction(+ : sc, ss, syc, sys)
        for (int64_t i = 0; i < n; ++i) {
            const double ci = c[i], si = s[i];
            sc += w[i] * ci;
            ss += w[i] * si;
            syc += wy[i] * ci;
            sys += wy[i] * si;
            c[i] = ci * baseCos[i] - si * baseSin[i];
            s[i] = si * baseCos[i] + ci * baseSin[i];
        }
    } else {
#pragma omp simd reduction(+ : sc, ss)
        for (int64_t i = 0; i < n; ++i) {
            const double ci = c[i], si = s[i];
            sc += w[i] * ci;
            ss += w[i] * si;
            c[i] = ci * baseCos[i] - si * baseSin[i];
            s[i] = si * baseCos[i] + ci * baseSin[i];
        }
    }
    return {sc, ss, syc, sys};
}

// Every sum of H harmonics from the cosines and sines of the first harmonic (base), using c
// and s as room for the higher ones.
HarmonicSums SumsFromBase(int64_t n, int harmonics, const double* w, const double* wy,
                          const double* baseCos, const double* baseSin, double* c, double* s) {
    HarmonicSums sums;
    sums.harmonics = harmonics;
    sums.c[0] = 1;
    std::copy(baseCos, baseCos + n, c);
    std::copy(baseSin, baseSin + n, s);
    for (int m = 1; m <= 2 * harmonics; ++m) {
        const PassSums p = SumAndAdvance(n, m <= harmonics, w, wy, baseCos, baseSin, c, s);
        sums.c[static_cast<size_t>(m)] = p.c;
        sums.s[static_cast<size_t>(m)] = p.s;
        if (m <= harmonics) {
            sums.yc[static_cast<size_t>(m)] = p.yc;
            sums.ys[static_cast<size_t>(m)] = p.ys;
        }
    }
    return sums;
}

void Turn(int64_t n, const double* turnCos, const double* turnSin, double* c, double* s) {
    for (int64_t i = 0; i < n; ++i) {
        const double ci = c[i], si = s[i];
        c[i] = ci * turnCos[i] - si * turnSin[i];
        s[i] = si * turnCos[i] + ci * turnSin[i];
    }
}

void Seed(double frequency, const std::vector<double>& tau, std::vector<double>& c,
          std::vector<double>& s) {
    for (size_t i = 0; i < tau.size(); ++i) {
        const CosSin z = CosSinOfCycles(frequency * tau[i]);
        c[i] = z.c;
        s[i] = z.s;
    }
}

std::vector<double> WeightedResiduals(const PeriodData& data) {
    std::vector<double> wy(static_cast<size_t>(data.size()));
    for (size_t i = 0; i < wy.size(); ++i) wy[i] = data.weights()[i] * data.residuals()[i];
    return wy;
}

}  // namespace

HarmonicSums ExactHarmonicSums(const PeriodData& data, double frequency, int harmonics) {
    harmonics = std::clamp(harmonics, 1, kMaxHarmonics);
    const int64_t n = data.size();
    std::vector<double> baseCos(static_cast<size_t>(n)), baseSin(static_cast<size_t>(n));
    Seed(frequency, data.times(), baseCos, baseSin);
    std::vector<double> c(static_cast<size_t>(n)), s(static_cast<size_t>(n));
    const std::vector<double> wy = WeightedResiduals(data);
    return SumsFromBase(n, harmonics, data.weights().data(), wy.data(), baseCos.data(),
                        baseSin.data(), c.data(), s.data());
}

HarmonicSolution SolveHarmonics(const HarmonicSums& sums, double variance) {
    const int h = std::clamp(sums.harmonics, 1, kMaxHarmonics);
    const int n = 2 * h;
    // Function j: harmonic j / 2 + 1, cosine for even j, sine for odd.
    const auto C = [&](int m) { return sums.c[static_cast<size_t>(std::abs(m))]; };
    const auto S = [&](int m) {
        return m >= 0 ? sums.s[static_cast<size_t>(m)] : -sums.s[static_cast<size_t>(-m)];
    };
    const auto mean = [&](int j) { return j % 2 == 0 ? C(j / 2 + 1) : S(j / 2 + 1); };
    std::array<std::array<double, 2 * kMaxHarmonics>, 2 * kMaxHarmonics> m{};
    std::array<double, 2 * kMaxHarmonics> y{};
    for (int j = 0; j < n; ++j) {
        const int k = j / 2 + 1;
        y[static_cast<size_t>(j)] =
            j % 2 == 0 ? sums.yc[static_cast<size_t>(k)] : sums.ys[static_cast<size_t>(k)];
        for (int l = 0; l <= j; ++l) {
            const int q = l / 2 + 1;
            double product;
            if (j % 2 == 0 && l % 2 == 0)
                product = (C(k - q) + C(k + q)) / 2;
            else if (j % 2 == 1 && l % 2 == 1)
                product = (C(k - q) - C(k + q)) / 2;
            else if (j % 2 == 1)  // sin k, cos q
                product = (S(k + q) + S(k - q)) / 2;
            else  // cos k, sin q
                product = (S(k + q) + S(q - k)) / 2;
            m[static_cast<size_t>(j)][static_cast<size_t>(l)] = product - mean(j) * mean(l);
        }
    }
    // Cholesky, L L^T = M, in place in the lower triangle; a lost pivot drops its function.
    std::array<bool, 2 * kMaxHarmonics> dropped{};
    for (size_t j = 0; j < static_cast<size_t>(n); ++j) {
        const double diagonal = m[j][j];
        double d = diagonal;
        for (size_t p = 0; p < j; ++p) d -= m[j][p] * m[j][p];
        if (!(d > std::max(kPivotFloor * diagonal, kVarianceFloor))) {
            dropped[j] = true;
            for (size_t r = j; r < static_cast<size_t>(n); ++r) m[r][j] = 0;
            continue;
        }
        const double root = std::sqrt(d);
        m[j][j] = root;
        for (size_t r = j + 1; r < static_cast<size_t>(n); ++r) {
            double v = m[r][j];
            for (size_t p = 0; p < j; ++p) v -= m[r][p] * m[j][p];
            m[r][j] = v / root;
        }
    }
    std::array<double, 2 * kMaxHarmonics> z{}, beta{};
    for (size_t j = 0; j < static_cast<size_t>(n); ++j) {
        if (dropped[j]) continue;
        double v = y[j];
        for (size_t p = 0; p < j; ++p) v -= m[j][p] * z[p];
        z[j] = v / m[j][j];
    }
    for (size_t j = static_cast<size_t>(n); j-- > 0;) {
        if (dropped[j]) continue;
        double v = z[j];
        for (size_t r = j + 1; r < static_cast<size_t>(n); ++r) v -= m[r][j] * beta[r];
        beta[j] = v / m[j][j];
    }
    HarmonicSolution solution;
    double explained = 0;
    for (size_t j = 0; j < static_cast<size_t>(n); ++j) explained += z[j] * z[j];
    solution.power = variance > 0 ? std::clamp(explained / variance, 0.0, 1.0) : 0;
    for (int k = 1; k <= h; ++k) {
        solution.a[static_cast<size_t>(k)] = beta[static_cast<size_t>(2 * k - 2)];
        solution.b[static_cast<size_t>(k)] = beta[static_cast<size_t>(2 * k - 1)];
    }
    return solution;
}

double FourierModel::At(double t) const {
    double cycles = frequency * (t - referenceTime);
    cycles -= std::nearbyint(cycles);
    double value = constant;
    for (size_t k = 0; k < a.size(); ++k) {
        const double angle = 2 * std::numbers::pi * cycles * static_cast<double>(k + 1);
        value += a[k] * std::cos(angle) + b[k] * std::sin(angle);
    }
    return value;
}

double FourierModel::firstAmplitude() const {
    return a.empty() ? 0 : std::hypot(a[0], b[0]);
}

FourierModel FitFourierModel(const PeriodData& data, double frequency, int harmonics) {
    harmonics = std::clamp(harmonics, 1, kMaxHarmonics);
    const HarmonicSums sums = ExactHarmonicSums(data, frequency, harmonics);
    const HarmonicSolution solution = SolveHarmonics(sums, data.variance());
    FourierModel model;
    model.frequency = frequency;
    model.referenceTime = data.referenceTime();
    model.constant = data.meanMag();
    for (int k = 1; k <= harmonics; ++k) {
        const auto i = static_cast<size_t>(k);
        model.a.push_back(solution.a[i]);
        model.b.push_back(solution.b[i]);
        // The fit is about the centred functions: their means go into the constant.
        model.constant -= solution.a[i] * sums.c[i] + solution.b[i] * sums.s[i];
    }
    model.power = solution.power;
    model.rms = std::sqrt(std::max(0.0, data.variance() * (1 - solution.power)));
    return model;
}

std::vector<double> SubtractModel(std::span<const double> times, std::span<const double> mags,
                                  const FourierModel& model) {
    std::vector<double> residuals(std::min(times.size(), mags.size()));
    for (size_t i = 0; i < residuals.size(); ++i) residuals[i] = mags[i] - model.At(times[i]);
    return residuals;
}

ModelShape ShapeOfModel(const FourierModel& model, double near) {
    // The curve on a grid of phases, then the brightest point refined by a parabola.
    constexpr int kSamples = 2000;
    const double period = model.period();
    const auto atPhase = [&](double phase) {
        return model.At(model.referenceTime + phase * period);
    };
    ModelShape shape;
    int brightestAt = 0;
    shape.brightest = shape.faintest = atPhase(0);
    for (int i = 1; i < kSamples; ++i) {
        const double v = atPhase(static_cast<double>(i) / kSamples);
        if (v < shape.brightest) {
            shape.brightest = v;
            brightestAt = i;
        }
        shape.faintest = std::max(shape.faintest, v);
    }
    const double h = 1.0 / kSamples;
    const double x0 = brightestAt * h;
    const double ym = atPhase(x0 - h), y0 = atPhase(x0), yp = atPhase(x0 + h);
    const double curvature = ym - 2 * y0 + yp;
    double phase = x0;
    if (curvature > 0) phase += h * std::clamp((ym - yp) / (2 * curvature), -1.0, 1.0);
    shape.brightest = std::min(shape.brightest, atPhase(phase));
    shape.peakToPeak = shape.faintest - shape.brightest;
    const double first = model.referenceTime + phase * period;
    shape.epochOfMaximum = first + std::nearbyint((near - first) / period) * period;
    return shape;
}

int64_t HarmonicPeriodogramCost(int64_t observations, int64_t frequencies, int harmonics) {
    const double n = static_cast<double>(observations);
    const double m = static_cast<double>(frequencies);
    const double seeds = std::ceil(m / kReseedInterval) + 1;
    return static_cast<int64_t>(n * m * kNsPerHarmonicTerm * (2 * harmonics + 1) +
                                n * seeds * kNsPerSeed);
}

bool HarmonicPeriodogram(const PeriodData& data, const FrequencyGrid& grid, int harmonics,
                         std::span<double> power, std::span<double> window, int workers,
                         JobControl& control) {
    harmonics = std::clamp(harmonics, 1, kMaxHarmonics);
    const std::vector<double>& tau = data.times();
    const int64_t n = data.size();
    const std::vector<double> wy = WeightedResiduals(data);
    std::vector<double> turnCos(static_cast<size_t>(n)), turnSin(static_cast<size_t>(n));
    Seed(grid.step, tau, turnCos, turnSin);
    const int64_t chunks = (grid.count + kReseedInterval - 1) / kReseedInterval;
    std::atomic<int64_t> nextChunk{0};
    const auto seedCost = static_cast<int64_t>(static_cast<double>(n) * kNsPerSeed);
    const int64_t stepCost = std::max<int64_t>(
        1, static_cast<int64_t>(static_cast<double>(n) * kNsPerHarmonicTerm * (2 * harmonics + 1)));
    RunOnWorkers(
        std::clamp<int>(workers, 1, static_cast<int>(std::min<int64_t>(chunks, 64))), [&](int) {
            std::vector<double> baseCos(static_cast<size_t>(n)), baseSin(static_cast<size_t>(n));
            std::vector<double> c(static_cast<size_t>(n)), s(static_cast<size_t>(n));
            for (int64_t chunk = nextChunk++; chunk < chunks; chunk = nextChunk++) {
                const int64_t first = chunk * kReseedInterval;
                const int64_t end = std::min(grid.count, first + kReseedInterval);
                Seed(grid.at(first), tau, baseCos, baseSin);
                control.Advance(seedCost);
                for (int64_t k = first; k < end; ++k) {
                    if (control.cancelled()) return;
                    const HarmonicSums sums =
                        SumsFromBase(n, harmonics, data.weights().data(), wy.data(), baseCos.data(),
                                     baseSin.data(), c.data(), s.data());
                    power[static_cast<size_t>(k)] = SolveHarmonics(sums, data.variance()).power;
                    if (!window.empty())
                        window[static_cast<size_t>(k)] =
                            std::min(1.0, sums.c[1] * sums.c[1] + sums.s[1] * sums.s[1]);
                    Turn(n, turnCos.data(), turnSin.data(), baseCos.data(), baseSin.data());
                    control.Advance(stepCost);
                }
            }
        });
    return !control.cancelled();
}

}  // namespace sabrix
