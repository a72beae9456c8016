// SPDX-License-Identifier: GPL-3.0-or-later
// Fourier series of several harmonics at one frequency: the model of a non-sinusoidal light
// curve and the periodogram that compares such models across frequencies.
//
// With H harmonics the model is
//   m(t) = c0 + sum_{k=1..H} [ a_k cos(2 pi k f tau) + b_k sin(2 pi k f tau) ],  tau = t - tRef,
// fitted by weighted least squares. Over the prepared data (weights w summing to 1, y the
// magnitudes less their weighted mean) every sum the normal equations need comes from
//   C_m = sum w cos(m x), S_m = sum w sin(m x)   (m = 0 .. 2H)
//   YC_k = sum w y cos(k x), YS_k = sum w y sin(k x)   (k = 1 .. H),
// as products of two harmonics are harmonics of the sum and difference. The 2H x 2H system of
// the centred functions is solved by Cholesky; a pivot lost to rounding (the sampling cannot
// tell that function from the others at this frequency) drops it from the fit. The power,
// 1 - chi2(f) / chi2_ref, is the share of the weighted variance the model explains; for H = 1
// it is the periodogram of LombScargle.h.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "analysis/FrequencyGrid.h"
#include "analysis/JobControl.h"
#include "analysis/PeriodData.h"

namespace sabrix {

inline constexpr int kMaxHarmonics = 6;

struct HarmonicSums {
    int harmonics = 1;
    std::array<double, 2 * kMaxHarmonics + 1> c{};
    std::array<double, 2 * kMaxHarmonics + 1> s{};
    std::array<double, kMaxHarmonics + 1> yc{};
    std::array<double, kMaxHarmonics + 1> ys{};
};

struct HarmonicSolution {
    double power = 0;  // 0 to 1
    // The coefficients of the centred functions (cos k x - C_k, sin k x - S_k), k = 1 .. H.
    std::array<double, kMaxHarmonics + 1> a{};
    std::array<double, kMaxHarmonics + 1> b{};
};

// The sums at one frequency (cycles/day) with H harmonics (1 to kMaxHarmonics).
HarmonicSums ExactHarmonicSums(const PeriodData& data, double frequency, int harmonics);
// The fit and its power from the sums; variance is YY (> 0).
HarmonicSolution SolveHarmonics(const HarmonicSums& sums, double variance);

// The model of H harmonics at one frequency.
struct FourierModel {
    double frequency = 0;
    double referenceTime = 0;
    double constant = 0;
    // a[k - 1], b[k - 1]: the cosine and sine coefficients of harmonic k.
    std::vector<double> a;
    std::vector<double> b;
    // The share of the weighted variance explained (0 to 1).
    double power = 0;
    // The weighted root mean square of the residuals, in magnitudes.
    double rms = 0;

    int harmonics() const { return static_cast<int>(a.size()); }
    double period() const { return 1 / frequency; }
    double At(double t) const;
    // Semi-amplitude of the first harmonic.
    double firstAmplitude() const;
};

// The weighted least-squares model of H harmonics (1 to kMaxHarmonics) at the frequency (> 0).
FourierModel FitFourierModel(const PeriodData& data, double frequency, int harmonics);

// mags[i] - model.At(times[i]) for each observation.
std::vector<double> SubtractModel(std::span<const double> times, std::span<const double> mags,
                                  const FourierModel& model);

// The model's curve over one cycle.
struct ModelShape {
    // Faintest less brightest magnitude of the curve.
    double peakToPeak = 0;
    // The time of maximum light (the smallest magnitude of the curve) nearest `near`.
    double epochOfMaximum = 0;
    double brightest = 0;
    double faintest = 0;
};
ModelShape ShapeOfModel(const FourierModel& model, double near);

// The periodogram of H harmonics (2 to kMaxHarmonics) over the grid, directly: every
// observation at every frequency. Fills power (and window, C_1^2 + S_1^2, when not empty).
// Returns false when cancelled.
bool HarmonicPeriodogram(const PeriodData& data, const FrequencyGrid& grid, int harmonics,
                         std::span<double> power, std::span<double> window, int workers,
                         JobControl& control);
// Its estimated work, in the units of PeriodogramCost.
int64_t HarmonicPeriodogramCost(int64_t observations, int64_t frequencies, int harmonics);

}  // namespace sabrix
